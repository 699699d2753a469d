#include "register/ChapterRules.h"

#include <algorithm>

namespace velmor::chapter_rules {

namespace {

const QString A = QStringLiteral("A");
const QString B = QStringLiteral("B");
const QString C = QStringLiteral("C");
const QString I = QStringLiteral("I");
const QString HaAri = QString(); // the HA/ARI pair of chapters 3 and 4

qint64 sumMetres(const ChapterRows& rows, std::initializer_list<int> codes, const QString& pair)
{
    qint64 sum = 0;
    for (int code : codes)
        sum += rows.metres(code, pair);
    return sum;
}

qint64 sumRange(const ChapterRows& rows, int from, int to, const QString& pair)
{
    qint64 sum = 0;
    for (int code = from; code <= to; ++code)
        sum += rows.metres(code, pair);
    return sum;
}

void setArea(ChapterRows& rows, int code, const QString& pair, qint64 metres)
{
    if (ChapterRow* row = rows.at(code))
        row->setArea(pair, metres);
}

void setTotals(ChapterRows& rows, int code, qint64 b, qint64 c, const qint64* i)
{
    ChapterRow* row = rows.at(code);
    if (!row)
        return;
    row->setArea(B, b);
    row->setArea(C, c);
    row->setArea(A, b);
    if (i)
        row->setArea(I, *i);
}

bool negative(const area::HaAri& pair)
{
    return pair.ha < 0 || pair.ari < 0;
}

// Writes split(metres) into a chapter 3 row, or 0 and 0 when it comes out negative.
bool setChecked(ChapterRows& rows, int code, qint64 metres)
{
    const area::HaAri pair = area::split(metres);
    const bool bad = negative(pair);
    if (ChapterRow* row = rows.at(code))
        row->setArea(HaAri, bad ? area::HaAri {} : pair);
    return bad;
}

void cap2Sums(const ChapterRows& rows, std::initializer_list<int> codes, qint64& b, qint64& c, qint64& i)
{
    b += sumMetres(rows, codes, B);
    c += sumMetres(rows, codes, C);
    i += sumMetres(rows, codes, I);
}

void cap2Rows8And12(ChapterRows& rows)
{
    qint64 b = 0, c = 0, i = 0;
    cap2Sums(rows, {1, 2, 3, 4, 6}, b, c, i);
    setTotals(rows, 8, b, c, &i);
    cap2Sums(rows, {9, 10, 11}, b, c, i);
    setTotals(rows, 12, b, c, &i);
}

void cap6Rows1And15(ChapterRows& rows)
{
    qint64 b = sumRange(rows, 2, 10, B);
    qint64 c = sumRange(rows, 2, 10, C);
    setTotals(rows, 1, b, c, nullptr);
    b += sumRange(rows, 11, 14, B);
    c += sumRange(rows, 11, 14, C);
    setTotals(rows, 15, b, c, nullptr);
}

void copyBToA(ChapterRow& row)
{
    row.setNumber(ChapterLayout::haField(A), row.number(ChapterLayout::haField(B)));
    row.setNumber(ChapterLayout::ariField(A), row.number(ChapterLayout::ariField(B)));
}

}

QStringList afterSaveCap2(ChapterRows& rows, int saved)
{
    QStringList warnings;
    if (saved >= 0 && saved < rows.size()) {
        ChapterRow& row = rows.rows()[saved];
        const qint64 b = row.metres(B);
        if (row.metres(I) > b) {
            row.setArea(I, b);
            warnings << QStringLiteral("Suprafata intravilana incorecta !");
        }
        row.setArea(A, b);
    }
    if (rows.metres(5, A) > rows.metres(4, A))
        warnings << QStringLiteral("Linia cod 4 sau 5 este incorecta !");
    if (rows.metres(7, A) > rows.metres(6, A))
        warnings << QStringLiteral("Linia cod 6 sau 7 este incorecta !");
    cap2Rows8And12(rows);
    return warnings;
}

void totalsCap2(ChapterRows& rows)
{
    for (ChapterRow& row : rows.rows())
        row.setArea(A, row.metres(B));
    cap2Rows8And12(rows);
}

area::HaAri totalOfCap2Row(const ChapterRow& row)
{
    return area::split(std::max<qint64>(0, row.metres(B) + row.metres(C)));
}

area::HaAri outsideOfCap2Row(const ChapterRow& row)
{
    return area::split(std::max<qint64>(0, row.metres(B) - row.metres(I)));
}

void CalculeazaCAP3(ChapterRows& cap3, double ownedHa, double ownedAri)
{
    if (ChapterRow* row = cap3.at(1)) {
        row->setNumber(QStringLiteral("HA"), ownedHa);
        row->setNumber(QStringLiteral("ARI"), ownedAri);
    }
}

QString VerificaCAP3(ChapterRows& cap3)
{
    QString message;
    const qint64 p1 = cap3.metres(1, HaAri);
    const qint64 sum2 = sumRange(cap3, 3, 7, HaAri);
    const qint64 sum8 = sumRange(cap3, 9, 13, HaAri);
    const QString withCr = Cap3Warning + QLatin1Char('\r') + Cap3Reason;
    if (setChecked(cap3, 15, p1 + sum2 - sum8))
        message = withCr;
    if (setChecked(cap3, 8, sum8))
        message = withCr;
    if (setChecked(cap3, 2, sum2))
        message = Cap3Warning + QStringLiteral("\r\n") + Cap3Reason;
    return message;
}

void CalculeazaCAP4Intern(ChapterRows& rows)
{
    const qint64 sA = sumRange(rows, 1, 20, HaAri);
    const qint64 s21 = sumRange(rows, 22, 25, HaAri);
    const qint64 sC = sumMetres(rows, {26, 27, 29, 30, 31, 32}, HaAri);
    setArea(rows, 21, HaAri, s21);
    setArea(rows, 33, HaAri, sA + s21 + sC);
    setArea(rows, 35, HaAri, rows.metres(34, HaAri) + sA + s21 + sC);
}

void CalculeazaCAP5Intern(ChapterRows& rows)
{
    const QString nr = QStringLiteral("NR");
    qint64 sum = 0;
    for (int code = 2; code <= 11; ++code)
        sum += std::llround(rows.number(code, nr));
    if (ChapterRow* row = rows.at(1))
        row->setNumber(nr, double(sum));
}

void afterSaveCap6(ChapterRows& rows, int saved)
{
    if (saved >= 0 && saved < rows.size())
        copyBToA(rows.rows()[saved]);
    cap6Rows1And15(rows);
}

void totalsCap6(ChapterRows& rows)
{
    for (ChapterRow& row : rows.rows())
        copyBToA(row);
    cap6Rows1And15(rows);
}

void CalculeazaCAP7Intern(ChapterRows& rows)
{
    const QString nr = QStringLiteral("NR");
    qint64 sum = 0;
    for (int code : {2, 3, 4, 5, 6, 8, 10})
        sum += std::llround(rows.number(code, nr));
    if (ChapterRow* row = rows.at(1))
        row->setNumber(nr, double(sum));
}

QStringList checkCap10(const ChapterRow& row, int currentYear)
{
    const qint64 v = std::llround(row.number(QStringLiteral("DETALII")));
    if (v == 0)
        return {};
    const int code = row.codeTenths() % 10 == 0 ? row.codeTenths() / 10 : 0;
    bool wrong = false;
    if (code >= 2 && code <= 11 && code % 3 == 2)
        wrong = v < 0 || v > 345;
    else if (code >= 3 && code <= 12 && code % 3 == 0)
        wrong = v < 1700 || v > currentYear;
    if (!wrong)
        return {};
    return {QStringLiteral("Linia cod ") + QString::number(code) + QStringLiteral(" este incorecta !")};
}

}
