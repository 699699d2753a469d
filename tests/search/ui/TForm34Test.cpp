// The certificate window: opened by the editor for its current household, refusals shown at
// their field, a certificate issued and the destination's profile brought back.

#include "EditorTestWorld.h"

#include "admin/Models.h"
#include "register/ui/TForm6.h"
#include "search/ui/TForm34.h"
#include "ui/TNumericF.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::EditorWorld;

namespace {

struct CertificateWindowWorld : EditorWorld {
    CertificateWindowWorld()
        : EditorWorld(QStringLiteral("2011"))
    {
        addHousehold(QStringLiteral("2011"), 901, QStringLiteral("SAT NOU"), 1, 1, 1);
        engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP1.dbf")))
                        + QStringLiteral(" (ANUL, CODID, NUMEP, CODSEX, COD) VALUES (2011, 901, 'POP ION', 1, 1)"));
        InstaleazaModele(home.home());
    }
};

}

TEST(TForm34, EditorOpensItForTheCurrentHousehold)
{
    CertificateWindowWorld w;
    w.addHousehold(QStringLiteral("2011"), 902, QStringLiteral("SAT NOU"), 1, 1, 2);
    TForm6 editor(w.ctx);
    qint64 asked = -1;
    editor.setCertificate([&](qint64 household) { asked = household; });
    editor.Pregateste();
    editor.logic().moveToRow(1);
    editor.AdeverintaClick();
    EXPECT_EQ(asked, editor.logic().currentCodid());
    EXPECT_NE(asked, -1);
    editor.Inchide();

    // A household without members gets the message, not the window.
    TForm34 form(w.ctx);
    EXPECT_FALSE(form.Pregateste(902));
    EXPECT_EQ(w.ui.messagesContaining(QStringLiteral("NU exista nici o persoana inscrisa")).size(), 1u);
}

TEST(TForm34, IssuesACertificateAndRemembersTheDestination)
{
    CertificateWindowWorld w;
    TForm34 form(w.ctx);
    ASSERT_TRUE(form.Pregateste(901));
    EXPECT_EQ(form.ComboBox1()->currentText(), QStringLiteral("POP ION"));
    EXPECT_TRUE(form.BitBtn3()->isVisibleTo(&form));
    const qint64 number = form.AdvNr()->text().toLongLong();

    // No destination: refused at its field, nothing written.
    form.Edit9()->setText(QStringLiteral("POP ANA"));
    form.BitBtn3Click();
    ASSERT_FALSE(w.ui.balloons().empty());
    EXPECT_EQ(w.ui.balloons().back().text, QStringLiteral("Nu ati scris la ce serveste Adeverinta !"));
    EXPECT_EQ(w.ui.balloons().back().anchor, QStringLiteral("ComboBox2"));
    EXPECT_TRUE(form.lastDocument().isEmpty());

    form.ComboBox2()->setEditText(QStringLiteral("SCOALA"));
    form.CheckBox(12)->setChecked(true);
    form.TaxaT()->setText(QStringLiteral("2"));
    form.Edit4()->setText(QStringLiteral("345"));
    form.Memo1()->setPlainText(QStringLiteral("ceva"));
    form.BitBtn3Click();
    ASSERT_FALSE(form.lastDocument().isEmpty());
    EXPECT_TRUE(QFile::exists(form.lastDocument()));
    EXPECT_EQ(w.ui.openedFiles(), QStringList {form.lastDocument()});
    EXPECT_EQ(form.AdvNr()->text().toLongLong(), number + 1);
    EXPECT_EQ(w.settings->CodExistent(QStringLiteral("ADEVNR")).toLongLong(), number + 1);

    form.reject(); // closing keeps the clerk's name
    // Opened again: choosing the destination brings back its chapters, duty and mentions.
    ASSERT_TRUE(form.Pregateste(901));
    EXPECT_FALSE(form.CheckBox(12)->isChecked());
    form.ComboBox2()->setCurrentIndex(form.ComboBox2()->findText(QStringLiteral("SCOALA")));
    EXPECT_TRUE(form.CheckBox(12)->isChecked());
    EXPECT_EQ(form.TaxaT()->text(), QStringLiteral("2"));
    EXPECT_EQ(form.Memo1()->toPlainText(), QStringLiteral("ceva"));
    EXPECT_EQ(form.Edit9()->text(), QStringLiteral("POP ANA"));
}
