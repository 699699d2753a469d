#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace velmor {

// A profile file held in memory, with the semantics of the Windows profile functions:
// section and key names match without regard to letter case, a value is the text after the
// first "=" with surrounding blanks removed, and the first occurrence of a section or key wins.
// Lines are kept as raw Windows-1250 bytes, so lines that are not written stay byte for byte.
class IniDocument {
public:
    IniDocument() = default;

    static IniDocument fromBytes(const QByteArray& bytes);
    // A missing file gives an empty document; a file that exists but cannot be read raises
    // ServiceError.
    static IniDocument load(const QString& path);

    QString value(const QString& section, const QString& key) const;
    bool contains(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    // Replaces the value of an existing key in place, or adds the key after the last line of its
    // section, or adds the section at the end. Raises ServiceError for a name or value that a
    // profile line cannot hold (empty name, line break, "=" in a key, brackets in a section) or
    // a character Windows-1250 lacks.
    void setValue(const QString& section, const QString& key, const QString& value);

    // Adds a section that is not in the document yet at the end, with its keys in the order given,
    // as setValue would for each key but in one pass. Raises ServiceError as setValue does, and
    // when the section exists or a key comes twice.
    void appendSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries);

    // Every line ended by CR LF.
    QByteArray toBytes() const;
    // Writes atomically (temporary file renamed over the target). Raises ServiceError naming the
    // file when it is read-only, its folder is missing or the write fails.
    void save(const QString& path) const;

    // File name used in error messages.
    void setFileName(const QString& path) { m_path = path; }
    QString fileName() const { return m_path; }

private:
    struct Range {
        int header = -1; // line index of the section header, -1 when absent
        int end = 0;     // first line after the section
    };
    Range findSection(const QString& section) const;
    int findKey(const Range& range, const QString& key) const;
    QByteArray encodeName(const QString& text, const char* what) const;

    std::vector<QByteArray> m_lines;
    QString m_path;
};

// One profile file on disk. Every call reads the file again (another computer may have changed
// it on a shared data directory); every write rewrites it atomically.
class IniFile {
public:
    explicit IniFile(QString path);

    QString path() const { return m_path; }
    QString value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    QStringList sections() const;
    QStringList keys(const QString& section) const;

private:
    QString m_path;
};

}
