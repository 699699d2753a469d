#pragma once

#include "output/ReportDocument.h"
#include "search/HouseholdLists.h"

#include <QDate>

namespace velmor {
class Settings;
}

namespace velmor::search {

// What a printed selection list shows besides its rows: the council's county, type and locality,
// the mayor and the secretary, the coat of arms picture file (none: the box stays empty).
struct SelectionFormTexts {
    QString county;
    QString councilType;
    QString locality;
    QString mayor;
    QString secretary;
    QString coatOfArms;
    QDate today = QDate::currentDate();
};

SelectionFormTexts selectionFormTexts(const Settings& settings);

// The banded form of a chapter's selection list (title, column header, detail, summary with the
// totals and the signatures, page footer) and the form filled with a list.
output::ReportForm selectionForm(int chapter, double rowCode);
output::ReportDocument selectionDocument(const SelectionResult& list, const SelectionFormTexts& texts);

}
