#include "admin/KtArchive.h"
#include "core/Paths.h"

#include "ArchiveTestUtil.h"
#include "services/ScriptedInteraction.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

QString archive(const QString& name)
{
    return fixturePath(QStringLiteral("archives/") + name);
}

// Runs the extraction and returns the error text, failing the test when there was none.
QString extractError(const QString& path, const QString& target, KtArchive::Layout layout, bool removeOthers = false)
{
    try {
        KtArchive::extract(path, target, layout, removeOthers);
    } catch (const ArchiveError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no error for " << path.toStdString();
    return QString();
}

QString verifyError(const QString& path)
{
    try {
        KtArchive::verify(path);
    } catch (const ArchiveError& e) {
        return e.message();
    }
    ADD_FAILURE() << "no error for " << path.toStdString();
    return QString();
}

}

// ---- listing and writing ----

TEST(KtArchiveWrite, ListsNonEmptyFilesInNameOrder)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("b.dbf")), "b");
    writeFile(home.dataFile(QStringLiteral("CAP10.dbf")), "10");
    writeFile(home.dataFile(QStringLiteral("CAP1.dbf")), "1");
    writeFile(home.dataFile(QStringLiteral("gol.dbf")), "");
    writeFile(home.dataFile(QStringLiteral(".ascuns")), "h");
    ASSERT_TRUE(QDir(home.data()).mkdir(QStringLiteral("Sub")));
    writeFile(home.dataFile(QStringLiteral("Sub/x.dbf")), "x");
    QStringList names;
    for (const QString& path : KtArchive::filesToSave(home.data()))
        names << QFileInfo(path).fileName();
    EXPECT_EQ(names, (QStringList { QStringLiteral(".ascuns"), QStringLiteral("CAP1.dbf"), QStringLiteral("CAP10.dbf"),
                                    QStringLiteral("b.dbf") }));
    EXPECT_THROW(KtArchive::filesToSave(home.home() + QStringLiteral("/lipsa")), ArchiveError);
}

TEST(KtArchiveWrite, ArchiveOfForeignRegisterHasTheLayoutOfTheReferenceArchive)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString path = home.home() + QStringLiteral("/salvare.kt");
    EXPECT_EQ(KtArchive::write(path, KtArchive::filesToSave(home.data())), 32);

    const auto ours = KtArchive::verify(path);
    const auto reference = KtArchive::verify(archive(QStringLiteral("register.kt")));
    ASSERT_EQ(ours.size(), reference.size());
    for (size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i].name, reference[i].name) << i;
        EXPECT_EQ(ours[i].size, reference[i].size) << i;
    }
    EXPECT_EQ(ours.front().name, QStringLiteral("Data\\CAP1.dbf"));
    EXPECT_EQ(ours.back().name, QStringLiteral("Data\\Velmor.ini"));
}

TEST(KtArchiveWrite, TwoBackupsOfTheSameFilesAreIdentical)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const QString a = home.home() + QStringLiteral("/a.kt");
    const QString b = home.home() + QStringLiteral("/b.kt");
    KtArchive::write(a, KtArchive::filesToSave(home.data()));
    KtArchive::write(b, KtArchive::filesToSave(home.data()));
    EXPECT_EQ(velmor::test::existingFileBytes(a), velmor::test::existingFileBytes(b));
}

