#pragma once

#include "search/SearchTestWorld.h"

namespace velmor::test {

// Households of 2010 whose members the search by name finds, in three villages and all four
// register types; one household code beyond 32 bits; one household of 2009.
struct NameSearchWorld : SearchWorld {
    static constexpr qint64 Big = 5000000001LL;

    NameSearchWorld()
    {
        CouncilConstants constants;
        constants.JUDET = QStringLiteral("ALBA");
        ctx.profile.setConstants(constants);
        auto t = [](const char* v) { return dbf::Value(QString::fromUtf8(v)); };

        household(1, QStringLiteral("SAT NOU"), 1, 1, 1,
                  {{QStringLiteral("STRADA"), t("MORII")}, {QStringLiteral("NR"), t("12")}, {QStringLiteral("LOC"), t("SAT NOU")}});
        member(1, QStringLiteral("POPESCU ION"), 1, QStringLiteral("1800101221144"), QStringLiteral("cap gospodarie"));
        member(1, QStringLiteral("POPESCU MARIA"), 2, QStringLiteral("2820202221155"), QStringLiteral("sotie"));

        household(2, QStringLiteral("SAT NOU"), 1, 1, 2, {{QStringLiteral("STRADA"), t("ULMILOR")}, {QStringLiteral("NR"), t("3")}});
        member(2, QStringLiteral("IONESCU MARIA"), 1);
        member(2, QStringLiteral("ION VASILE"), 2);

        household(3, QStringLiteral("DEALU MARE"), 2, 1, 1,
                  {{QStringLiteral("JUDET"), t("BRASOV")}, {QStringLiteral("LOC"), t("FAGARAS")},
                   {QStringLiteral("STR2"), t("LUNGA")}, {QStringLiteral("NR2"), t("7")}});
        member(3, QStringLiteral("O'BRIEN ANA"), 1);

        household(4, QStringLiteral("VALEA LUNGA"), 3, 1, 1, {{QStringLiteral("DENUMIRE"), t("AGRO \"VALEA\" SRL")}});
        member(4, QStringLiteral("STAR*MAN"), 1);
        member(4, QStringLiteral("STARMAN ION"), 2);

        household(Big, QStringLiteral("SAT NOU"), 4, 2, 1,
                  {{QStringLiteral("JUDET"), t("CLUJ")}, {QStringLiteral("LOC"), t("DEJ")},
                   {QStringLiteral("STRADA"), t("GARII")}, {QStringLiteral("NR"), t("1")}});
        member(Big, QStringLiteral("POP ANA"), 1);

        household(20, QStringLiteral("SAT NOU"), 1, 9, 9, {{QStringLiteral("DENUMIRE"), t("FERMA VECHE SA")}}, 2009);
        member(20, QStringLiteral("POPA VECHI"), 1, {}, {}, 2009);
    }
};

}
