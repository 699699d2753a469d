#include "AdminTestWorld.h"

#include "admin/AccessControl.h"
#include "data/dbf/CodePage1250.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velmor;
using velmor::test::AdminWorld;

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

const QChar CR(13);

}

// ---- CodeazaStr ----
//
// The expected values follow the generator rule step by step. For the empty text:
// R = 0; k: R = 1, floor(1 * 30 / 2^32) = 0, k = 6.
// Insertion 1: R = 134775814, next(0) = 0 -> position 1; R = 3698175007, floor(R*150/2^32) = 129,
//   c = 161 -> S = [161].
// Insertion 2: R = 870078620, next(1) = 0 -> position 1; R = 1172187917, next(150) = 40, c = 72
//   -> [72, 161].
// Insertion 3: R = 2884733762, next(2) = 1 -> position 2; R = 1368768587, next(150) = 47, c = 79
//   -> [72, 79, 161].
// Insertion 4: R = 694906232, next(3) = 0 -> position 1; R = 1598751577, next(150) = 55, c = 87
//   -> [87, 72, 79, 161].
// Insertion 5: R = 1828254910, next(4) = 1 -> position 2; R = 352239543, next(150) = 12, c = 44
//   -> [87, 44, 72, 79, 161].
// Insertion 6: R = 2039224980, next(5) = 2 -> position 3; R = 303092965, next(150) = 10, c = 42
//   -> [87, 44, 42, 72, 79, 161].
// m: R = 3611442298, next(50) = 42, m = 92; S = [32, 87, 44, 42, 72, 79, 161]; then 92 exchanges
// through position 1, which ends holding the last character moved through it.
TEST(CodeazaStr, EmptyText)
{
    const QByteArray expected = bytes({ 87, 44, 42, 72, 87, 79, 161 });
    EXPECT_EQ(CodeazaBytes(QByteArray()), expected);
    EXPECT_EQ(CodeazaStr(QString()), dbf::cp1250::decode(expected));
}

// "a": R = 97 at the start; 8 characters inserted, a blank put in front, 9 characters in all.
TEST(CodeazaStr, OneCharacter)
{
    const QByteArray expected = bytes({ 150, 46, 150, 139, 115, 59, 180, 174, 97 });
    EXPECT_EQ(CodeazaBytes(QByteArrayLiteral("a")), expected);
    EXPECT_EQ(CodeazaStr(QStringLiteral("a")), dbf::cp1250::decode(expected));
}

TEST(CodeazaStr, ShortPassword)
{
    const QByteArray expected = bytes({ 108, 109, 42, 41, 78, 97, 47, 111, 41, 108, 74, 112, 114, 97 });
    EXPECT_EQ(CodeazaBytes(QByteArrayLiteral("parola")), expected);
    EXPECT_EQ(CodeazaStr(QStringLiteral("parola")).size(), 14); // 6 + k (7) + 1
}

TEST(CodeazaStr, SameTextGivesSameResult)
{
    EXPECT_EQ(CodeazaStr(QStringLiteral("Primaria2009")), CodeazaStr(QStringLiteral("Primaria2009")));
}

// Same character sum, hence the same generator: the scrambled texts still differ.
TEST(CodeazaStr, PermutationsDiffer)
{
    EXPECT_EQ(CodeazaBytes(QByteArrayLiteral("aplora")),
              bytes({ 114, 109, 42, 41, 78, 112, 47, 111, 41, 114, 74, 97, 108, 97 }));
    EXPECT_NE(CodeazaStr(QStringLiteral("parola")), CodeazaStr(QStringLiteral("aplora")));
    EXPECT_EQ(CodeazaBytes(QByteArrayLiteral("ab")), bytes({ 140, 131, 100, 150, 35, 122, 97, 133, 73, 150, 140, 98 }));
    EXPECT_EQ(CodeazaBytes(QByteArrayLiteral("ba")), bytes({ 140, 131, 100, 150, 35, 122, 98, 133, 73, 150, 140, 97 }));
}

