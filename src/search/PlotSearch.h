#pragma once

#include "data/engine/Parameters.h"
#include "data/engine/ResultSet.h"
#include "workbook/NewWorkbook.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
}
}

namespace velmor::search {

// What the plot search asks for; an empty text asks nothing. The selectors hold an item's text
// (never the "any" item), the edits what was typed.
struct PlotFilters {
    QString deed;        // ACT equals it
    QString deedNumber;  // NRACT equals it (trimmed)
    QString category;    // CATEG equals it
    QString type;        // TIPRA, "1".."4"
    QString village;     // LOCALIT equals it
    QString areaKind;    // INTRA equals it
    QString block;       // TARLA equals it
    QString worker;      // CINELUC equals it
    QString blockNumber; // NRTARLA equals it (trimmed)
    QString parcel;      // NRPARC (trimmed) starts with it, not followed by a digit
    QString head;        // the head's NUMEP starts with it
    QString cadastral;   // NRCAD starts with it

    bool operator==(const PlotFilters&) const = default;
};

// The plots of the working year's heads of household that meet the filters, their total area
// and the list of land in ownership written from them. Every typed text reaches the statement
// as a bound value, so no character has a meaning of its own.
class PlotSearch {
public:
    static QString anyItem() { return QStringLiteral(" * ORICARE *"); }
    static QString anyWorker() { return QStringLiteral(" * NU CONTEAZA *"); }
    // The result grid's fields and headings, in order.
    static const QStringList& gridFields();
    static const QStringList& gridHeadings();
    static QStringList categories(); // the category selector, "any" item first
    static QStringList areaKinds();  // the area-kind selector, "any" item first
    // The longest texts the edits take.
    static constexpr int DeedNumberLength = 15;
    static constexpr int BlockNumberLength = 15;
    static constexpr int ParcelLength = 16;
    static constexpr int HeadLength = 40;
    static constexpr int CadastralLength = 10;

    PlotSearch(engine::Engine& engine, QString dataDirectory, QString workingYear);

    // Checks the filters (lengths, the register type); a Romanian message when one is refused.
    static std::optional<QString> refusal(const PlotFilters& filters);

    // Runs the search in the default order (village, volume, position, deed); the first row
    // becomes current. Throws Error for a refused filter or a failing statement.
    void run(const PlotFilters& filters);
    // Reorders by a grid field, keeping the current household current; false (nothing done)
    // when there are no rows or the field is not a grid field.
    bool sortBy(const QString& field);
    // The export's order: register type, village, volume, position, deed; keeps the household.
    void exportOrder();

    const engine::ResultSet& rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.rows.size()); }
    dbf::Value value(int row, const QString& field) const;
    int current() const { return m_current; }
    void setCurrent(int row) { m_current = row; }
    // The current plot's CODT; -1 when there is no row.
    qint64 currentPlot() const;

    // Sum of SUPRAF over every row, in ten-thousandths of a hectare.
    qint64 totalTenThousandths() const { return m_total; }
    // "Total suprafata : " + total + " ha   ".
    QString totalLabel() const;
    static QString totalLabel(qint64 tenThousandths);

    // The pictures of a plot (FISIER of PozeTarla for the working year), in file order.
    QStringList pictures(qint64 codt) const;

    // The list of land in ownership of the rows in their present order.
    workbook::WorkbookDesign plotListDesign(const QString& council, const QDate& date) const;

    // Writes the list to the first free Lista<n>.xls of `directory` (aside first, then renamed)
    // and opens it. Tells the user when every name is in use ("Lista titluri") or the file cannot
    // be written ("Lista proprietati"); returns the file written.
    std::optional<QString> exportList(const QString& directory, const QString& council, const QDate& date, Interaction& ui);

private:
    void open(const QString& orderBy);
    QString table(const char* name) const;

    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_year;
    QStringList m_lines;          // the statement without its ORDER BY line
    engine::Parameters m_parameters;
    engine::ResultSet m_rows;
    int m_current = -1;
    qint64 m_total = 0;
};

}
