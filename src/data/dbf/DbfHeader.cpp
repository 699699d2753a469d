#include "data/dbf/DbfHeader.h"

#include "data/dbf/DbfError.h"

#include <QByteArrayView>
#include <QDate>
#include <QFileInfo>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cctype>

namespace velmor::dbf {

namespace {

bool isPlainColumnName(const QString& name)
{
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_';
    });
}

// The width of the types whose width is fixed; 0 for the others.
int fixedWidth(char type)
{
    switch (type) {
    case 'D':
        return 8; // yyyyMMdd
    case 'L':
        return 1;
    case 'M':
        return 10; // the first block's number
    default:
        return 0;
    }
}

QString baseName(const QString& path)
{
    return QFileInfo(path).fileName();
}

Level levelOf(std::uint8_t version, const QString& path)
{
    if (version == 0x83)
        return Level::DBase3;
    if ((version & 0x07) == 0x04)
        return Level::Level7;
    if ((version & 0x07) == 0x03)
        return Level::DBase4;
    tableDamaged(path, QStringLiteral("versiunea 0x%1 nu este a unui tabel dBase").arg(version, 2, 16, QLatin1Char('0')));
}

// The column descriptors from `first` up to the end mark; the offsets follow one another.
QList<Field> parseDescriptors(const QByteArray& data, const TableHeader& h, const QString& path, int* recordLength)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.constData());
    const DescriptorLayout d = descriptorLayout(h.level);
    QList<Field> fields;
    QSet<QString> names;
    int pos = d.first;
    int offset = 0;
    bool terminated = false;
    while (pos < h.headerLength) {
        if (bytes[pos] == kFieldsEnd) {
            terminated = true;
            break;
        }
        if (pos + d.size > h.headerLength)
            tableDamaged(path, QStringLiteral("descrierea coloanei %1 este incompleta").arg(fields.size() + 1));
        int n = 0;
        while (n < d.nameLength && bytes[pos + n] != 0)
            ++n;
        Field field;
        field.name = QString::fromLatin1(data.constData() + pos, n).trimmed();
        field.type = char(std::toupper(bytes[pos + d.typeAt]));
        field.width = bytes[pos + d.widthAt];
        field.decimals = bytes[pos + d.widthAt + 1];
        field.offset = offset;
        if (field.name.isEmpty() || field.width == 0 || field.type < 'A' || field.type > 'Z'
            || (field.isNumeric() && field.decimals >= field.width && field.decimals != 0))
            tableDamaged(path, QStringLiteral("descrierea coloanei %1 este gresita").arg(fields.size() + 1));
        // Column names reach SQL declarations: only letters, digits and "_" are taken.
        if (!isPlainColumnName(field.name))
            tableDamaged(path, QStringLiteral("coloana %1 are numele nepermis \"%2\" (un nume de coloana are doar litere, cifre si _)")
                                   .arg(fields.size() + 1)
                                   .arg(field.name));
        if (names.contains(field.name.toUpper()))
            tableDamaged(path, QStringLiteral("coloana %1 apare de doua ori").arg(field.name));
        offset += field.width;
        names.insert(field.name.toUpper());
        fields.append(field);
        pos += d.size;
    }
    if (!terminated)
        tableDamaged(path, QStringLiteral("lipseste sfarsitul descrierii coloanelor"));
    if (fields.isEmpty())
        tableDamaged(path, QStringLiteral("tabelul nu are coloane"));
    *recordLength = offset + 1;
    return fields;
}

}

void tableDamaged(const QString& path, const QString& what)
{
    throw DbfError(QStringLiteral("Tabelul \"%1\" este deteriorat: %2.").arg(baseName(path), what));
}

DescriptorLayout descriptorLayout(Level level)
{
    if (level == Level::Level7)
        return {68, 48, 32, 32, 33};
    return {32, 32, 11, 11, 16};
}

std::uint8_t versionFor(Level level, bool hasMemo)
{
    switch (level) {
    case Level::DBase3:
        return hasMemo ? 0x83 : 0x03;
    case Level::DBase4:
        return hasMemo ? 0x8B : 0x03;
    case Level::Level7:
        return hasMemo ? 0x8C : 0x04;
    }
    return 0x03;
}

bool hasMemoField(const QList<Field>& fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const Field& f) { return f.type == 'M'; });
}

void stampLastChange(char* h)
{
    const QDate today = QDate::currentDate();
    h[header::LastChange] = char(today.year() - 1900);
    h[header::LastChange + 1] = char(today.month());
    h[header::LastChange + 2] = char(today.day());
}

void setRecordCount(char* h, quint32 count)
{
    qToLittleEndian<quint32>(count, h + header::RecordCount);
}

quint32 recordCountOf(const char* h)
{
    return qFromLittleEndian<quint32>(h + header::RecordCount);
}

