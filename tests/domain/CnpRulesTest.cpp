#include "domain/CnpRules.h"

#include <gtest/gtest.h>

using namespace velmor::cnp;

namespace {

// Completes twelve digits with their check digit.
QString withCheck(const QString& twelve)
{
    const int c = CifraControl(twelve);
    EXPECT_GE(c, 0) << twelve.toStdString();
    return twelve + QString::number(c);
}

// Same code with another (wrong) check digit.
QString withWrongCheck(const QString& twelve)
{
    return twelve + QString::number((CifraControl(twelve) + 1) % 10);
}

const QString kMale = QStringLiteral("b\u0103rb\u0103tesc");
const QString kFemale = QStringLiteral("femeiesc");

}

TEST(CnpCheckDigit, WorkedExample)
{
    // S=1, 80-01-01, positions 8-12 = 2 2 1 1 4: sum 136, 136 mod 11 = 4.
    EXPECT_EQ(CifraControl(QStringLiteral("180010122114")), 4);
    EXPECT_TRUE(GetCorect(QStringLiteral("1800101221144"), false));
    for (int d = 0; d <= 9; ++d) {
        if (d == 4)
            continue;
        EXPECT_FALSE(GetCorect(QStringLiteral("180010122114") + QString::number(d), false)) << d;
    }
    EXPECT_EQ(GetSex(QStringLiteral("1800101221144")), kMale);
    EXPECT_EQ(GetNascutLa(QStringLiteral("1800101221144")), QDate(1980, 1, 1));
    EXPECT_TRUE(CNPValid(QStringLiteral("1800101221144")));
}

TEST(CnpCheckDigit, RemainderTenCountsAsOne)
{
    // Find twelve digits whose weighted sum leaves 10, to pin the rule down.
    QString found;
    for (int tail = 0; tail < 100000 && found.isEmpty(); ++tail) {
        const QString twelve = QStringLiteral("1800101") + QStringLiteral("%1").arg(tail, 5, 10, QLatin1Char('0'));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (twelve[i].unicode() - '0') * (QStringLiteral("279146358279")[i].unicode() - '0');
        if (sum % 11 == 10)
            found = twelve;
    }
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(CifraControl(found), 1);
    EXPECT_TRUE(GetCorect(found + QStringLiteral("1"), false));
    EXPECT_FALSE(GetCorect(found + QStringLiteral("0"), false));
}

TEST(CnpCorect, EmptyCodeFollowsAcceptGol)
{
    EXPECT_TRUE(GetCorect(QString(), true));
    EXPECT_FALSE(GetCorect(QString(), false));
    EXPECT_EQ(GetSex(QString()), QString());
    EXPECT_TRUE(GetNascutLa(QString()).isNull());
}

TEST(CnpCorect, LengthAndDigits)
{
    EXPECT_FALSE(GetCorect(QStringLiteral("180010122114"), true));   // 12 characters
    EXPECT_FALSE(GetCorect(QStringLiteral("18001012211440"), true)); // 14 characters
    EXPECT_FALSE(GetCorect(QStringLiteral("18001012211a4"), true));
    EXPECT_FALSE(GetCorect(QStringLiteral(" 800101221144"), true));
    EXPECT_FALSE(CNPValid(QStringLiteral("180010122114")));
    EXPECT_FALSE(CNPValid(QStringLiteral("18001012211a4")));
}

TEST(CnpCorect, FirstDigitsThatAreNeverValid)
{
    for (const char* s : { "0", "3", "4" }) {
        const QString twelve = QString::fromLatin1(s) + QStringLiteral("80010122114");
        EXPECT_FALSE(GetCorect(withCheck(twelve), false)) << s;
        EXPECT_FALSE(CNPValid(withCheck(twelve))) << s;
    }
}

