#include "ui/Balloon.h"
#include "ui/ColorButton.h"
#include "ui/DesktopInteraction.h"
#include "ui/TContor.h"
#include "ui/TErori.h"
#include "support/TestDirs.h"
#include "UiTestUtil.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using velmor::DesktopInteraction;
using velmor::test::activeModalOf;
using velmor::test::whenReady;

namespace {

struct Form {
    QWidget window;
    QLineEdit* suprafata = nullptr;
    QPushButton* button = nullptr;
    Form()
    {
        window.setObjectName(QStringLiteral("TTarlaF"));
        auto* layout = new QVBoxLayout(&window);
        suprafata = new QLineEdit(&window);
        suprafata->setObjectName(QStringLiteral("Suprafata"));
        button = new QPushButton(QStringLiteral("&Am ales"), &window);
        button->setObjectName(QStringLiteral("B11"));
        layout->addWidget(suprafata);
        layout->addWidget(button);
        window.move(120, 80);
    }
};

// Takes the place of the system's default program.
class OpenRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

}

TEST(DesktopInteraction, MesajGoesThroughTheMessageDialog)
{
    DesktopInteraction ui;
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("x"), 1, 0), 2);
    EXPECT_FALSE(ui.erori()->isVisible());

    velmor::TErori* d = ui.erori();
    whenReady([d] { return velmor::test::isActiveModal(d); }, [d] { QTest::mouseClick(d->BE1(), Qt::LeftButton); },
              velmor::test::failAndCloseModal);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("Confirmare"), QStringLiteral("Stergeti ?"), 3, 3), 6);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Confirmare"));
}

TEST(DesktopInteraction, UsesTheWindowsItIsGiven)
{
    velmor::TErori erori;
    velmor::TContor contor;
    DesktopInteraction ui(&erori, &contor);
    EXPECT_EQ(ui.erori(), &erori);
    EXPECT_EQ(ui.contor(), &contor);
}

TEST(DesktopInteraction, BalloonAtTheNamedControl)
{
    Form f;
    ASSERT_TRUE(velmor::test::showAndFocus(f.suprafata));
    DesktopInteraction ui;
    ui.ArataProblema(QStringLiteral("Nu ati trecut suprafata!"), QStringLiteral("B11"));
    velmor::BalloonHint* balloon = velmor::BalloonHint::shared();
    EXPECT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->title(), QStringLiteral("Problema !"));
    EXPECT_EQ(balloon->text(), QStringLiteral("Nu ati trecut suprafata!"));
    EXPECT_EQ(balloon->tip(), f.button->mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(f.suprafata->hasFocus());

    // An unknown name: the balloon points at the window itself.
    ui.ArataProblema(QStringLiteral("alt text"), QStringLiteral("NuExista"));
    EXPECT_EQ(balloon->tip(), f.window.mapToGlobal(QPoint(10, 10)));
    balloon->hide();
}

TEST(DesktopInteraction, ProgressOverTheActiveWindow)
{
    Form f;
    ASSERT_TRUE(velmor::test::showAndFocus(f.suprafata));
    DesktopInteraction ui;
    ui.Arata();
    ui.setProgressLabel(QStringLiteral("Reindexez tabelele..."));
    ui.setProgressMaximum(4);
    ui.setProgressPosition(1);
    ui.processEvents();
    EXPECT_TRUE(ui.contor()->isVisible());
    EXPECT_FALSE(f.window.isEnabled());
    EXPECT_EQ(ui.contor()->Label1()->text(), QStringLiteral("Reindexez tabelele..."));
    EXPECT_EQ(ui.contor()->Bar()->maximum(), 4);
    EXPECT_EQ(ui.contor()->Bar()->value(), 1);
    EXPECT_EQ(ui.contor()->Bar()->text(), QStringLiteral("25%"));
    ui.Distruge();
    EXPECT_FALSE(ui.contor()->isVisible());
    EXPECT_TRUE(f.window.isEnabled());
}

TEST(DesktopInteraction, AskTextAnsweredAndCancelled)
{
    DesktopInteraction ui;
    whenReady(activeModalOf<QInputDialog>, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        dialog->setTextValue(QStringLiteral("parola"));
        dialog->accept();
    }, velmor::test::failAndCloseModal);
    const auto answer = ui.askText(QStringLiteral("Parola"), QStringLiteral("Parola:"), QString(), true);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, QStringLiteral("parola"));

    whenReady(activeModalOf<QInputDialog>, [] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        EXPECT_EQ(dialog->textEchoMode(), QLineEdit::Normal);
        EXPECT_EQ(dialog->textValue(), QStringLiteral("initial"));
        dialog->reject();
    }, velmor::test::failAndCloseModal);
    EXPECT_FALSE(ui.askText(QStringLiteral("t"), QStringLiteral("l"), QStringLiteral("initial"), false).has_value());
}

TEST(DesktopInteraction, FileChoices)
{
    velmor::test::TempHome home;
    const QString path = home.dataFile(QStringLiteral("Sate.lst"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Alba\r\n");
    }
    DesktopInteraction ui;
    auto answer = [](const QString& chosen) {
        return [chosen] {
            auto* dialog = activeModalOf<QFileDialog>();
            if (!velmor::test::answerFileDialog(dialog, chosen)) {
                ADD_FAILURE() << "the file dialog has no name box";
                dialog->reject();
            }
        };
    };
    whenReady(activeModalOf<QFileDialog>, answer(path), velmor::test::failAndCloseModal);
    EXPECT_EQ(ui.chooseOpenFile(QStringLiteral("Alegeti"), home.data(), QStringLiteral("Liste (*.lst)")), path);

    // An existing file to save over is taken without the dialog's own question.
    whenReady(activeModalOf<QFileDialog>, [&path, &answer] {
        if (!activeModalOf<QFileDialog>()->testOption(QFileDialog::DontConfirmOverwrite)) {
            ADD_FAILURE() << "the save dialog would ask again before replacing the file";
            activeModalOf<QFileDialog>()->reject();
            return;
        }
        answer(path)();
    }, velmor::test::failAndCloseModal);
    EXPECT_EQ(ui.chooseSaveFile(QStringLiteral("Salvati"), home.data(), QStringLiteral("Liste (*.lst)")), path);

    whenReady(activeModalOf<QFileDialog>, [] { QApplication::activeModalWidget()->close(); },
              velmor::test::failAndCloseModal);
    EXPECT_TRUE(ui.chooseSaveFile(QStringLiteral("Salvati"), home.data(), QString()).isEmpty());

    whenReady(activeModalOf<QFileDialog>, answer(home.data()), velmor::test::failAndCloseModal);
    EXPECT_EQ(ui.chooseFolder(QStringLiteral("Director"), home.home()), home.data());
}

TEST(DesktopInteraction, OpensFilesWithTheDefaultProgram)
{
    velmor::test::TempHome home;
    const QString path = home.home() + QStringLiteral("/Adeverinta1.rtf");
    OpenRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    DesktopInteraction ui;
    EXPECT_TRUE(ui.openFile(path));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.first(), QUrl::fromLocalFile(path));
}

#include "DesktopInteractionTest.moc"