// The text is scrambled as its Windows-1250 bytes (Ş is 0xAA).
TEST(CodeazaStr, WorksOnWindows1250Bytes)
{
    const QByteArray expected = bytes({ 171, 170, 121, 171, 119, 57, 97, 49, 148, 104, 139, 139, 93, 89, 86, 56,
                                        48, 114, 152, 74, 91, 166, 148, 112, 141, 50, 50, 65, 124, 50, 101 });
    EXPECT_EQ(CodeazaStr(QStringLiteral("\u015Earpe")), dbf::cp1250::decode(expected));
    // The comma-below letter is stored as its cedilla form.
    EXPECT_EQ(CodeazaStr(QStringLiteral("\u0218arpe")), CodeazaStr(QStringLiteral("\u015Earpe")));
}

TEST(CodeazaStr, LengthGrowsBySevenToThirtySix)
{
    for (const char* text : { "x", "abc", "parola lunga", "0123456789" }) {
        const int grown = int(CodeazaStr(QString::fromLatin1(text)).size() - qstrlen(text));
        EXPECT_GE(grown, 7) << text;
        EXPECT_LE(grown, 36) << text;
    }
}

// ---- the "Administrare" button ----

namespace {

struct Prompt {
    int calls = 0;
    QString caption;
    QString label;
    std::optional<QString> answer; // nullopt: cancelled

    AccessControl::InputQuery function()
    {
        return [this](const QString& c, const QString& l, QString& value) {
            ++calls;
            caption = c;
            label = l;
            if (!answer)
                return false;
            value = *answer;
            return true;
        };
    }
};

}

TEST(Administrare, NoPasswordWarnsAndUnlocksThenSecondPressOpens)
{
    AdminWorld w;
    std::vector<bool> heard;
    QObject::connect(&w.ctx.unlock, &UnlockState::changed, [&heard](bool on) { heard.push_back(on); });
    Prompt prompt;
    AccessControl access(w.ctx, prompt.function());
    int opened = 0;

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::Unlocked);
    EXPECT_TRUE(w.ctx.unlocked());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(prompt.calls, 0);
    ASSERT_EQ(w.ui.messages().size(), 1u);
    EXPECT_EQ(w.ui.lastMessage().title, QStringLiteral("Deblocare program"));
    EXPECT_EQ(w.ui.lastMessage().text, QStringLiteral("ATENTIE!") + CR + QStringLiteral("Nu aveti nici o parola!"));
    EXPECT_EQ(w.ui.lastMessage().kind, KindWarning);
    EXPECT_EQ(w.ui.lastMessage().buttons, ButtonsOk);
    EXPECT_EQ(heard, std::vector<bool>({ true }));

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::Opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(w.ui.messages().size(), 1u);
}

TEST(Administrare, WrongPasswordShowsErrorAndStaysLocked)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("secret")));
    Prompt prompt;
    prompt.answer = QStringLiteral("Secret");
    AccessControl access(w.ctx, prompt.function());
    int opened = 0;

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::WrongPassword);
    EXPECT_FALSE(w.ctx.unlocked());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(prompt.caption, QStringLiteral("IDENTIFICARE ADMIN"));
    EXPECT_EQ(prompt.label, QStringLiteral("PAROLA :"));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Verificare parola"), QStringLiteral("PAROLA INCORECTA !")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);

    // Tried again at once, still wrong: the same error, still locked.
    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::WrongPassword);
    EXPECT_FALSE(w.ctx.unlocked());
    EXPECT_EQ(prompt.calls, 2);
}

