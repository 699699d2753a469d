// Exports that cannot be written leave nothing behind and say why; progress is reported.

#include "services/ScriptedInteraction.h"

#include "output/DataExport.h"
#include "output/ExportError.h"
#include "output/ExportFormat.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::output;

namespace {

// The progress events as text: "S", "M250", "P100", "Lxyz", "H".
QStringList progressTrace(const ScriptedInteraction& ui)
{
    using Type = ScriptedInteraction::ProgressEventType;
    QStringList trace;
    for (const auto& e : ui.progressEvents()) {
        switch (e.type) {
        case Type::Show: trace << QStringLiteral("S"); break;
        case Type::Hide: trace << QStringLiteral("H"); break;
        case Type::Label: trace << QStringLiteral("L") + e.label; break;
        case Type::Maximum: trace << QStringLiteral("M") + QString::number(e.value); break;
        case Type::Position: trace << QStringLiteral("P") + QString::number(e.value); break;
        }
    }
    return trace;
}

ExportTable smallTable()
{
    ExportTable t;
    t.title = QStringLiteral("T");
    t.columns = {{QStringLiteral("A"), ExportColumn::Kind::Text, 0, 10}};
    t.rows = {{QStringLiteral("x")}};
    return t;
}

QStringList everyFile(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

std::vector<ExportFormat> everyExportFormat()
{
    const QList<ExportFormat> formats = allExportFormats();
    return {formats.begin(), formats.end()};
}

class EveryFormat : public ::testing::TestWithParam<ExportFormat> {};

TEST_P(EveryFormat, UnwritablePathsThrowAndLeaveNoFile)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString ext = formatExtension(GetParam());
    const QStringList targets = {
        dir.filePath(QStringLiteral("missing/folder/out.") + ext), // folder does not exist
        dir.filePath(QStringLiteral("plain/out.") + ext),          // a file where a folder should be
        dir.path(),                                                // the target is a folder
        QString(),                                                 // no path at all
    };
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        try {
            DataExport::write(smallTable(), GetParam(), target);
            ADD_FAILURE() << "no error";
        } catch (const ExportError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
        EXPECT_EQ(everyFile(dir.path()), QStringList{QStringLiteral("plain")});
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, EveryFormat, ::testing::ValuesIn(everyExportFormat()),
                         [](const auto& info) { return formatName(info.param).toStdString(); });

TEST(ExportFailure, FailedWriteKeepsTheOlderFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("raport.xlsx"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older export");
    }
    ExportTable table = smallTable();
    table.rows.push_back({QString(40000, QLatin1Char('x'))}); // longer than an Excel cell holds
    try {
        DataExport::write(table, ExportFormat::Xlsx, path);
        ADD_FAILURE() << "no error";
    } catch (const ExportError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("40000"))) << e.what();
    }
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("older export"));
    EXPECT_EQ(everyFile(dir.path()), QStringList{QStringLiteral("raport.xlsx")});

    // the same text goes whole into the formats that can hold it
    const QString csv = dir.filePath(QStringLiteral("raport.csv"));
    DataExport::write(table, ExportFormat::Csv, csv);
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains(QByteArray(40000, 'x') + "\r\n"));
}