TEST(KtArchiveWrite, EmptyListWritesNoFile)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/gol.kt");
    EXPECT_EQ(KtArchive::write(path, KtArchive::filesToSave(home.data())), 0);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(KtArchiveWrite, ReportsProgressPerMember)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("a")), "1");
    writeFile(home.dataFile(QStringLiteral("b")), "2");
    writeFile(home.dataFile(QStringLiteral("c")), "3");
    ScriptedInteraction ui;
    KtArchive::write(home.home() + QStringLiteral("/p.kt"), KtArchive::filesToSave(home.data()), &ui);
    EXPECT_EQ(ui.progressMaxima(), std::vector<int> { 3 });
    EXPECT_EQ(ui.progressPositions(), (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(ui.processEventsCount(), 3);

    ScriptedInteraction reading;
    const QString out = home.home() + QStringLiteral("/out");
    KtArchive::extract(home.home() + QStringLiteral("/p.kt"), out, KtArchive::Layout::BelowBase, false, &reading);
    EXPECT_EQ(reading.progressMaxima(), std::vector<int> { 3 });
    EXPECT_EQ(reading.progressPositions(), (std::vector<int> { 1, 2, 3 }));
}

TEST(KtArchiveWrite, MissingSourceFileIsAnErrorAndLeavesEarlierArchive)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("a")), "1");
    const QString path = home.home() + QStringLiteral("/s.kt");
    writeFile(path, "earlier archive");
    try {
        KtArchive::write(path, { home.dataFile(QStringLiteral("a")), home.dataFile(QStringLiteral("lipsa")) });
        FAIL() << "no error";
    } catch (const ArchiveError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("lipsa"))) << e.what();
    }
    EXPECT_EQ(velmor::test::existingFileBytes(path), QByteArray("earlier archive"));
    EXPECT_EQ(QDir(home.home()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(KtArchiveWrite, MissingTargetFolderIsAnError)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("a")), "1");
    EXPECT_THROW(KtArchive::write(home.home() + QStringLiteral("/lipsa/s.kt"), KtArchive::filesToSave(home.data())),
                 ArchiveError);
}

TEST(KtArchiveWrite, NamesAreWindows1250)
{
    TempHome home;
    writeFile(home.dataFile(QStringLiteral("\u021aar\u0103.txt")), "x");
    const QString path = home.home() + QStringLiteral("/n.kt");
    KtArchive::write(path, KtArchive::filesToSave(home.data()));
    const QByteArray bytes = velmor::test::existingFileBytes(path);
    // "Ț" is stored as the cedilla form 0xDE, "ă" as 0xE3.
    EXPECT_TRUE(bytes.contains(QByteArray("Data\\\xDE" "ar\xE3.txt")));
    const auto members = KtArchive::verify(path);
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].name, QStringLiteral("Data\\\u0162ar\u0103.txt"));

    writeFile(home.dataFile(QStringLiteral("\u4e2d.txt")), "x");
    EXPECT_THROW(KtArchive::write(path, KtArchive::filesToSave(home.data())), ArchiveError);
}

// ---- reading the reference archives ----

TEST(KtArchiveRead, ReferenceArchiveExtractsToTheReferenceRegister)
{
    TempHome home;
    const QString target = home.home() + QStringLiteral("/restored");
    const QStringList written =
        KtArchive::extract(archive(QStringLiteral("register.kt")), target, KtArchive::Layout::DataDirectory);
    EXPECT_EQ(written.size(), 32);

    QMap<QString, QByteArray> expected;
    const auto reference = filesOf(fixturePath(QStringLiteral("register-dbase4")));
    for (auto it = reference.begin(); it != reference.end(); ++it) {
        if (!it.value().isEmpty())
            expected.insert(it.key(), it.value());
    }
    EXPECT_EQ(filesOf(target), expected);
    EXPECT_EQ(entriesBelow(target).size(), expected.size()); // no scratch folder left behind
}

TEST(KtArchiveRead, BelowBaseKeepsTheDataFolder)
{
    TempHome home;
    const QString base = home.home() + QStringLiteral("/merge");
    KtArchive::extract(archive(QStringLiteral("register.kt")), base, KtArchive::Layout::BelowBase);
    EXPECT_EQ(velmor::test::existingFileBytes(base + QStringLiteral("/Data/Sate.lst")),
              velmor::test::existingFileBytes(fixturePath(QStringLiteral("register-dbase4/Sate.lst"))));
    EXPECT_EQ(entriesBelow(base).size(), 33); // Data and its 32 files
}

