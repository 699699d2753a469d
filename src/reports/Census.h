#pragma once

#include "data/engine/ResultSet.h"
#include "reports/TemplateCopies.h"
#include "reports/TemplateExport.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace velmor::reports {

// The census 2010 forms, in the order of the form selector: lists L1-L4, counts C1 and C2.
enum class CensusForm { L1 = 1, L2, L3, L4, C1, C2 };

// The built-in census templates L1..L6 (resources ":/L<k>/MODEL", copies L<k>.xls); k from 1.
const BuiltInTemplate& censusTemplate(int k);
// "L1", "L2", "L3", "L4", "C1", "C2".
QStringList censusFormNames();

struct CensusRequest {
    CensusForm form = CensusForm::L1;
    QString village;          // required for every form
    bool includeNu = false;   // L1-L4: keep the holdings without land or animals
    bool ignoreOther = false; // L2/L4: the land in other localities (chapter 2 row 8, column C) is not taken
    QDate date;               // day and month of #DATA; today when invalid
};

// What a census run did besides the report's own result.
struct CensusResult : TemplateReportResult {
    int leftOut = 0;          // C1/C2: households whose register type is not 1-4
    bool locked = false;      // a work table could not be removed (nothing was produced)
};

// The "Recensamant General 2010" report: finds for every household of the working year whether
// it holds or uses land or animals, and fills the chosen form's template copy of the data
// directory. The work tables Tmp.dbf and Tmp2.dbf of the program directory go in every case.
class Census {
public:
    Census(TemplateExportSetup setup, QString county, QString commune);

    void setTemplateFile(const QString& path) { m_templateFile = path; }
    void setOutputFile(const QString& path) { m_outputFile = path; }

    // The result rows (the columns of Tmp.dbf, or of Tmp2.dbf for C1/C2) in the report's order.
    // Throws Error; `leftOut` receives the C1/C2 households left out.
    engine::ResultSet rows(const CensusRequest& request, const QString& workingYear, int* leftOut = nullptr);
    // The whole report: template copy, rows, header placeholders, filling, save and show. The
    // user is told how many households were left out of C1/C2.
    CensusResult run(const CensusRequest& request, const QString& workingYear);

    // The sort key of a house number: its first nine leading digits, plus the Windows-1250 code
    // of the first character after them / 10000 ("10A" gives 10.0065).
    static double houseNumberKey(const QString& number);
    // "ziua 05  luna 03  2010".
    static QString dateText(const QDate& date);

    QString workTable() const;
    QString countTable() const;

private:
    // Removes a work table; false when it exists and cannot be removed.
    bool removeTable(const QString& path) const;
    void removeWorkTables() const;
    engine::ResultSet build(const CensusRequest& request, qint64 year, int* leftOut);
    engine::ResultSet counts(bool perVillage, int* leftOut);

    TemplateExportSetup m_setup;
    QString m_county;
    QString m_commune;
    QString m_templateFile;
    QString m_outputFile;
};

}
