#include "domain/TextCase.h"

#include "data/dbf/CodePage1250.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(TextCase, RomanianUpperCaseStaysInWindows1250AndAzRuleIsUnchanged)
{
    struct Case {
        const char16_t* typed;
        const char16_t* romanian;
        const char16_t* az;
    };
    const Case cases[] = {
        {u"măgura", u"MĂGURA", u"MăGURA"},
        {u"știubei țarina", u"ȘTIUBEI ȚARINA", u"șTIUBEI țARINA"},
        {u"şes ţarc", u"ŞES ŢARC", u"şES ţARC"},
        {u"âmbru îngust", u"ÂMBRU ÎNGUST", u"âMBRU îNGUST"},
        {u"Valea-Lungă 2", u"VALEA-LUNGĂ 2", u"VALEA-LUNGă 2"},
        {u"ÉCOLE ü", u"ÉCOLE ü", u"ÉCOLE ü"}, // letters outside the rule stay as typed
    };
    for (const Case& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        const QString upper = upperRomanian(typed);
        EXPECT_EQ(upper, QString::fromUtf16(c.romanian)) << typed.toStdString();
        EXPECT_EQ(upperAZ(typed), QString::fromUtf16(c.az)) << typed.toStdString();
        // What a file holds: the cedilla forms, and the same text read back.
        ASSERT_TRUE(dbf::cp1250::canEncode(upper)) << upper.toStdString();
        EXPECT_EQ(dbf::cp1250::decode(dbf::cp1250::encode(upper)), dbf::cp1250::storedForm(upper)) << upper.toStdString();
    }
}