TEST(KtArchiveRead, TruncatedArchiveIsAnErrorAndWritesNothing)
{
    TempHome home;
    const QString target = home.home() + QStringLiteral("/t");
    const QString message = extractError(archive(QStringLiteral("truncated.kt")), target, KtArchive::Layout::DataDirectory);
    EXPECT_TRUE(message.contains(QStringLiteral("incompleta"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("truncated.kt"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Data\\"))) << message.toStdString();
    EXPECT_TRUE(entriesBelow(target).isEmpty());
    EXPECT_FALSE(verifyError(archive(QStringLiteral("truncated.kt"))).isEmpty());
}

TEST(KtArchiveRead, ArchiveCutAtAnyPointIsAnError)
{
    TempHome home;
    const QByteArray whole = velmor::test::existingFileBytes(archive(QStringLiteral("register.kt")));
    const QString path = home.home() + QStringLiteral("/cut.kt");
    for (qsizetype length : { qsizetype(0), qsizetype(2), qsizetype(4), qsizetype(6), qsizetype(12), qsizetype(21),
                              qsizetype(25), qsizetype(30), whole.size() / 2, whole.size() - 1 }) {
        writeFile(path, whole.left(length));
        EXPECT_THROW(KtArchive::verify(path), ArchiveError) << length;
    }
}

TEST(KtArchiveRead, TraversalNamesAreRefusedAndNothingIsWritten)
{
    TempHome home;
    const QString outside = home.home() + QStringLiteral("/a");
    const QString target = outside + QStringLiteral("/b/target");
    ASSERT_TRUE(QDir().mkpath(target));
    const bool absoluteExisted = QFile::exists(QStringLiteral("/tmp/absolute.txt"));

    for (auto layout : { KtArchive::Layout::BelowBase, KtArchive::Layout::DataDirectory }) {
        const QString message = extractError(archive(QStringLiteral("traversal.kt")), target, layout);
        EXPECT_TRUE(message.contains(QStringLiteral("Data\\..\\..\\escaped.txt"))) << message.toStdString();
    }
    EXPECT_FALSE(verifyError(archive(QStringLiteral("traversal.kt"))).isEmpty());
    EXPECT_EQ(entriesBelow(home.home()), (QStringList { QStringLiteral("Data"), QStringLiteral("a"),
                                                        QStringLiteral("a/b"), QStringLiteral("a/b/target") }));
    EXPECT_EQ(QFile::exists(QStringLiteral("/tmp/absolute.txt")), absoluteExisted);
}

TEST(KtArchiveRead, EachUnsafeNameIsRefused)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/u.kt");
    const QString target = home.home() + QStringLiteral("/t");
    for (const QByteArray& name :
         { QByteArray("C:\\Windows\\evil.ini"), QByteArray("/tmp/absolute.txt"), QByteArray("\\evil.ini"),
           QByteArray("Data\\..\\x"), QByteArray("Data/../x"), QByteArray(".."), QByteArray("Data\\.\\x"),
           QByteArray("Data\\\\x"), QByteArray("Data\\x:stream"), QByteArray("c:x"), QByteArray("Data\\NUL"),
           QByteArray("Data\\x\x01"), QByteArray("Data\\x.") }) {
        writeFile(path, makeArchive({ { QByteArray("Data\\ok.txt"), "ok" }, { name, "bad" } }));
        const QString message = extractError(path, target, KtArchive::Layout::BelowBase);
        EXPECT_TRUE(message.contains(QStringLiteral("nepermis"))) << name.toStdString() << ": " << message.toStdString();
        EXPECT_TRUE(entriesBelow(target).isEmpty()) << name.toStdString();
    }
}

TEST(KtArchiveRead, LiarIsRefusedBeforeAnythingIsWritten)
{
    TempHome home;
    const QString target = home.home() + QStringLiteral("/t");
    const QString message = extractError(archive(QStringLiteral("liar.kt")), target, KtArchive::Layout::DataDirectory);
    EXPECT_TRUE(message.contains(QStringLiteral("Data\\Sate.lst"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("2000000000"))) << message.toStdString();
    EXPECT_TRUE(entriesBelow(target).isEmpty());
}

TEST(KtArchiveRead, EmptyArchiveHasNoMembers)
{
    TempHome home;
    EXPECT_EQ(KtArchive::memberCount(archive(QStringLiteral("empty.kt"))), 0);
    EXPECT_TRUE(KtArchive::verify(archive(QStringLiteral("empty.kt"))).empty());
    const QString target = home.home() + QStringLiteral("/t");
    EXPECT_TRUE(KtArchive::extract(archive(QStringLiteral("empty.kt")), target, KtArchive::Layout::BelowBase).isEmpty());
    EXPECT_TRUE(entriesBelow(target).isEmpty());
}

TEST(KtArchiveRead, StreamsThatDoNotMatchTheirHeaderAreErrorsNamingTheMember)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/d.kt");
    const QString target = home.home() + QStringLiteral("/t");
    const QByteArray content = QByteArray("POPESCU ION;").repeated(200);

    struct Case {
        const char* what;
        RawMember bad;
    };
    const std::vector<Case> cases = {
        { "damaged stream", { "Data\\CAP2.dbf", content, std::nullopt, true } },
        { "more than declared", { "Data\\CAP2.dbf", content, qint32(content.size() - 1) } },
        { "less than declared", { "Data\\CAP2.dbf", content, qint32(content.size() + 1) } },
        { "negative size", { "Data\\CAP2.dbf", content, qint32(-5) } },
    };
    for (const Case& c : cases) {
        writeFile(path, makeArchive({ { "Data\\CAP1.dbf", "first" }, c.bad, { "Data\\CAP3.dbf", "third" } }));
        const QString message = extractError(path, target, KtArchive::Layout::DataDirectory);
        EXPECT_TRUE(message.contains(QStringLiteral("Data\\CAP2.dbf"))) << c.what << ": " << message.toStdString();
        EXPECT_TRUE(entriesBelow(target).isEmpty()) << c.what;
        EXPECT_FALSE(verifyError(path).isEmpty()) << c.what;
    }
}

TEST(KtArchiveRead, DamagedHeadersAreErrors)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/h.kt");
    // Negative member count.
    writeFile(path, makeArchive({}, -1));
    EXPECT_FALSE(verifyError(path).isEmpty());
    // A count far beyond what the file could hold.
    writeFile(path, makeArchive({ { "Data\\a", "a" } }, 1000000));
    EXPECT_FALSE(verifyError(path).isEmpty());
    // A name length beyond the end of the file.
    QByteArray bytes = makeArchive({ { "Data\\a", "a" } });
    bytes[4] = char(0x7F);
    bytes[5] = char(0x7F);
    writeFile(path, bytes);
    EXPECT_FALSE(verifyError(path).isEmpty());
    // Zero-length name.
    writeFile(path, makeArchive({ { "", "a" } }));
    EXPECT_FALSE(verifyError(path).isEmpty());
    // Not an archive at all.
    writeFile(path, QByteArray("[INDEX]\r\nCODID=1\r\n"));
    EXPECT_FALSE(verifyError(path).isEmpty());
    // Missing archive.
    EXPECT_FALSE(verifyError(home.home() + QStringLiteral("/lipsa.kt")).isEmpty());
}

// Archives whose members do not account for every byte, or that hold one file twice, or a name no
// file system takes: refused by verify and by both extraction layouts, and nothing is written.
TEST(KtArchiveRead, ExtraBytesTwinMembersAndOverlongNamesAreDamage)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/x.kt");
    const QByteArray longName = QByteArray("Data\\") + QByteArray(300, 'a') + ".dbf";
    struct Case {
        const char* what;
        QByteArray archive;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"trailing bytes", makeArchive({ { "Data\\a", "abc" } }) + QByteArray("\0\0\0", 3),
         { QStringLiteral("mai urmeaza 3 octeti") }},
        {"count too small", makeArchive({ { "Data\\a", "abc" }, { "Data\\b", "def" } }, 1),
         { QStringLiteral("dupa ultimul fisier declarat (1)") }},
        {"same name twice", makeArchive({ { "Data\\a", "first" }, { "Data\\gol", "" }, { "Data\\a", "second" } }),
         { QStringLiteral("Data\\a"), QStringLiteral("de doua ori") }},
        {"same name in another letter case", makeArchive({ { "Data\\CAP1.dbf", "1" }, { "data\\cap1.DBF", "2" } }),
         { QStringLiteral("data\\cap1.DBF"), QStringLiteral("prima data ca \"Data\\CAP1.dbf\"") }},
        {"name too long", makeArchive({ { "Data\\a", "1" }, { longName, "2" } }),
         { QStringLiteral("304 octeti"), QStringLiteral("cel mult 255") }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeFile(path, c.archive);
        const QString target = home.home() + QStringLiteral("/t");
        for (const QString& message : { verifyError(path), extractError(path, target, KtArchive::Layout::DataDirectory),
                                        extractError(path, target, KtArchive::Layout::BelowBase) }) {
            for (const QString& part : c.expected)
                EXPECT_TRUE(message.contains(part)) << message.toStdString();
        }
        EXPECT_TRUE(entriesBelow(target).isEmpty());
    }
}

TEST(KtArchiveRead, EmptyMemberIsWritten)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/x.kt");
    writeFile(path, makeArchive({ { "Data\\a", "first" }, { "Data\\gol", "" } }));
    const QString target = home.home() + QStringLiteral("/t");
    const QStringList written = KtArchive::extract(path, target, KtArchive::Layout::DataDirectory);
    EXPECT_EQ(written.size(), 2);
    EXPECT_EQ(filesOf(target), (QMap<QString, QByteArray> { { QStringLiteral("a"), "first" }, { QStringLiteral("gol"), "" } }));
}