TableHeader parseHeader(const QByteArray& data, qint64 fileSize, const QString& path)
{
    if (fileSize < header::MinimumSize)
        tableDamaged(path, QStringLiteral("antetul este incomplet (%1 octeti)").arg(fileSize));
    const char* bytes = data.constData();
    TableHeader h;
    h.version = std::uint8_t(bytes[header::Version]);
    h.level = levelOf(h.version, path);
    const quint32 count = recordCountOf(bytes);
    h.recordCount = int(count);
    h.headerLength = qFromLittleEndian<quint16>(bytes + header::HeaderLength);
    h.recordLength = qFromLittleEndian<quint16>(bytes + header::RecordLength);
    h.productionIndex = bytes[header::ProductionIndex] != 0;
    h.languageDriver = std::uint8_t(bytes[header::LanguageDriver]);
    if (count > 0x7FFFFFFFu)
        tableDamaged(path, QStringLiteral("numarul de inregistrari din antet este imposibil"));
    if (h.headerLength < descriptorLayout(h.level).first + 1 || h.headerLength > fileSize)
        tableDamaged(path, QStringLiteral("antetul este incomplet"));

    int columnsLength = 0;
    h.fields = parseDescriptors(data, h, path, &columnsLength);
    if (columnsLength != h.recordLength)
        tableDamaged(path, QStringLiteral("lungimea inregistrarii (%1) nu corespunde coloanelor (%2)")
                               .arg(h.recordLength)
                               .arg(columnsLength));
    const qint64 needed = qint64(h.headerLength) + qint64(h.recordCount) * h.recordLength;
    if (needed > fileSize)
        tableDamaged(path, QStringLiteral("antetul numara %1 inregistrari, dar fisierul se termina dupa %2")
                               .arg(h.recordCount)
                               .arg((fileSize - h.headerLength) / h.recordLength));
    return h;
}

QByteArray buildHeader(Level level, std::uint8_t version, std::uint8_t languageDriver, const QList<Field>& fields,
                       int recordCount, int recordLength)
{
    const DescriptorLayout d = descriptorLayout(level);
    const int headerLength = d.first + d.size * int(fields.size()) + 1;
    QByteArray bytes(headerLength, '\0');
    char* h = bytes.data();
    h[header::Version] = char(version);
    stampLastChange(h);
    setRecordCount(h, quint32(recordCount));
    qToLittleEndian<quint16>(quint16(headerLength), h + header::HeaderLength);
    qToLittleEndian<quint16>(quint16(recordLength), h + header::RecordLength);
    h[header::LanguageDriver] = char(languageDriver);
    if (level == Level::Level7) {
        const QByteArray driver("DBWINEE0");
        std::copy(driver.begin(), driver.end(), h + header::Level7DriverName);
    }
    int pos = d.first;
    for (const Field& f : fields) {
        const QByteArray name = f.name.toLatin1();
        std::copy(name.begin(), name.end(), h + pos);
        h[pos + d.typeAt] = f.type;
        h[pos + d.widthAt] = char(f.width);
        h[pos + d.widthAt + 1] = char(f.decimals);
        pos += d.size;
    }
    h[pos] = kFieldsEnd;
    return bytes;
}

QList<Field> layoutFields(const QList<FieldSpec>& specs, int* recordLength, const QString& path)
{
    QList<Field> fields;
    QSet<QString> names;
    int offset = 0;
    for (const FieldSpec& column : specs) {
        Field f;
        f.name = column.name.trimmed().toUpper();
        f.type = char(std::toupper(column.type));
        f.width = column.width;
        f.decimals = column.decimals;
        // Dates, logicals and memo block numbers have a fixed width; they and texts have no decimals.
        const int fixed = fixedWidth(f.type);
        if (fixed)
            f.width = fixed;
        if (fixed || f.type == 'C')
            f.decimals = 0;
        const bool badName = f.name.isEmpty() || f.name.size() > 10
            || std::any_of(f.name.begin(), f.name.end(), [](QChar c) {
                   return !(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('_');
               });
        if (badName)
            throw DbfError(QStringLiteral("Numele de coloana \"%1\" nu este permis in tabelul \"%2\".").arg(column.name, baseName(path)));
        if (names.contains(f.name))
            throw DbfError(QStringLiteral("Coloana %1 apare de doua ori in tabelul \"%2\".").arg(f.name, baseName(path)));
        names.insert(f.name);
        const bool badWidth = (f.type == 'C' && (f.width < 1 || f.width > 254))
            || ((f.type == 'N' || f.type == 'F') && (f.width < 1 || f.width > 20 || f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2)))
            || !QByteArrayView("CNFDLM").contains(f.type);
        if (badWidth)
            throw DbfError(QStringLiteral("Tipul coloanei %1 (%2,%3,%4) nu este permis in tabelul \"%5\".")
                               .arg(f.name, QString(QLatin1Char(f.type)))
                               .arg(f.width)
                               .arg(f.decimals)
                               .arg(baseName(path)));
        f.offset = offset;
        offset += f.width;
        fields.append(f);
    }
    if (fields.isEmpty())
        throw DbfError(QStringLiteral("Tabelul \"%1\" trebuie sa aiba cel putin o coloana.").arg(baseName(path)));
    *recordLength = offset + 1;
    return fields;
}

}