TEST(ExportFailure, RowsWithTheWrongNumberOfValuesAreRefused)
{
    QTemporaryDir dir;
    ExportTable table = smallTable();
    table.rows.push_back({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_THROW(DataExport::write(table, ExportFormat::Csv, dir.filePath(QStringLiteral("x.csv"))), ExportError);
    EXPECT_TRUE(everyFile(dir.path()).isEmpty());
}

TEST(ExportProgress, ShownWithTheRowCountAndMovedEveryHundredRows)
{
    for (const ExportFormat format : {ExportFormat::Xlsx, ExportFormat::Csv}) {
        SCOPED_TRACE(formatName(format).toStdString());
        ExportTable table = smallTable();
        table.rows.assign(250, {QStringLiteral("r")});
        QTemporaryDir dir;
        ScriptedInteraction ui;
        DataExport::write(table, format, dir.filePath(QStringLiteral("p.") + formatExtension(format)), &ui);
        EXPECT_EQ(progressTrace(ui), (QStringList{QStringLiteral("M250"), QStringLiteral("LPrelucrez..."), QStringLiteral("P0"),
                                                   QStringLiteral("S"), QStringLiteral("P100"), QStringLiteral("P200"),
                                                   QStringLiteral("P250"), QStringLiteral("H")}));
        EXPECT_EQ(ui.processEventsCount(), 2);
    }
}

TEST(ExportProgress, HiddenAgainWhenTheExportFails)
{
    ExportTable table = smallTable();
    table.rows.push_back({QString(40000, QLatin1Char('x'))});
    QTemporaryDir dir;
    ScriptedInteraction ui;
    EXPECT_THROW(DataExport::write(table, ExportFormat::Xlsx, dir.filePath(QStringLiteral("p.xlsx")), &ui), ExportError);
    ASSERT_FALSE(ui.progressEvents().empty());
    EXPECT_EQ(ui.progressEvents().back().type, ScriptedInteraction::ProgressEventType::Hide);
}

TEST(ExportFormats, NamesAndExtensions)
{
    struct Case {
        const char* text;
        std::optional<ExportFormat> byName;
        std::optional<ExportFormat> byPath;
    };
    const Case cases[] = {
        {"xlsx", ExportFormat::Xlsx, ExportFormat::Xlsx},  {"CSV", ExportFormat::Csv, ExportFormat::Csv},
        {"tsv", ExportFormat::Tsv, ExportFormat::Tsv},     {"html", ExportFormat::Html, ExportFormat::Html},
        {"htm", ExportFormat::Html, ExportFormat::Html},   {"rtf", ExportFormat::Rtf, ExportFormat::Rtf},
        {"txt", ExportFormat::Text, ExportFormat::Text},   {"doc", ExportFormat::Word, ExportFormat::Word},
        {"xls", std::nullopt, std::nullopt},               {"", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(formatFromName(QString::fromLatin1(c.text)), c.byName);
        EXPECT_EQ(formatFromPath(QStringLiteral("/a.b/raport.") + QString::fromLatin1(c.text)), c.byPath);
    }
    for (const ExportFormat format : allExportFormats())
        EXPECT_EQ(formatFromName(formatName(format)), format);
    EXPECT_EQ(pathWithExtension(QStringLiteral("/t/lista"), ExportFormat::Csv), QStringLiteral("/t/lista.csv"));
    EXPECT_EQ(pathWithExtension(QStringLiteral("/t/lista.CSV"), ExportFormat::Csv), QStringLiteral("/t/lista.CSV"));
    EXPECT_EQ(pathWithExtension(QStringLiteral("/t/lista.txt"), ExportFormat::Csv), QStringLiteral("/t/lista.txt.csv"));

    ExportOptions options;
    EXPECT_EQ(chosenFormat(options, QStringLiteral("x.csv")), ExportFormat::Csv);
    EXPECT_EQ(chosenFormat(options, QStringLiteral("x")), ExportFormat::Xlsx);
    options.format = ExportFormat::Html;
    EXPECT_EQ(chosenFormat(options, QStringLiteral("x.csv")), ExportFormat::Html);
}

}

// Saving over an existing file asks once; NU keeps the old file.
TEST(ExportChoice, ExistingFileIsReplacedOnlyAfterDa)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lista.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("vechi");
    }
    const ExportChoice choice {ExportFormat::Csv, ExportChoice::Destination::File};
    ScriptedInteraction ui;
    ui.pushSaveFile(path).pushNo();
    EXPECT_TRUE(exportAsChosen(smallTable(), choice, ui).isEmpty());
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("vechi"));
    kept.close();
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().buttons, ButtonsDaNu);

    ui.pushSaveFile(path).pushYes();
    EXPECT_EQ(exportAsChosen(smallTable(), choice, ui), path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_NE(kept.readAll(), QByteArray("vechi"));
}