TEST(KtArchiveRead, DataDirectoryLayoutAcceptsOnlyFilesOfData)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/x.kt");
    const QString target = home.home() + QStringLiteral("/t");
    for (const QByteArray& name : { QByteArray("Altceva\\a"), QByteArray("a"), QByteArray("Data\\Sub\\a") }) {
        writeFile(path, makeArchive({ { "Data\\ok", "1" }, { name, "2" } }));
        const QString message = extractError(path, target, KtArchive::Layout::DataDirectory);
        EXPECT_TRUE(message.contains(QString::fromLatin1(name))) << message.toStdString();
        EXPECT_TRUE(entriesBelow(target).isEmpty());
    }
    // Below a base the same names are fine.
    writeFile(path, makeArchive({ { "data\\ok", "1" }, { "Altceva\\a", "2" }, { "Data\\Sub\\a", "3" } }));
    KtArchive::extract(path, target, KtArchive::Layout::BelowBase);
    EXPECT_EQ(velmor::test::existingFileBytes(target + QStringLiteral("/Altceva/a")), QByteArray("2"));
    EXPECT_EQ(velmor::test::existingFileBytes(target + QStringLiteral("/Data/Sub/a")), QByteArray("3"));
}

TEST(KtArchiveRead, ReplacesOnlyWhatTheArchiveHoldsUnlessAskedToRemoveOthers)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/x.kt");
    writeFile(path, makeArchive({ { "Data\\a", "new a" }, { "Data\\b", "new b" } }));
    writeFile(home.dataFile(QStringLiteral("a")), "old a");
    writeFile(home.dataFile(QStringLiteral("c")), "old c");
    KtArchive::extract(path, home.data(), KtArchive::Layout::DataDirectory, false);
    EXPECT_EQ(filesOf(home.data()), (QMap<QString, QByteArray> { { QStringLiteral("a"), "new a" },
                                                                  { QStringLiteral("b"), "new b" },
                                                                  { QStringLiteral("c"), "old c" } }));
    KtArchive::extract(path, home.data(), KtArchive::Layout::DataDirectory, true);
    EXPECT_EQ(filesOf(home.data()), (QMap<QString, QByteArray> { { QStringLiteral("a"), "new a" },
                                                                  { QStringLiteral("b"), "new b" } }));
    EXPECT_EQ(entriesBelow(home.data()).size(), 2);
}

