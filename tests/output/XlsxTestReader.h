#pragma once

// A small reader of .xlsx workbooks for tests, independent of the library that writes them: it
// opens the zip container itself (central directory, raw inflate through zlib) and reads the
// first worksheet, the shared strings and the styles with QXmlStreamReader.

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace velmor::test {

struct XlsxCell {
    enum class Type { Empty, Number, String, Boolean, Error };

    Type type = Type::Empty;
    QString text;           // String (shared or inline), Error
    double number = 0;      // Number, Boolean
    bool sharedString = false;
    bool styleIsDate = false;  // the cell's style has a date number format
    bool bold = false;         // the cell's style has a bold font
    QString numberFormat;      // format code of the cell's style ("General" when none)

    bool isNumber() const { return type == Type::Number; }
    bool isString() const { return type == Type::String; }
    // The date a numeric date cell holds (1900 date system).
    QDate date() const;
};

class XlsxTestReader {
public:
    // Reads the workbook; error() tells why when it could not.
    explicit XlsxTestReader(const QString& path);

    bool ok() const { return m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    QStringList memberNames() const { return m_members.keys(); }
    // Inflated content of a member of the container; empty when absent.
    QByteArray member(const QString& name) const { return m_members.value(name); }

    // A cell of the first worksheet, 0-based; Empty when absent.
    XlsxCell cell(int row, int column) const;
    // One more than the last row and column holding a cell.
    int rowCount() const { return m_rowCount; }
    int columnCount() const { return m_columnCount; }
    // Width set for a column in the sheet (characters); 0 when not set.
    double columnWidth(int column) const { return m_widths.value(column); }

private:
    struct Style {
        int numFmtId = 0;
        int fontId = 0;
    };

    bool readZip(const QByteArray& bytes);
    void readSharedStrings(const QByteArray& xml);
    void readStyles(const QByteArray& xml);
    void readSheet(const QByteArray& xml);

    QString m_error;
    QHash<QString, QByteArray> m_members;
    QStringList m_sharedStrings;
    QList<Style> m_styles;
    QHash<int, QString> m_formats;
    QList<bool> m_boldFonts;
    QHash<quint64, XlsxCell> m_cells;
    QHash<int, double> m_widths;
    int m_rowCount = 0;
    int m_columnCount = 0;
};

}
