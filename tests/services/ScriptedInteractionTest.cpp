#include "services/ScriptedInteraction.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace velmor;
using Event = ScriptedInteraction::ProgressEventType;

TEST(ScriptedInteraction, MessageWithoutScriptReturnsCancelAndIsRecorded)
{
    ScriptedInteraction ui;
    Interaction& seam = ui;
    EXPECT_EQ(seam.Mesaj(QStringLiteral("Salvare"), QStringLiteral("Intrebare?"), KindWarning, ButtonsDaNu), 2);
    ASSERT_EQ(ui.messages().size(), 1u);
    const auto& m = ui.lastMessage();
    EXPECT_EQ(m.title, QStringLiteral("Salvare"));
    EXPECT_EQ(m.text, QStringLiteral("Intrebare?"));
    EXPECT_EQ(m.kind, KindWarning);
    EXPECT_EQ(m.buttons, ButtonsDaNu);
    EXPECT_EQ(m.result, 2);
    EXPECT_TRUE(m.shown);
}

TEST(ScriptedInteraction, MessageResultsAreTakenInOrder)
{
    ScriptedInteraction ui;
    ui.pushYes().pushNo().pushOk();
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("a"), KindConfirmation, ButtonsDaNu), ResultDa);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("b"), KindConfirmation, ButtonsDaNu), ResultNu);
    EXPECT_EQ(ui.pendingMessageResults(), 1);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("c"), KindError, ButtonsOk), ResultOk);
    EXPECT_TRUE(ui.scriptUsedUp());
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("d"), KindError, ButtonsOk), ResultCancel);
    ASSERT_EQ(ui.messages().size(), 4u);
    EXPECT_EQ(ui.messages()[1].result, ResultNu);
    EXPECT_EQ(ui.messagesContaining(QStringLiteral("c")).size(), 1u);
    EXPECT_TRUE(ui.hasMessage(QStringLiteral("t"), QStringLiteral("d")));
    EXPECT_FALSE(ui.hasMessage(QStringLiteral("t"), QStringLiteral("e")));
}

TEST(ScriptedInteraction, ButtonsZeroShowsNothingAndKeepsTheScript)
{
    ScriptedInteraction ui;
    ui.pushYes();
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("x"), KindWarning, 0), ResultCancel);
    EXPECT_FALSE(ui.lastMessage().shown);
    EXPECT_EQ(ui.pendingMessageResults(), 1);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("y"), KindWarning, ButtonsDaNu), ResultDa);
}

TEST(ScriptedInteraction, ResultThatNoButtonGivesIsAScriptError)
{
    ScriptedInteraction ui;
    ui.pushYes();
    EXPECT_THROW(ui.Mesaj(QStringLiteral("t"), QStringLiteral("x"), KindError, ButtonsOk), std::logic_error);
    // Escape is always possible.
    ui.pushMessageResult(ResultCancel);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("x"), KindError, ButtonsOk), ResultCancel);
}

TEST(ScriptedInteraction, HandlerAnswersWhenQueueIsEmpty)
{
    ScriptedInteraction ui;
    ui.setMessageHandler([](const ScriptedInteraction::Message& m) {
        return m.text.contains(QStringLiteral("inlocuiti")) ? ResultDa : ResultNu;
    });
    ui.pushNo();
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("Vreti sa inlocuiti?"), KindWarning, ButtonsDaNu), ResultNu);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("Vreti sa inlocuiti?"), KindWarning, ButtonsDaNu), ResultDa);
    EXPECT_EQ(ui.Mesaj(QStringLiteral("t"), QStringLiteral("Altceva?"), KindWarning, ButtonsDaNu), ResultNu);
}

TEST(ScriptedInteraction, LastMessageWithoutMessagesThrows)
{
    ScriptedInteraction ui;
    EXPECT_THROW(ui.lastMessage(), std::logic_error);
}

