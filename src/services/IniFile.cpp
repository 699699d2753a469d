#include "services/IniFile.h"

#include <QSet>

#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "services/FileAccess.h"
#include "services/ServiceError.h"
#include "services/TextFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor {

namespace {

// Names are compared in the form the file holds them (comma-below letters as cedillas).
bool sameName(const QString& a, const QString& b)
{
    return dbf::cp1250::storedForm(a).compare(dbf::cp1250::storedForm(b), Qt::CaseInsensitive) == 0;
}

bool isBlankLine(const QByteArray& raw)
{
    for (char c : raw) {
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    }
    return true;
}

// The section name when the line is a section header.
bool parseHeader(const QByteArray& raw, QString& name)
{
    const QString line = Trim(dbf::cp1250::decode(raw));
    if (!line.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    name = Trim(close < 0 ? line.mid(1) : line.mid(1, close - 1));
    return true;
}

// Key and value of a "key=value" line.
bool parseKey(const QByteArray& raw, QString& key, QString* value)
{
    const qsizetype eq = raw.indexOf('=');
    if (eq < 0)
        return false;
    key = Trim(dbf::cp1250::decode(raw.constData(), eq));
    if (key.isEmpty() || key.startsWith(QLatin1Char(';')))
        return false;
    if (value)
        *value = Trim(dbf::cp1250::decode(raw.constData() + eq + 1, raw.size() - eq - 1));
    return true;
}

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0));
}

QString describe(const QString& path)
{
    return path.isEmpty() ? QStringLiteral("fisierul de setari") : QStringLiteral("fisierul %1").arg(QDir::toNativeSeparators(path));
}

}

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument doc;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype stop = lf < 0 ? bytes.size() : lf;
        QByteArray line = bytes.mid(start, stop - start);
        if (line.endsWith('\r'))
            line.chop(1);
        doc.m_lines.push_back(line);
        start = stop + 1;
    }
    return doc;
}