TEST(CnpCorect, DateMustExist)
{
    // 30 February, whatever the check digit.
    for (int d = 0; d <= 9; ++d)
        EXPECT_FALSE(GetCorect(QStringLiteral("180023022114") + QString::number(d), false));
    EXPECT_FALSE(GetCorect(withCheck(QStringLiteral("180130122114")), false)); // month 13
    EXPECT_FALSE(GetCorect(withCheck(QStringLiteral("180000122114")), false)); // month 00
    EXPECT_FALSE(GetCorect(withCheck(QStringLiteral("180010022114")), false)); // day 00
    EXPECT_FALSE(GetCorect(withCheck(QStringLiteral("180043122114")), false)); // 31 April
    EXPECT_TRUE(GetCorect(withCheck(QStringLiteral("148022922114")), false));  // 29.02.1948
    EXPECT_FALSE(GetCorect(withCheck(QStringLiteral("149022922114")), false)); // 1949 not leap
}

TEST(CnpCorect, CenturyOfValidityRule)
{
    // 29 February 00 exists in 2000 but not in 1900.
    for (const char* s : { "1", "2", "7", "8" })
        EXPECT_FALSE(GetCorect(withCheck(QString::fromLatin1(s) + QStringLiteral("00022922114")), false)) << s;
    for (const char* s : { "5", "6", "9" })
        EXPECT_TRUE(GetCorect(withCheck(QString::fromLatin1(s) + QStringLiteral("00022922114")), false)) << s;
    // 29 February 04 exists in both.
    for (const char* s : { "1", "2", "5", "6", "7", "8", "9" })
        EXPECT_TRUE(GetCorect(withCheck(QString::fromLatin1(s) + QStringLiteral("04022922114")), false)) << s;
}

TEST(CnpNascutLa, CenturyDiffersFromValidityForSevenEightNine)
{
    const QString s7 = withCheck(QStringLiteral("780010122114"));
    EXPECT_TRUE(GetCorect(s7, false)); // validity uses 1980
    EXPECT_EQ(GetNascutLa(s7, QDate(2090, 1, 1)), QDate(2080, 1, 1));
    const QString s8 = withCheck(QStringLiteral("880010122114"));
    EXPECT_TRUE(GetCorect(s8, false));
    EXPECT_EQ(GetNascutLa(s8, QDate(2090, 1, 1)), QDate(2080, 1, 1));
    const QString s9 = withCheck(QStringLiteral("903041522114"));
    EXPECT_TRUE(GetCorect(s9, false)); // validity uses 2003
    EXPECT_EQ(GetNascutLa(s9), QDate(1903, 4, 15));
    // 29.02.00 with S=7: invalid for validity (1900) but a date in 2000.
    const QString leap7 = withCheck(QStringLiteral("700022922114"));
    EXPECT_FALSE(GetCorect(leap7, false));
    EXPECT_EQ(GetNascutLa(leap7), QDate(2000, 2, 29));
    // ... and with S=9 the other way round.
    const QString leap9 = withCheck(QStringLiteral("900022922114"));
    EXPECT_TRUE(GetCorect(leap9, false));
    EXPECT_TRUE(GetNascutLa(leap9).isNull());
}

