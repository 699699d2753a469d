// The RTF template filler: case rule, empty values, repeated lines, header and body, one-pass
// replacement, output names; every document read back by an independent RTF reader.

#include "ExportReaders.h"
#include "support/FileBytes.h"

#include "output/TRTFReplace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;
using output::TRTFReplace;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

const QByteArray kTemplate = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                             "\\paperw11906\\paperh16838 \\pard\\plain\\f0\\fs22 Nr. [Nr] din [DATA]\\par\r\n"
                             "\\pard Judetul [JUDET], cod [003]\\par\r\n"
                             "\r\n"
                             "{\\pard\\qj [Continut]\\par}\r\n"
                             "\\pard Semnat: [INTOCMIT] \\{nu o acolada\\}\\par\r\n"
                             "}\r\n";

}

TEST(TRTFReplace, PlaceholderSpellingDecidesTheValuesCase)
{
    TRTFReplace filler;
    filler.Inlocuieste(QStringLiteral("[NR]"), QStringLiteral("Ab 12 ţ"));
    filler.Inlocuieste(QStringLiteral("[003]"), QStringLiteral("Ab CD"));
    filler.Inlocuieste(QStringLiteral("[X]"), QStringLiteral("Ab"));
    filler.Inlocuieste(QStringLiteral("[GOL]"), QString());
    filler.Inlocuieste(QStringLiteral("[ACOLADA]"), QStringLiteral("a{b}\\c"));
    filler.Inlocuieste(QStringLiteral("[DATA]"), QStringLiteral("[NR] ramane"));
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"[NR]", "AB 12 \\u355 \\'fe"},   // capitals: A..Z only, the ţ keeps its case
        {"[nr]", "ab 12 \\u355 \\'fe"},   // small letters
        {"[Nr]", "Ab 12 \\u355 \\'fe"},   // mixed: as given
        {"[003]", "ab cd"},               // no letter at all: lower case
        {"[x]", "Ab"},                    // three characters: as given
        {"[gol] [GOL]", "- -"},           // empty values print as "-"
        {"[ACOLADA]", "A\\{B\\}\\\\C"},   // braces and backslashes escaped
        {"[Data]", "[NR] ramane"},        // a value is never searched for placeholders
        {"fara nimic [NECUNOSCUT]", "fara nimic [NECUNOSCUT]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filler.replaced(c.line, 0), QByteArray(c.expected)) << c.line;
}

TEST(TRTFReplace, DocumentRepeatsLinesCopiesTheHeaderAndEndsByBraces)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Model.rtf"));
    writeFile(source, kTemplate);

    TRTFReplace filler;
    filler.RTFSursa = source;
    ASSERT_TRUE(filler.StabilesteDest(dir.filePath(QStringLiteral("Adeverinta"))));
    EXPECT_EQ(filler.RTFDest, dir.filePath(QStringLiteral("Adeverinta0.rtf")));
    ASSERT_TRUE(filler.IncepeDocument()) << filler.errorString().toStdString();
    filler.GolesteLista();
    filler.Inlocuieste(QStringLiteral("[NR]"), QStringLiteral("7"));
    filler.Inlocuieste(QStringLiteral("[DATA]"), QStringLiteral("09.12.2026"));
    filler.Inlocuieste(QStringLiteral("[JUDET]"), QStringLiteral("Vâlcea"));
    filler.Inlocuieste(QStringLiteral("[003]"), QString());
    for (const char* section : {"Terenuri în proprietate: 1 ha", "Pomi fructiferi: 3 meri", "Animale { acolade }"})
        filler.Inlocuieste(QStringLiteral("[CONTINUT]"), QString::fromUtf8(section));
    filler.Inlocuieste(QStringLiteral("[CONTINUT]"), QStringLiteral(" "));
    filler.Inlocuieste(QStringLiteral("[INTOCMIT]"), QStringLiteral("POP ANA"));
    ASSERT_TRUE(filler.ScrieCorp(2));
    ASSERT_TRUE(filler.InchideDocument());

    const QByteArray bytes = velmor::test::fileBytes(filler.RTFDest);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\paperw11906\\paperh16838\r\n"));
    EXPECT_EQ(bytes.count("\\page"), 1);
    QString problem;
    const QStringList text = test::readRtfText(bytes, &problem);
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    const QStringList onePage {
        QStringLiteral("Nr. 7 din 09.12.2026"),
        QStringLiteral("Judetul VâLCEA, cod -"),
        QStringLiteral("Terenuri în proprietate: 1 ha"),
        QStringLiteral("Pomi fructiferi: 3 meri"),
        QStringLiteral("Animale { acolade }"),
        QStringLiteral(" "),
        QStringLiteral("Semnat: POP ANA {nu o acolada}"),
    };
    EXPECT_EQ(text, onePage + onePage);
    for (const char* placeholder : {"[NR]", "[Nr]", "[CONTINUT]", "[Continut]", "[003]", "[INTOCMIT]"})
        EXPECT_FALSE(bytes.contains(placeholder)) << placeholder;
}

