#pragma once

#include "data/dbf/DbfLayout.h"
#include "data/dbf/DbfTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace velmor {
class Interaction;
}

namespace velmor::engine {
class Engine;
}

namespace velmor::data {

// What one step of the upgrade did.
struct UpgradeStep {
    enum class Status { Skipped, Applied, Failed };
    QString id; // "R" (leftovers of an interrupted run), then "1" to "18"
    Status status = Status::Skipped;
    QString detail; // what was changed, or the failure's message
    QString table;  // the table a failure happened on

    static QString statusName(Status status);
};

struct UpgradeReport {
    std::vector<UpgradeStep> steps;
    // Members whose notes were longer than the column and went into MentiuniLungi.txt.
    QStringList longNotes;
    bool changed = false;

    bool failed() const;
    // "Pasul 7 (CAP2): ..." one line per failed step.
    QStringList failures() const;
};

// A numeric column size asked of ChangeField; 0 leaves that attribute as it is.
struct ColumnSize {
    QString column;
    int width = 0;
    int decimals = 0;
};

// Brings a data directory of an older program version to the current table layouts. Every step
// looks at the table it changes and changes only what it finds, so a run can be repeated and an
// interrupted run is finished by the next one; a current directory is only looked at. Each table
// is rewritten whole (all changes of a step in one rewrite) or not at all.
class SchemaUpgrade {
public:
    // What the upgrade needs from the layers above it.
    struct Environment {
        QString localit; // CONSTANTE/Localit of the settings file
        // Adds a village to Sate.lst unless it is there already.
        std::function<void(const QString&)> addVillage;
        // Called once before the first change (safety archive, marker); an exception stops the
        // upgrade before anything is changed.
        std::function<void()> beforeFirstChange;
        std::function<void(const QString&)> setStatus;
        std::function<void(int position, int maximum)> setProgress;
    };

    static constexpr const char* LongNotesFile = "MentiuniLungi.txt";
    static constexpr int NotesWidth = 240;

    SchemaUpgrade(engine::Engine& engine, QString dataDirectory, Interaction& ui, Environment environment);

    // The whole upgrade; never throws for a failing step (the report says which failed).
    UpgradeReport UpGrade();

    // Gives the numeric columns of a table the sizes asked, never narrowing one; all columns in one
    // rewrite, none when the layout stays the same. True when the table was rewritten. Raises the
    // engine's error when a column is missing, not numeric, or a value does not fit.
    bool ChangeField(const QString& table, const QList<ColumnSize>& sizes);
    bool ChangeField(const QString& table, const QString& column, int width, int decimals)
    {
        return ChangeField(table, QList<ColumnSize> {{column, width, decimals}});
    }

    // The village column of one table: SATUL becomes LOCALIT; a table with neither gets LOCALIT
    // filled with the council's locality (and the locality joins the village list when the table
    // is Identificare). True when the table changed.
    bool MutaSatul(const QString& tableFileName);

    // A note as it goes into the CHAR(240) column: every line break one blank, trimmed.
    static QString flattenNote(const QString& note);
    // POZITIA as stored (position + volume / 100) split into position and volume, digit by digit.
    static bool splitPosition(double stored, int decimals, qint64& position, qint64& volume);
    // The birth date a member gets: from a valid personal code, else 1 January of the year of
    // birth, else none.
    static QDate birthDate(const QString& cnp, const dbf::Value& yearOfBirth);

private:
    struct StepFailure;
    using StepBody = std::function<std::optional<QString>()>;
    void runStep(const QString& id, const StepBody& body);
    // Marks the steps from `id` on as not run.
    void skipRemaining(const QString& reason);

    QString tablePath(const QString& fileName) const;
    bool exists(const QString& fileName) const;
    QList<dbf::Field> fieldsOf(const QString& fileName);
    static const dbf::Field* findField(const QList<dbf::Field>& fields, const QString& name);
    static QList<dbf::FieldSpec> specsOf(const QList<dbf::Field>& fields);

    // Before each change: the first one calls beforeFirstChange.
    void beforeChange();
    void rewrite(const QString& fileName, const QList<dbf::FieldSpec>& fields, const dbf::RecordFill& fill = {});
    int execute(const QStringList& lines, const QList<std::pair<QString, dbf::Value>>& values = {});
    void status(const QString& text);
    void progress(int position, int maximum);

    // The steps.
    std::optional<QString> recoverNotes();
    std::optional<QString> recoverNumbers();
    std::optional<QString> recoverPosition();
    std::optional<QString> dropVillageColumns();
    std::optional<QString> convertNotes(bool dropHelper);
    std::optional<QString> createPlotTables();
    std::optional<QString> addBirthDates();
    std::optional<QString> splitPositions();
    std::optional<QString> addRegisterType();
    std::optional<QString> addBuildingRemarks();
    std::optional<QString> addRow19();
    std::optional<QString> widenNumber();
    std::optional<QString> addPlotColumns(const QStringList& names);
    std::optional<QString> widenNumber2();
    // Changes sizes on several tables; each table's failure is kept and the others still run.
    std::optional<QString> changeSizes(const QList<std::pair<QString, QList<ColumnSize>>>& tables);
    void writeLongNotes(const QList<std::pair<QString, QString>>& notes);

    engine::Engine& m_engine;
    QString m_dataDir;
    Interaction& m_ui;
    Environment m_env;
    UpgradeReport m_report;
    bool m_begun = false;
    QString m_table; // the table the running step works on
    QStringList m_stepFailures; // failures inside a step that goes on (one per table)
};

}