TEST(Administrare, RightPasswordUnlocksAndTheNextPressOpens)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("secret")));
    Prompt prompt;
    prompt.answer = QStringLiteral("secret");
    std::vector<bool> heard;
    QObject::connect(&w.ctx.unlock, &UnlockState::changed, [&heard](bool on) { heard.push_back(on); });
    AccessControl access(w.ctx, prompt.function());
    int opened = 0;

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::Unlocked);
    EXPECT_TRUE(w.ctx.unlocked());
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(w.ui.messages().empty());
    EXPECT_EQ(heard, std::vector<bool>({ true }));

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::Opened);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(prompt.calls, 1);
}

TEST(Administrare, CancelledPromptChangesNothing)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("secret")));
    Prompt prompt; // cancels
    AccessControl access(w.ctx, prompt.function());
    int opened = 0;

    EXPECT_EQ(access.Administrare([&opened] { ++opened; }), AccessControl::Outcome::Cancelled);
    EXPECT_FALSE(w.ctx.unlocked());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(prompt.calls, 1);
    EXPECT_TRUE(w.ui.messages().empty());
}

// ---- password change ----

TEST(SchimbaParola, DifferentFieldsAreRefused)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("veche")));
    AccessControl access(w.ctx);

    EXPECT_EQ(access.SchimbaParola(QStringLiteral("noua"), QStringLiteral("Noua")), AccessControl::ChangeOutcome::Mismatch);
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Schimbare parola"),
                                QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindError);
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("Erori")), CodeazaStr(QStringLiteral("veche")));
}

TEST(SchimbaParola, NewPasswordIsStoredScrambledAndThenChecks)
{
    AdminWorld w;
    AccessControl change(w.ctx);

    EXPECT_EQ(change.SchimbaParola(QStringLiteral("noua"), QStringLiteral("noua")), AccessControl::ChangeOutcome::Changed);
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("Erori")), CodeazaStr(QStringLiteral("noua")));
    EXPECT_NE(w.registry->Citeste_Reg(QStringLiteral("Erori")), QStringLiteral("noua"));
    EXPECT_TRUE(w.ui.hasMessage(QStringLiteral("Schimbare parola"), QStringLiteral("Parola a fost schimbata cu succes!")));
    EXPECT_EQ(w.ui.lastMessage().kind, KindInformation);

    // A later start: the stored password is asked for and accepted.
    Prompt prompt;
    prompt.answer = QStringLiteral("noua");
    AccessControl access(w.ctx, prompt.function());
    EXPECT_EQ(access.Administrare({}), AccessControl::Outcome::Unlocked);
    EXPECT_EQ(prompt.calls, 1);
}

TEST(SchimbaParola, BothEmptyAndDaClearsThePassword)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("veche")));
    w.ui.pushYes();
    AccessControl access(w.ctx);

    EXPECT_EQ(access.SchimbaParola(QString(), QString()), AccessControl::ChangeOutcome::Cleared);
    const auto& question = w.ui.lastMessage();
    EXPECT_EQ(question.title, QStringLiteral("Dezactivare parola"));
    EXPECT_EQ(question.text, QStringLiteral("ATENTIE !") + CR + QStringLiteral("Doriti sa dezactivati parola de administrator?"));
    EXPECT_EQ(question.kind, KindWarning);
    EXPECT_EQ(question.buttons, ButtonsDaNu);
    EXPECT_TRUE(w.registry->Citeste_Reg(QStringLiteral("Erori")).isEmpty());
}

TEST(SchimbaParola, BothEmptyAndNuKeepsThePassword)
{
    AdminWorld w;
    w.registry->Scrie_Reg(QStringLiteral("Erori"), CodeazaStr(QStringLiteral("veche")));
    w.ui.pushNo();
    AccessControl access(w.ctx);

    EXPECT_EQ(access.SchimbaParola(QString(), QString()), AccessControl::ChangeOutcome::Kept);
    EXPECT_EQ(w.registry->Citeste_Reg(QStringLiteral("Erori")), CodeazaStr(QStringLiteral("veche")));
    EXPECT_EQ(w.ui.messages().size(), 1u);
}
