#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// The delivered document models, built into the program as resources ":/models/<name>".
QStringList modeleLivrate(); // "Adv.rtf", "RAGR2.rtf"

// Copies every delivered model that is missing into the program home (existing files are left
// as they are, since the user may have edited them). Returns the files written.
QStringList InstaleazaModele(const QString& programDirectory);

// Whether a built-in census template "L<n>" exists in this version.
bool existaModelRecensamant(int n);

}
