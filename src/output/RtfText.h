#pragma once

#include <QByteArray>
#include <QString>

namespace velmor::output {

// Text as RTF: ASCII as is (\ { } escaped), line breaks as \line, tabs as \tab, every other
// character as \uN followed by its Windows-1250 byte (comma-below ș ț as the cedilla letters'
// bytes; '?' when the code page lacks it) for readers without Unicode. Needs \uc1, the default.
QByteArray rtfEscaped(const QString& text);

}
