#pragma once

#include <QString>

namespace velmor {

// Upper-cases only the letters a to z. The summaries, certificates, paths and statements of the
// program compare texts this way.
QString upperAZ(const QString& text);

// Upper-cases a to z and the Romanian letters (ă â î ș ş ț ţ), for names a clerk types in capitals
// (villages, fields that upper-case). Every result is representable in Windows-1250.
QString upperRomanian(const QString& text);

}