TEST(ScriptedInteraction, ProgressIsRecorded)
{
    ScriptedInteraction ui;
    Interaction& seam = ui;
    seam.setProgressLabel(QStringLiteral("Salvez..."));
    seam.setProgressMaximum(3);
    seam.Arata();
    EXPECT_TRUE(ui.progressVisible());
    for (int i = 0; i < 3; ++i) {
        seam.setProgressPosition(i);
        seam.processEvents();
    }
    seam.Distruge();
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_EQ(ui.progressShowCount(), 1);
    EXPECT_EQ(ui.progressHideCount(), 1);
    EXPECT_EQ(ui.progressLabel(), QStringLiteral("Salvez..."));
    EXPECT_EQ(ui.progressMaximum(), 3);
    EXPECT_EQ(ui.progressPosition(), 2);
    EXPECT_EQ(ui.progressPositions(), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(ui.progressMaxima(), (std::vector<int> { 3 }));
    EXPECT_EQ(ui.progressLabels(), QStringList { QStringLiteral("Salvez...") });
    EXPECT_EQ(ui.processEventsCount(), 3);
    ASSERT_EQ(ui.progressEvents().size(), 7u);
    EXPECT_EQ(ui.progressEvents().front().type, Event::Label);
    EXPECT_EQ(ui.progressEvents()[2].type, Event::Show);
    EXPECT_EQ(ui.progressEvents().back().type, Event::Hide);
}

TEST(ScriptedInteraction, FileFolderAndTextChoices)
{
    ScriptedInteraction ui;
    ui.pushOpenFile(QStringLiteral("/a.kt")).pushSaveFile(QStringLiteral("/b.kt")).pushFolder(QStringLiteral("/c"));
    ui.pushText(QStringLiteral("parola")).pushTextCancel();
    EXPECT_EQ(ui.pendingFileAnswers(), 3);
    // Each kind of question has its own queue.
    EXPECT_EQ(ui.chooseFolder(QStringLiteral("Dosar"), QStringLiteral("/")), QStringLiteral("/c"));
    EXPECT_EQ(ui.chooseSaveFile(QStringLiteral("Unde?"), QString(), QStringLiteral("*.kt")), QStringLiteral("/b.kt"));
    EXPECT_EQ(ui.chooseOpenFile(QStringLiteral("Ce?"), QString(), QStringLiteral("*.kt")), QStringLiteral("/a.kt"));
    EXPECT_EQ(ui.chooseOpenFile(QStringLiteral("Ce?"), QString(), QStringLiteral("*.kt")), QString());
    EXPECT_EQ(ui.askText(QStringLiteral("Parola"), QStringLiteral("Introduceti"), QString(), true),
              std::optional<QString>(QStringLiteral("parola")));
    EXPECT_EQ(ui.askText(QStringLiteral("Parola"), QStringLiteral("Introduceti"), QString(), true), std::nullopt);
    EXPECT_EQ(ui.askText(QStringLiteral("Parola"), QStringLiteral("Introduceti"), QString(), true), std::nullopt);

    ASSERT_EQ(ui.choices().size(), 4u);
    EXPECT_EQ(ui.choices()[0].kind, ScriptedInteraction::ChoiceKind::Folder);
    EXPECT_EQ(ui.choices()[1].title, QStringLiteral("Unde?"));
    EXPECT_EQ(ui.choices()[1].filter, QStringLiteral("*.kt"));
    EXPECT_EQ(ui.choices()[3].answer, QString());
    ASSERT_EQ(ui.textQuestions().size(), 3u);
    EXPECT_TRUE(ui.textQuestions()[0].secret);
    EXPECT_TRUE(ui.scriptUsedUp());
}

TEST(ScriptedInteraction, BalloonsAndOpenedFiles)
{
    ScriptedInteraction ui;
    ui.ArataProblema(QStringLiteral("Nu ati trecut suprafata!"), QStringLiteral("Suprafata"));
    ASSERT_EQ(ui.balloons().size(), 1u);
    EXPECT_EQ(ui.balloons()[0].anchor, QStringLiteral("Suprafata"));
    EXPECT_TRUE(ui.openFile(QStringLiteral("/x/Adeverinta1.rtf")));
    ui.setOpenFileSucceeds(false);
    EXPECT_FALSE(ui.openFile(QStringLiteral("/x/Rap1.xls")));
    EXPECT_EQ(ui.openedFiles(), (QStringList { QStringLiteral("/x/Adeverinta1.rtf"), QStringLiteral("/x/Rap1.xls") }));
}

TEST(ScriptedInteraction, ClearForgetsEverything)
{
    ScriptedInteraction ui;
    ui.pushOk().pushYes().pushOpenFile(QStringLiteral("/a.kt"));
    ui.Mesaj(QStringLiteral("t"), QStringLiteral("x"), KindError, ButtonsOk);
    ui.Arata();
    ui.clear();
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(ui.progressEvents().empty());
    EXPECT_FALSE(ui.progressVisible());
    EXPECT_TRUE(ui.scriptUsedUp());
}
