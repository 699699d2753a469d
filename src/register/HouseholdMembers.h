#pragma once

#include "data/dbf/DbfValue.h"
#include "grid/QueryTableModel.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

namespace velmor {

struct AppContext;

namespace engine {
class Query;
}

// One member as the member dialog TForm32 holds it.
struct MemberEntry {
    QString name;
    QString cnp;
    QString kinship = QStringLiteral("Cap de gospodarie");
    int sex = 1; // CODSEX: 1 "Masculin", 2 "Feminin"
    QDate birth; // null: no birth date
    QString notes;
    bool operator==(const MemberEntry&) const = default;
};

// Kinship to the head of household: the dialog's eight items and the codes stored in COD.
namespace kinship {
QStringList items();
// The code of a kinship text: the code of the item whose text equals it exactly, 4 otherwise.
int code(const QString& text);
// The head of household's item text.
inline QString head() { return QStringLiteral("Cap de gospodarie"); }
}

// The dialogs the member operations ask: TForm32 in the program, scripts in tests. Each runs the
// dialog over `entry` (its confirmation must pass HouseholdMembers::confirm) and returns whether
// it was confirmed; `entry` then holds what was entered.
class MemberDialogs {
public:
    virtual ~MemberDialogs() = default;
    virtual bool Adaugare(MemberEntry& entry) = 0;
    virtual bool Modificare(MemberEntry& entry) = 0;
};

// The members page's logic (chapter 1): the members of the current household (query S1 with the
// computed birth-date text DATAS), the member chosen in the grid, adding, modifying and deleting
// a member, and the member dialog's checks (one head of household, a valid personal code that
// sets sex and birth date, the widths of the columns).
class HouseholdMembers {
public:
    // Balloon anchors: the page's controls and the dialog's fields.
    static constexpr const char* GridAnchor = "GridMembri";
    static constexpr const char* DeleteAnchor = "StergeMembru";
    static constexpr const char* NameField = "Nume";
    static constexpr const char* CodeField = "CNP";
    static constexpr const char* KinshipField = "Rudenie";
    static constexpr const char* NotesField = "Mentiuni";

    static constexpr int NameWidth = 40;
    static constexpr int KinshipWidth = 24;
    static constexpr int NotesWidth = 240;

    explicit HouseholdMembers(AppContext& ctx);
    ~HouseholdMembers();

    // The birth date of a stored value: null for a blank date and for 30.12.1899 (older files
    // wrote that day for "no date").
    static QDate birthOf(const dbf::Value& stored);
    // "dd.MM.yyyy", or "  -  " without a date.
    static QString birthText(const QDate& birth);
    // The sex and birth date a code sets: codes shorter than 7 characters give "Masculin" and no
    // date; longer ones the date of the code and "Feminin" for a woman's code.
    static void applyCode(MemberEntry& entry);
    // The family name proposed for a new member: the first word of `name` and one blank; empty
    // for an empty name.
    static QString familyName(const QString& name);

    // The statement of the working year (no household yet).
    void prepare(const QString& year);
    // Loads the members of a household (0: none) and makes the first one current.
    void load(qint64 codid);
    void close();
    qint64 household() const { return m_codid; }

    engine::Query& S1();
    grid::QueryTableModel& model() { return m_model; }
    int count() const { return m_model.rowCount(); }
    int currentRow() const { return m_current; }
    void selectRow(int row);
    // A field of the current member; null without one.
    dbf::Value currentValue(const QString& field) const;
    qint64 currentCod1() const;
    // The current member as the dialog is filled for modifying.
    MemberEntry currentEntry() const;

    // The dialog's confirmation (add mode: `self` 0; modify mode: the member's COD1). Cleans the
    // name, refuses an empty name, an invalid code, too long texts and a second head of
    // household (balloons at the dialog's fields), sets sex and birth date from a code.
    bool confirm(MemberEntry& entry, qint64 self);

    // The statements. Each returns or uses the member's COD1.
    qint64 insert(const MemberEntry& entry);
    void update(qint64 cod1, const MemberEntry& entry);
    void remove(qint64 cod1);

    // The page's buttons; each reloads the members and keeps the member concerned current.
    // True when something changed.
    bool AdaugaMembru(MemberDialogs& dialogs);
    bool ModificaMembru(MemberDialogs& dialogs);
    bool StergeMembru();

private:
    void reloadAt(qint64 cod1);
    QString table() const;

    AppContext& m_ctx;
    std::unique_ptr<engine::Query> m_s1;
    QString m_year;
    qint64 m_codid = 0;
    grid::QueryTableModel m_model;
    int m_current = -1;
};

}