IniDocument IniDocument::load(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        IniDocument doc;
        doc.m_path = path;
        return doc;
    }
    if (info.isDir())
        throw ServiceError(QStringLiteral("Nu pot citi %1: este un director.").arg(describe(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ServiceError(QStringLiteral("Nu pot citi %1: %2").arg(describe(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ServiceError(QStringLiteral("Nu pot citi %1: %2").arg(describe(path), file.errorString()));
    IniDocument doc = fromBytes(bytes);
    doc.m_path = path;
    return doc;
}

IniDocument::Range IniDocument::findSection(const QString& section) const
{
    const QString wanted = Trim(section);
    Range range;
    QString name;
    const int count = int(m_lines.size());
    for (int i = 0; i < count; ++i) {
        if (parseHeader(m_lines[i], name) && sameName(name, wanted)) {
            range.header = i;
            range.end = count;
            for (int j = i + 1; j < count; ++j) {
                if (parseHeader(m_lines[j], name)) {
                    range.end = j;
                    break;
                }
            }
            return range;
        }
    }
    return range;
}

int IniDocument::findKey(const Range& range, const QString& key) const
{
    if (range.header < 0)
        return -1;
    const QString wanted = Trim(key);
    QString name;
    for (int i = range.header + 1; i < range.end; ++i) {
        if (parseKey(m_lines[i], name, nullptr) && sameName(name, wanted))
            return i;
    }
    return -1;
}

QString IniDocument::value(const QString& section, const QString& key) const
{
    const int line = findKey(findSection(section), key);
    if (line < 0)
        return QString();
    QString name;
    QString value;
    parseKey(m_lines[line], name, &value);
    return value;
}

bool IniDocument::contains(const QString& section, const QString& key) const
{
    return findKey(findSection(section), key) >= 0;
}

bool IniDocument::hasSection(const QString& section) const
{
    return findSection(section).header >= 0;
}

QStringList IniDocument::sections() const
{
    QStringList names;
    QString name;
    for (const QByteArray& line : m_lines) {
        if (parseHeader(line, name)) {
            bool seen = false;
            for (const QString& n : names)
                seen = seen || sameName(n, name);
            if (!seen)
                names << name;
        }
    }
    return names;
}

QStringList IniDocument::keys(const QString& section) const
{
    QStringList names;
    const Range range = findSection(section);
    if (range.header < 0)
        return names;
    QString name;
    for (int i = range.header + 1; i < range.end; ++i) {
        if (parseKey(m_lines[i], name, nullptr)) {
            bool seen = false;
            for (const QString& n : names)
                seen = seen || sameName(n, name);
            if (!seen)
                names << name;
        }
    }
    return names;
}

QByteArray IniDocument::encodeName(const QString& text, const char* what) const
{
    QByteArray bytes;
    QChar bad;
    if (!dbf::cp1250::tryEncode(text, bytes, &bad)) {
        throw ServiceError(QStringLiteral("Caracterul \"%1\" (U+%2) din %3 \"%4\" nu poate fi scris in %5 "
                                          "(codul Windows-1250).")
                               .arg(bad)
                               .arg(bad.unicode(), 4, 16, QLatin1Char('0'))
                               .arg(QString::fromLatin1(what), text, describe(m_path)));
    }
    return bytes;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = Trim(section);
    const QString keyName = Trim(key);
    if (sectionName.isEmpty() || hasLineBreak(sectionName) || sectionName.contains(QLatin1Char('['))
        || sectionName.contains(QLatin1Char(']'))) {
        throw ServiceError(QStringLiteral("Numele de sectiune \"%1\" nu poate fi scris in %2.")
                               .arg(section, describe(m_path)));
    }
    if (keyName.isEmpty() || hasLineBreak(keyName) || keyName.contains(QLatin1Char('='))
        || keyName.startsWith(QLatin1Char('[')) || keyName.startsWith(QLatin1Char(';'))) {
        throw ServiceError(QStringLiteral("Cheia \"%1\" nu poate fi scrisa in %2.").arg(key, describe(m_path)));
    }
    if (hasLineBreak(value)) {
        throw ServiceError(QStringLiteral("Valoarea cheii %1 contine un sfarsit de rand si nu poate fi scrisa in %2.")
                               .arg(keyName, describe(m_path)));
    }
    const QByteArray sectionBytes = encodeName(sectionName, "sectiunea");
    const QByteArray keyBytes = encodeName(keyName, "cheia");
    const QByteArray valueBytes = encodeName(value, "valoarea");

    const Range range = findSection(sectionName);
    if (range.header < 0) {
        m_lines.push_back('[' + sectionBytes + ']');
        m_lines.push_back(keyBytes + '=' + valueBytes);
        return;
    }
    const int line = findKey(range, keyName);
    if (line >= 0) {
        QByteArray& raw = m_lines[line];
        raw = raw.left(raw.indexOf('=') + 1) + valueBytes;
        return;
    }
    int insertAt = range.header + 1;
    for (int i = range.end - 1; i > range.header; --i) {
        if (!isBlankLine(m_lines[i])) {
            insertAt = i + 1;
            break;
        }
    }
    m_lines.insert(m_lines.begin() + insertAt, keyBytes + '=' + valueBytes);
}

void IniDocument::appendSection(const QString& section, const std::vector<std::pair<QString, QString>>& entries)
{
    const QString sectionName = Trim(section);
    if (findSection(sectionName).header >= 0)
        throw ServiceError(QStringLiteral("Sectiunea \"%1\" exista deja in %2.").arg(sectionName, describe(m_path)));
    // The checks of setValue, on a document of this section alone.
    IniDocument part;
    part.m_path = m_path;
    QSet<QString> seen;
    for (const auto& [key, value] : entries) {
        const QString keyName = Trim(key).toUpper();
        if (seen.contains(keyName))
            throw ServiceError(QStringLiteral("Cheia \"%1\" apare de doua ori in sectiunea %2.").arg(key, sectionName));
        seen.insert(keyName);
        if (part.m_lines.empty()) {
            part.setValue(sectionName, key, value);
        } else {
            IniDocument line;
            line.m_path = m_path;
            line.setValue(sectionName, key, value);
            part.m_lines.push_back(line.m_lines.back());
        }
    }
    if (part.m_lines.empty())
        part.m_lines.push_back('[' + encodeName(sectionName, "sectiunea") + ']');
    m_lines.insert(m_lines.end(), part.m_lines.begin(), part.m_lines.end());
}

QByteArray IniDocument::toBytes() const
{
    QByteArray bytes;
    for (const QByteArray& line : m_lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

void IniDocument::save(const QString& path) const
{
    const QFileInfo info(path);
    if (!info.dir().exists()) {
        throw ServiceError(QStringLiteral("Nu pot scrie %1: directorul %2 nu exista.")
                               .arg(describe(path), QDir::toNativeSeparators(info.absolutePath())));
    }
    if (info.isDir())
        throw ServiceError(QStringLiteral("Nu pot scrie %1: este un director.").arg(describe(path)));
    // The read-only attribute, checked by itself: a rename would otherwise replace the file.
    if (info.exists() && isReadOnly(info))
        throw ServiceError(QStringLiteral("Nu pot scrie %1: fisierul este numai pentru citire.").arg(describe(path)));

    try {
        StagedFile::replace(path, toBytes());
    } catch (const WriteError& e) {
        throw ServiceError(e.message());
    }
}

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

QString IniFile::value(const QString& section, const QString& key) const
{
    return IniDocument::load(m_path).value(section, key);
}

void IniFile::setValue(const QString& section, const QString& key, const QString& value)
{
    IniDocument doc = IniDocument::load(m_path);
    doc.setValue(section, key, value);
    doc.save(m_path);
}

QStringList IniFile::sections() const
{
    return IniDocument::load(m_path).sections();
}

QStringList IniFile::keys(const QString& section) const
{
    return IniDocument::load(m_path).keys(section);
}

}