TEST(TRTFReplace, OutputNamesAndFailures)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("Model.rtf"));
    writeFile(source, kTemplate);
    // A name that cannot be deleted (here a folder) moves the output to the next name; an old
    // document that can be deleted is replaced.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Adeverinta0.rtf/deschis")));
    writeFile(dir.filePath(QStringLiteral("Adeverinta1.rtf")), "vechi");
    TRTFReplace filler;
    ASSERT_TRUE(filler.StabilesteDest(dir.filePath(QStringLiteral("Adeverinta"))));
    EXPECT_EQ(filler.RTFDest, dir.filePath(QStringLiteral("Adeverinta1.rtf")));
    EXPECT_FALSE(QFile::exists(filler.RTFDest));

    // Missing, empty template; output in a folder that does not exist.
    filler.RTFSursa = dir.filePath(QStringLiteral("Lipsa.rtf"));
    EXPECT_FALSE(filler.IncepeDocument());
    writeFile(dir.filePath(QStringLiteral("Gol.rtf")), "  \r\n");
    filler.RTFSursa = dir.filePath(QStringLiteral("Gol.rtf"));
    EXPECT_FALSE(filler.IncepeDocument());
    filler.RTFSursa = source;
    filler.RTFDest = dir.filePath(QStringLiteral("nu/exista/Adeverinta0.rtf"));
    EXPECT_FALSE(filler.IncepeDocument());
    EXPECT_FALSE(filler.errorString().isEmpty());
    EXPECT_FALSE(filler.ScrieCorp(1));
}

// A repeated placeholder repeats its whole paragraph, however the paragraph is laid out over
// lines and groups; the document keeps every paragraph after it.
TEST(TRTFReplace, RepeatedPlaceholderRepeatsItsWholeParagraph)
{
    const QStringList sections {QStringLiteral("Unu"), QStringLiteral("Doi"), QStringLiteral("Trei")};
    const struct {
        const char* layout;
        QByteArray paragraph;
        QStringList shown; // between the paragraphs before and after
    } cases[] = {
        {"one line", "\\pard\\qj\\fi567 [Continut]\\par\r\n", sections},
        {"saved by a word processor",
         "\\par \\pard\\plain \\s0\\rtlch\\af6 \\ltrch\\qj\\ltrpar{\\hich\\af5\\loch\\fs22\\f5\\loch\r\n[Continut]}\r\n\\par ", sections},
        {"a table row", "\\trowd\\cellx3000\\cellx6000\r\n\\pard\\intbl [Continut]\\cell\\pard\\intbl x\\cell\\row\r\n",
         // the fourth, blank value's row keeps its other cell
         {QStringLiteral("Unu"), QStringLiteral("x"), QStringLiteral("Doi"), QStringLiteral("x"), QStringLiteral("Trei"), QStringLiteral("x"),
          QStringLiteral("x")}},
        {"a group of its own", "{\\pard\\qj [Continut]\\par}\r\n", sections},
        {"a group open across the paragraph end", "\\pard {\\b [Continut]\\par}\r\n", sections},
        {"a group closed inside the paragraph", "{\\pard\\b [Continut]}\\par\r\n", sections},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("Model.rtf"));
        writeFile(source, "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
                          "\\pard\\plain Inainte [NR]\\par\r\n"
                          + c.paragraph
                          + "\\pard\\plain Dupa [NR]\\par\r\n"
                            "\\pard\\plain Semnaturi\\par\r\n"
                            "}\r\n");
        TRTFReplace filler;
        filler.RTFSursa = source;
        filler.RTFDest = dir.filePath(QStringLiteral("Out.rtf"));
        ASSERT_TRUE(filler.IncepeDocument()) << c.layout;
        filler.Inlocuieste(QStringLiteral("[NR]"), QStringLiteral("7"));
        for (const char* section : {"Unu", "Doi", "Trei"})
            filler.Inlocuieste(QStringLiteral("[CONTINUT]"), QString::fromLatin1(section));
        filler.Inlocuieste(QStringLiteral("[CONTINUT]"), QStringLiteral(" "));
        ASSERT_TRUE(filler.ScrieCorp(1)) << c.layout;
        ASSERT_TRUE(filler.InchideDocument()) << c.layout;

        const QByteArray bytes = velmor::test::fileBytes(filler.RTFDest);
        EXPECT_EQ(TRTFReplace::structureProblem(bytes), QString()) << c.layout;
        QString problem;
        const QStringList text = test::readRtfText(bytes, &problem);
        ASSERT_TRUE(problem.isEmpty()) << c.layout << ": " << problem.toStdString();
        QStringList shown;
        for (const QString& line : text) {
            if (!line.trimmed().isEmpty())
                shown << line.trimmed();
        }
        const QStringList expected = QStringList {QStringLiteral("Inainte 7")} + c.shown
                                     + QStringList {QStringLiteral("Dupa 7"), QStringLiteral("Semnaturi")};
        EXPECT_EQ(shown, expected)
            << c.layout << "\n" << bytes.toStdString();
    }
}

