#include "UiTestUtil.h"

#include "ui/QtRomanian.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QPushButton>

using namespace velmor;
using velmor::test::whenReady;

// Qt's own dialogs speak Romanian once the texts are installed.
TEST(RomanianQtTexts, QtDialogsAndButtonsSpeakRomanian)
{
    RomanianQtTexts texts;
    QCoreApplication::installTranslator(&texts);
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Save"), QStringLiteral("&Salveaza"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Cauta in:"));
    EXPECT_EQ(QCoreApplication::translate("QFileSystemModel", "Date Modified"), QStringLiteral("Data modificarii"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "not a known text"), QStringLiteral("not a known text"));

    QStringList buttons;
    whenReady([] { return velmor::test::activeModalOf<QInputDialog>() != nullptr; },
              [&buttons] {
                  auto* dialog = QApplication::activeModalWidget();
                  for (QPushButton* b : dialog->findChildren<QPushButton*>())
                      buttons << b->text();
                  qobject_cast<QDialog*>(dialog)->reject();
              },
              velmor::test::failAndCloseModal);
    bool ok = true;
    QInputDialog::getText(nullptr, QStringLiteral("Parola"), QStringLiteral("Parola:"), QLineEdit::Password, QString(), &ok);
    QCoreApplication::removeTranslator(&texts);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Renunta"))) << buttons.join(QLatin1Char(',')).toStdString();
}