// S = 7 and 8 read 20YY unless that date is still to come; then 19YY. The other digits keep
// their century whatever the day.
TEST(CnpNascutLa, NoBirthDateInTheFuture)
{
    const QDate today(2026, 12, 10);
    const struct {
        const char* code;
        QDate expected;
    } cases[] = {
        {"7850315221141", QDate(1985, 3, 15)},  // 2085 is still to come
        {"8850315221141", QDate(1985, 3, 15)},
        {"7100315221141", QDate(2010, 3, 15)},  // 2010 is past
        {"8261210221141", QDate(2026, 12, 10)}, // today is no future
        {"8261211221141", QDate(1926, 12, 11)}, // tomorrow is
        {"7000229221141", QDate(2000, 2, 29)},
        {"5850315221141", QDate(2085, 3, 15)},  // 5, 6: 20YY as written
        {"6850315221141", QDate(2085, 3, 15)},
        {"1850315221141", QDate(1985, 3, 15)},  // 1, 2, 9: 19YY
        {"2850315221141", QDate(1985, 3, 15)},
        {"9850315221141", QDate(1985, 3, 15)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetNascutLa(QString::fromLatin1(c.code), today), c.expected) << c.code;
    // The member entry's own example is valid and gets 1985 today.
    EXPECT_TRUE(GetCorect(QStringLiteral("7850315221141"), false));
    EXPECT_EQ(GetNascutLa(QStringLiteral("7850315221141")), QDate(1985, 3, 15));
}

TEST(CnpNascutLa, OtherDigits)
{
    EXPECT_EQ(GetNascutLa(QStringLiteral("2480229")), QDate(1948, 2, 29));
    EXPECT_EQ(GetNascutLa(QStringLiteral("5030415")), QDate(2003, 4, 15));
    EXPECT_EQ(GetNascutLa(QStringLiteral("6030415")), QDate(2003, 4, 15));
    // Any other first character counts as 19YY.
    EXPECT_EQ(GetNascutLa(QStringLiteral("3030415")), QDate(1903, 4, 15));
    EXPECT_EQ(GetNascutLa(QStringLiteral("0030415")), QDate(1903, 4, 15));
}

TEST(CnpNascutLa, NoDateWhenShortNotNumericOrNonexistent)
{
    EXPECT_TRUE(GetNascutLa(QStringLiteral("180010")).isNull()); // six characters
    EXPECT_TRUE(GetNascutLa(QStringLiteral("18a0101")).isNull());
    EXPECT_TRUE(GetNascutLa(QStringLiteral("1800230")).isNull());
    EXPECT_TRUE(GetNascutLa(QStringLiteral("1801301")).isNull());
    EXPECT_FALSE(GetNascutLa(QStringLiteral("1800101")).isNull());
}

TEST(CnpSex, FirstDigit)
{
    for (const char* s : { "1", "5", "7" })
        EXPECT_EQ(GetSex(QString::fromLatin1(s) + QStringLiteral("800101221144")), kMale) << s;
    for (const char* s : { "2", "6", "8", "9", "3", "4", "0" })
        EXPECT_EQ(GetSex(QString::fromLatin1(s) + QStringLiteral("800101221144")), kFemale) << s;
    EXPECT_EQ(GetSex(QStringLiteral("1")), kMale);
}

TEST(CnpValidUpgrade, StricterFirstDigitAndCentury)
{
    // Valid for the entry, not for the upgrade rule: S = 7 and 8.
    EXPECT_FALSE(CNPValid(withCheck(QStringLiteral("780010122114"))));
    EXPECT_FALSE(CNPValid(withCheck(QStringLiteral("880010122114"))));
    // S = 9 uses 2000: 29 February 00 exists.
    EXPECT_TRUE(CNPValid(withCheck(QStringLiteral("900022922114"))));
    EXPECT_FALSE(CNPValid(withCheck(QStringLiteral("100022922114"))));
    // The upgrade example: S = 5, 03-04-15.
    EXPECT_TRUE(CNPValid(withCheck(QStringLiteral("503041522114"))));
    EXPECT_EQ(GetNascutLa(withCheck(QStringLiteral("503041522114"))), QDate(2003, 4, 15));
    EXPECT_FALSE(CNPValid(withWrongCheck(QStringLiteral("503041522114"))));
}

TEST(CnpValidUpgrade, CountyFromOneToFortySeven)
{
    EXPECT_FALSE(CNPValid(withCheck(QStringLiteral("180010100114"))));
    EXPECT_TRUE(CNPValid(withCheck(QStringLiteral("180010101114"))));
    EXPECT_TRUE(CNPValid(withCheck(QStringLiteral("180010147114"))));
    EXPECT_FALSE(CNPValid(withCheck(QStringLiteral("180010148114"))));
    // The entry rule does not look at the county.
    EXPECT_TRUE(GetCorect(withCheck(QStringLiteral("180010100114")), false));
    EXPECT_TRUE(GetCorect(withCheck(QStringLiteral("180010152114")), false));
}
