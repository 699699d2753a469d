#pragma once

// A small BIFF8 reader written only for tests, apart from the engine: it takes the Workbook stream
// out of the Compound File (libgsf), reads the records of sheet 1 and checks the offsets a
// spreadsheet program relies on (sheet positions, the row index and its blocks, the string index).

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace velmor::test {

struct XlsRecord {
    quint16 type = 0;
    qsizetype offset = 0;
    QByteArray body;
};

struct XlsContent {
    // "B5" -> "s:POPESCU ION" or "n:3"; blanks are absent.
    QMap<QString, QString> cells;
    QStringList merges;           // "A11:O11", sorted
    QMap<int, int> rowHeights;    // row (from 1) -> height in twips
    int sheetCount = 0;
    QList<XlsRecord> globals;     // records of the globals part
    QList<QList<XlsRecord>> sheets;
    // Structural faults found; empty for a sound file.
    QStringList faults;
};

// Reads a file; a file that cannot be read at all gives one fault.
XlsContent readXls(const QString& path);
XlsContent readXlsStream(const QByteArray& workbookStream);

// "C7" from row and column (from 1).
QString address(int row, int column);

}