TEST(KtArchiveRead, FailedExtractionLeavesExistingFilesUntouched)
{
    TempHome home;
    home.copyFixture(QStringLiteral("register-dbase4"));
    const auto before = filesOf(home.data());
    for (const char* name : { "truncated.kt", "traversal.kt", "liar.kt" }) {
        EXPECT_THROW(KtArchive::extract(archive(QString::fromLatin1(name)), home.data(), KtArchive::Layout::DataDirectory,
                                        true),
                     ArchiveError)
            << name;
        EXPECT_EQ(filesOf(home.data()), before) << name;
        EXPECT_EQ(entriesBelow(home.data()).size(), before.size()) << name;
    }
}

TEST(KtArchiveRead, DirectoryInTheWayRollsBack)
{
    TempHome home;
    const QString path = home.home() + QStringLiteral("/x.kt");
    writeFile(path, makeArchive({ { "Data\\a", "new a" }, { "Data\\b", "new b" } }));
    writeFile(home.dataFile(QStringLiteral("a")), "old a");
    ASSERT_TRUE(QDir(home.data()).mkdir(QStringLiteral("b")));
    EXPECT_THROW(KtArchive::extract(path, home.data(), KtArchive::Layout::DataDirectory, false), ArchiveError);
    EXPECT_EQ(velmor::test::existingFileBytes(home.dataFile(QStringLiteral("a"))), QByteArray("old a"));
    EXPECT_EQ(entriesBelow(home.data()), (QStringList { QStringLiteral("a"), QStringLiteral("b") }));
}

