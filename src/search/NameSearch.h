#pragma once

#include "register/HouseholdPlace.h"

#include "data/engine/ResultSet.h"
#include "grid/QueryTableModel.h"

#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {
struct AppContext;
}

namespace velmor::search {

// What a clerk types into a search field, as the register stores it: a..z and the Romanian
// letters in capitals, comma-below ș ț as the cedilla letters.
QString typedSearchText(const QString& text);

// What the entry fields of the search ask for. A field that is empty (the name: empty as typed;
// the others: blank after trimming) asks nothing. The typed fields (name, code, number) are compared
// in their typedSearchText form, the listed values as stored (comma-below as cedilla), case-sensitively.
struct SearchCriteria {
    QString name;     // NUMEP starts with it
    bool headsOnly = false; // COD = 1
    QString cnp;      // CNP starts with it
    QString street;   // STRADA equals it
    QString company;  // DENUMIRE equals it
    QString number;   // NR equals it
    QString domicile; // LOC equals it

    bool operator==(const SearchCriteria&) const = default;
};

// The loaded rows that meet the criteria. Matching is a plain comparison of the row's values
// with the texts, so no character the user types has a meaning of its own.
class SearchResultsProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit SearchResultsProxy(grid::QueryTableModel* rows, QObject* parent = nullptr);

    void setCriteria(const SearchCriteria& criteria);
    const SearchCriteria& criteria() const { return m_criteria; }

    // Whether row `row` of the rows meets the criteria.
    bool accepts(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QString text(int row, const char* field) const;

    grid::QueryTableModel* m_rows;
    SearchCriteria m_criteria;
};

// The logic of the search-by-name window TForm33: one query per opening lists every member of the
// working year's households with the household's place and address; the criteria then narrow the
// loaded rows without touching the database. The current row is the one "&Am ales" hands back.
class NameSearch : public QObject {
    Q_OBJECT
public:
    // The grid's columns in order: "NUME si PRENUME", "TIP", "Volum", "Poz.", "C.N.P.",
    // "Localitatea", "Societatea", "Adresa", "Domiciliul stabil".
    static QStringList headings();
    static QString allVillages() { return QStringLiteral("TOATE"); }

    explicit NameSearch(AppContext& ctx, QObject* parent = nullptr);

    // Lists the members of the working year's households of `village` ("TOATE": every village),
    // ordered by village and name, with the address columns; every criterion is cleared (the
    // heads-only choice is kept). Throws on a statement error.
    void open(const QString& village);
    // Forgets the rows.
    void close();
    bool isOpen() const { return m_open; }
    const QString& village() const { return m_village; }

    // The choices of the company, street and locality lists: the distinct non-blank values of
    // DENUMIRE (every year), STRADA and LOC (the working year). Throw on a statement error.
    QStringList companies();
    QStringList streets();
    QStringList domiciles();

    void setCriteria(const SearchCriteria& criteria);
    const SearchCriteria& criteria() const { return m_proxy.criteria(); }

    grid::QueryTableModel& rows() { return m_model; }
    SearchResultsProxy& results() { return m_proxy; }
    // Rows meeting the criteria.
    int shownCount() const { return m_proxy.rowCount(); }

    // The current row among the shown ones; -1 when none is shown.
    int currentRow() const;
    void setCurrentRow(int row);
    // Up and Down of the entry fields: one row back unless at the first, one on unless at the last.
    void moveUp();
    void moveDown();

    // "&Am ales": without a shown row the balloon "Nu ati ales pe nimeni !" at the button `anchor`
    // and nullopt; otherwise the current row's household code.
    std::optional<qint64> choose(const QString& anchor = QStringLiteral("B11"));

    // The household of the current row; codid -1 when there is none.
    HouseholdPlace currentPlace() const;
    // A field of shown row `row` as text ("" for null).
    QString shownText(int row, const QString& field) const;
    qint64 shownCodid(int row) const;

signals:
    // The shown rows or the current row changed.
    void resultsChanged();
    void currentChanged(int row);

private:
    AppContext& m_ctx;
    grid::QueryTableModel m_model;
    SearchResultsProxy m_proxy;
    QString m_village;
    bool m_open = false;
    int m_current = -1;
};

// The address columns of a result row (ADRESA and DOMSTAB) from its register type; blank parts show
// as " -". `county` is the council's county, the county of types 1 and 3.
struct SearchAddress {
    QString adresa;
    QString domstab;
};
SearchAddress searchAddress(qint64 tipra, const QString& county, const QString& judet, const QString& loc,
                            const QString& strada, const QString& nr, const QString& str2, const QString& nr2);

}
