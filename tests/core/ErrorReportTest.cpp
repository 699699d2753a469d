#include "core/ErrorReport.h"

#include "core/Error.h"

#include "data/dbf/CodePage1250.h"
#include "data/dbf/DbfError.h"
#include "data/engine/SqlError.h"
#include "services/ScriptedInteraction.h"
#include "services/ServiceError.h"

#include <gtest/gtest.h>

#include <functional>

using namespace velmor;

// Every failure of the program is shown the same way: its message in an error box.
TEST(ErrorReport, EveryErrorIsShownWithItsMessage)
{
    struct Case {
        std::function<void()> fail;
        QString message;
    };
    const Case cases[] = {
        {[] { throw dbf::DbfError(QStringLiteral("Tabelul CAP1.dbf este deteriorat.")); }, QStringLiteral("Tabelul CAP1.dbf este deteriorat.")},
        {[] { throw engine::SqlError(QStringLiteral("Parametrul :X nu are valoare.")); }, QStringLiteral("Parametrul :X nu are valoare.")},
        {[] { throw ServiceError(QStringLiteral("Nu pot scrie Velmor.ini: ăîșț")); }, QStringLiteral("Nu pot scrie Velmor.ini: ăîșț")},
        {[] { throw dbf::EncodingError(QChar(0x4E2D), QStringLiteral("x")); }, QString()},
        {[] { throw std::runtime_error("plain failure"); }, QStringLiteral("plain failure")},
    };
    for (const Case& c : cases) {
        ScriptedInteraction ui;
        try {
            c.fail();
            ADD_FAILURE() << "nothing thrown";
        } catch (const std::exception& e) {
            showError(ui, e);
            showError(ui, e, QStringLiteral("Salvare date"));
            if (!c.message.isEmpty())
                EXPECT_EQ(errorMessage(e), c.message);
            else
                EXPECT_TRUE(errorMessage(e).contains(QStringLiteral("U+4e2d"))) << errorMessage(e).toStdString();
        }
        ASSERT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(ui.messages()[0].title, QStringLiteral("Eroare"));
        EXPECT_EQ(ui.messages()[1].title, QStringLiteral("Salvare date"));
        for (const auto& m : ui.messages()) {
            EXPECT_EQ(m.kind, KindError);
            EXPECT_EQ(m.buttons, ButtonsOk);
            EXPECT_FALSE(m.text.isEmpty());
        }
    }
}

// System and Qt error texts reach the clerk in Romanian, wherever they sit in a message.
TEST(ErrorReport, SystemTextsAreShownInRomanian)
{
    const struct {
        const char* english;
        const char* romanian;
    } cases[] = {
        {"Nu pot scrie CAP2.dbf: Permission denied", "Nu pot scrie CAP2.dbf: acces interzis"},
        {"Preluarea a esuat: No space left on device\rDatele au fost readuse", "Preluarea a esuat: discul este plin\rDatele au fost readuse"},
        {"Fisierul x nu poate fi scris: No such file or directory", "Fisierul x nu poate fi scris: fisierul sau dosarul nu exista"},
        {"Read-only file system", "acces interzis"},
        {"unknown error", "eroare necunoscuta"},
        {"Nimic de tradus.", "Nimic de tradus."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withoutSystemTexts(QString::fromLatin1(c.english)), QString::fromLatin1(c.romanian)) << c.english;
        EXPECT_EQ(errorMessage(Error(QString::fromLatin1(c.english))), QString::fromLatin1(c.romanian)) << c.english;
    }
    ScriptedInteraction ui;
    showError(ui, Error(QStringLiteral("Nu pot citi Sate.lst: Permission denied")));
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("Nu pot citi Sate.lst: acces interzis"));
}