TEST(KtArchiveRead, LargeMemberSpanningManyChunks)
{
    TempHome home;
    QByteArray big;
    big.reserve(3 * 1024 * 1024);
    quint32 x = 12345;
    while (big.size() < 3 * 1024 * 1024) {
        x = x * 1103515245u + 12345u;
        big.append(char((x >> 16) & 0x3F) + 'A'); // poorly compressible text
    }
    writeFile(home.dataFile(QStringLiteral("mare.dbf")), big);
    writeFile(home.dataFile(QStringLiteral("mic.dbf")), "mic");
    const QString path = home.home() + QStringLiteral("/m.kt");
    EXPECT_EQ(KtArchive::write(path, KtArchive::filesToSave(home.data())), 2);
    const QString target = home.home() + QStringLiteral("/t");
    KtArchive::extract(path, target, KtArchive::Layout::DataDirectory);
    EXPECT_EQ(filesOf(target), filesOf(home.data()));
}

TEST(KtArchiveRead, MembersEndingOnBufferBoundaries)
{
    // Highly compressible members whose sizes sit on and around the reader's 64 KiB buffer, each
    // as the last member (the archive ends right after its stream) and in the middle.
    TempHome home;
    const QString path = home.home() + QStringLiteral("/b.kt");
    for (int size : { 65535, 65536, 65537, 131072, 196608 + 7 }) {
        const QByteArray content(size, 'A');
        for (bool last : { true, false }) {
            std::vector<RawMember> members { { "Data\\a", "x" }, { "Data\\mare", content } };
            if (!last)
                members.push_back({ "Data\\z", "z" });
            writeFile(path, makeArchive(members));
            const QString target = home.home() + QStringLiteral("/t%1%2").arg(size).arg(last);
            ASSERT_NO_THROW(KtArchive::extract(path, target, KtArchive::Layout::DataDirectory)) << size << last;
            EXPECT_EQ(velmor::test::existingFileBytes(target + QStringLiteral("/mare")), content) << size;
        }
    }
}

TEST(SameDirectory, ResolvesSpellings)
{
    TempHome home;
    EXPECT_TRUE(sameDirectory(home.data(), home.data() + QStringLiteral("/")));
    EXPECT_TRUE(sameDirectory(home.data(), home.home() + QStringLiteral("/Data/../Data")));
    EXPECT_FALSE(sameDirectory(home.data(), home.home()));
    EXPECT_FALSE(sameDirectory(QString(), home.home()));
    const QString link = home.home() + QStringLiteral("/legatura");
    if (QFile::link(home.data(), link)) {
        EXPECT_TRUE(sameDirectory(link, home.data()));
    }
}
