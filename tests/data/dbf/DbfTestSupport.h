#pragma once

// Helpers shared by the dBase and engine tests: readable values, raw file bytes, and a minimal
// independent writer of dBase headers used to build foreign and damaged files.

#include "data/dbf/DbfValue.h"
#include "support/FileBytes.h"

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QtEndian>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmor::test {

// A value with its kind: "NULL", "i:101", "r:50.25", "t:text", "d:1948-02-29", "b:1".
inline std::string show(const dbf::Value& v)
{
    if (const auto* i = std::get_if<std::int64_t>(&v))
        return "i:" + std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v))
        return "r:" + QString::number(*d, 'g', 15).toStdString();
    if (const auto* s = std::get_if<QString>(&v))
        return "t:" + s->toStdString();
    if (const auto* date = std::get_if<QDate>(&v))
        return "d:" + date->toString(QStringLiteral("yyyy-MM-dd")).toStdString();
    if (const auto* b = std::get_if<bool>(&v))
        return std::string("b:") + (*b ? "1" : "0");
    return "NULL";
}

inline std::vector<std::string> showRow(const std::vector<dbf::Value>& row)
{
    std::vector<std::string> out;
    for (const auto& v : row)
        out.push_back(show(v));
    return out;
}

inline std::string u8(const QString& s)
{
    return s.toStdString();
}

// Replaces the file by a new one (a new file is much cheaper than truncating one on ext4).
inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile::remove(path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

inline int byteAt(const QByteArray& b, int i)
{
    return static_cast<unsigned char>(b.at(i));
}

inline quint16 le16(const QByteArray& b, int i)
{
    return qFromLittleEndian<quint16>(b.constData() + i);
}

inline quint32 le32(const QByteArray& b, int i)
{
    return qFromLittleEndian<quint32>(b.constData() + i);
}

struct RawField {
    const char* name;
    char type;
    int width;
    int decimals;
};

// A dBase III/IV header (32-byte descriptors) written independently of the code under test.
inline QByteArray rawHeader(unsigned char version, quint32 records, const QList<RawField>& fields,
                            unsigned char driver = 0xC8)
{
    const int headerLength = 32 + 32 * int(fields.size()) + 1;
    int recordLength = 1;
    for (const RawField& f : fields)
        recordLength += f.width;
    QByteArray h(headerLength, '\0');
    h[0] = char(version);
    h[1] = char(110);
    h[2] = char(3);
    h[3] = char(15);
    qToLittleEndian<quint32>(records, h.data() + 4);
    qToLittleEndian<quint16>(quint16(headerLength), h.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), h.data() + 10);
    h[29] = char(driver);
    int pos = 32;
    for (const RawField& f : fields) {
        const QByteArray name(f.name);
        std::copy(name.begin(), name.end(), h.data() + pos);
        h[pos + 11] = f.type;
        h[pos + 16] = char(f.width);
        h[pos + 17] = char(f.decimals);
        pos += 32;
    }
    h[pos] = '\x0D';
    return h;
}

// One record: deletion flag then each field padded (numbers right-aligned, the rest left-aligned).
inline QByteArray rawRecord(const QList<RawField>& fields, const QList<QByteArray>& values, char flag = ' ')
{
    QByteArray r(1, flag);
    for (int i = 0; i < fields.size(); ++i) {
        const QByteArray v = i < values.size() ? values[i] : QByteArray();
        const int w = fields[i].width;
        if (fields[i].type == 'N' || fields[i].type == 'M')
            r += v.rightJustified(w, ' ', true);
        else
            r += v.leftJustified(w, ' ', true);
    }
    return r;
}

}
