#pragma once

#include <QDate>
#include <QString>

// Rules of the Romanian personal numeric code (CNP): S YY MM DD NNNNN C.
namespace velmor::cnp {

// Validity as checked by the member entry: 13 digits, S one of 1, 2, 5-9, an existing date
// (19YY for S 1, 2, 7, 8; 20YY for S 5, 6, 9) and the check digit. The empty code is valid
// exactly when acceptGol is true.
bool GetCorect(const QString& cnp, bool acceptGol);

// "bărbătesc" when S is 1, 5 or 7, "femeiesc" for any other first character, "" for an empty code.
QString GetSex(const QString& cnp);

// Birth date from positions 1-7 (codes longer than 6 characters): 20YY for S 5, 6, 7, 8 and
// 19YY otherwise; for S 7 and 8 a date after `today` takes 19YY (no one is born in the future).
// A null date when the digits are not numbers or the date does not exist.
QDate GetNascutLa(const QString& cnp, const QDate& today = QDate::currentDate());

// The stricter rule of the schema upgrade: 13 digits, S one of 1, 2, 5, 6, 9, an existing date
// (19YY for S 1, 2; 20YY otherwise), county number 1-47 and the check digit.
bool CNPValid(const QString& cnp);

// The expected check digit of the first twelve digits (key 279146358279); -1 when they are not
// twelve digits.
int CifraControl(const QString& cnp);

}