TEST(TRTFReplace, TemplateChecks)
{
    const struct {
        QByteArray rtf;
        bool sound;
    } structures[] = {
        {"{\\rtf1 \\pard a [CONTINUT]\\par\r\n}\r\n", true},
        {"{\\rtf1 \\pard a \\{ [CONTINUT]\\par\r\n}", true},
        {"{\\rtf1 \\pard {\\b a [CONTINUT]\\par\r\n}", false},
        {"{\\rtf1 \\pard a}} [CONTINUT]\\par\r\n}", false},
        {"{\\rtf1 \\pard a} \\pard b\\par", false},
        {"fara acolade", false},
    };
    for (const auto& s : structures)
        EXPECT_EQ(TRTFReplace::structureProblem(s.rtf).isEmpty(), s.sound) << s.rtf.toStdString();

    const QStringList names {QStringLiteral("[NUMEPREN]"), QStringLiteral("[CNP]"), QStringLiteral("[CONTINUT]")};
    EXPECT_EQ(TRTFReplace::brokenPlaceholders("\\pard [NUME{\\b PREN}] [CNP]\\par", names), QStringList {QStringLiteral("[NUMEPREN]")});
    EXPECT_EQ(TRTFReplace::brokenPlaceholders("\\pard [C\\b0 NP] [Continut] [nota {\\i x}]\\par", names), QStringList {QStringLiteral("[CNP]")});
    EXPECT_TRUE(TRTFReplace::brokenPlaceholders("\\pard [NUMEPREN] [cnp] [Continut]\\par", names).isEmpty());
    EXPECT_TRUE(TRTFReplace::holds("\\pard [Continut]\\par", QStringLiteral("[CONTINUT]")));
    EXPECT_FALSE(TRTFReplace::holds("\\pard [Contin{\\b ut}]\\par", QStringLiteral("[CONTINUT]")));
}

// A document a word processor holds open (its lock file beside it) or that is read-only is no
// free name: the next one is taken and the open one stays as it is.
TEST(TRTFReplace, DocumentsOpenInAWordProcessorAreNotReplaced)
{
    const struct {
        const char* lock; // beside Adeverinta0.rtf; nullptr: read-only instead
    } cases[] = {{".~lock.Adeverinta0.rtf#"}, {"~$Adeverinta0.rtf"}, {"~$everinta0.rtf"}, {nullptr}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString open = dir.filePath(QStringLiteral("Adeverinta0.rtf"));
        writeFile(open, "deschis");
        if (c.lock)
            writeFile(dir.filePath(QString::fromLatin1(c.lock)), "lock");
        else
            QFile::setPermissions(open, QFile::ReadOwner | QFile::ReadUser);
        TRTFReplace filler;
        ASSERT_TRUE(filler.StabilesteDest(dir.filePath(QStringLiteral("Adeverinta"))));
        EXPECT_EQ(filler.RTFDest, dir.filePath(QStringLiteral("Adeverinta1.rtf"))) << (c.lock ? c.lock : "read-only");
        EXPECT_EQ(velmor::test::fileBytes(open), QByteArray("deschis"));
    }
    // Without a lock file the old document is replaced.
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("Adeverinta0.rtf")), "vechi");
    TRTFReplace filler;
    ASSERT_TRUE(filler.StabilesteDest(dir.filePath(QStringLiteral("Adeverinta"))));
    EXPECT_EQ(filler.RTFDest, dir.filePath(QStringLiteral("Adeverinta0.rtf")));
}
