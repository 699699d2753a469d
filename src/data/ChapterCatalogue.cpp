#include "data/ChapterCatalogue.h"

#include <cmath>

namespace velmor::data {

namespace {

const char* const kNames2[] = {
    "Teren arabil",
    "Pasuni naturale",
    "Fanete naturale",
    "Vii, pepiniere viticole si hameisti",
    "din care: vii pe rod",
    "Livezi de pomi, pepiniere, arbusti fructiferi",
    "din care livezi pe rod",
    "TEREN AGRICOL. Total:1+2+3+4+6",
    "Fond forestier si alte terenuri cu vegetatie forestiera",
    "Curti si cladiri",
    "Alte terenuri",
    "SUPRAFATA TOTALA: 8+9+10+11",
};
const char* const kNames3[] = {
    "Suprafata agricola in proprietate (Cap.2 cod 8)",
    "Suprafata agricola primita",
    " - in arenda",
    " - in parte",
    " - in asociere",
    " - sub forma de actiuni",
    " - sub alte forme",
    "Suprafata agricola data (cod 9..13)",
    " - in arenda",
    " - in parte",
    " - in asociere",
    " - sub forma de actiuni",
    " - sub alte forme",
    "Din cod 8: la societati/asociatii agr.cu personalit.jurid.",
    "Suprafata agricola utilizata (cod 1+2-8)",
};
const char* const kNames4[] = {
    "Grau",
    "Secara",
    "Orz",
    "Orzoaica",
    "Ovaz",
    "Porumb pentru boabe",
    "Alte cereale",
    "Mazare boabe",
    "Fasole boabe",
    "Alte leguminoase pentru boabe",
    "Plante textile -total-",
    "Floarea soarelui",
    "Rapita pentru ulei",
    "Soia boabe",
    "Alte plante uleioase",
    "Sfecla de zahar",
    "Tutun",
    "Alte plante pentru alte industrializari",
    "Plante medicinale si aromatice -total-",
    "Cartofi -total-",
    "Legume in camp si solarii -total: 22..25",
    " - tomate total",
    " - varza total",
    " - ardei total",
    " - alte legume",
    "Pepeni verzi si galbeni",
    "Plante nutret",
    "  din care lucerna",
    "Plante pt. producere de seminte si seminceri",
    "Capsunerii -total-",
    "Flori in camp",
    "Alte culturi",
    "TOTAL SUPRAFATA ARABILA CULTIVATA",
    "RAMAS NEINSAMANTAT SI OGOARE",
    "TOTAL TEREN ARABIL (33+34)",
};
const char* const kNames5[] = {
    "POMI PE ROD -Total : cod 2..11",
    "Meri",
    "Peri",
    "Gutui",
    "Pruni",
    "Caisi si zarzari",
    "Piersici",
    "Ciresi",
    "Visini",
    "Nuci",
    "Alti pomi",
    "Pomi tineri",
    "Duzi",
};
const char* const kNames6[] = {
    "TEREN ARABIL TOTAL (2+..+10) din care:",
    " - grau + secara",
    " - porumb boabe",
    " - floarea soarelui",
    " - soia",
    " - sfecla de zahar",
    " - legume",
    " - cartofi total",
    " - plante de nutret",
    " - alte culturi",
    "Pasuni naturale",
    "Fanete naturale",
    "Plantatii viticole",
    "Plantatii pomicole",
    "TOTAL TEREN AGRICOL",
};
const char* const kNames7[] = {
    "Bovine - Total (cod 2+..+6+8+10)",
    " - Vaci si bivolite",
    " - Junici gestante",
    " - Tauri reproducatori",
    " - Boi si bivoli de munca",
    " - Tineret femel -total-",
    "   > din care: sub 6 luni",
    " - Tineret mascul -total-",
    "   > din care: sub 6 luni",
    " - Bovine la ingrasat",
    "Ovine -total-",
    " - din care: > oi fatatoare",
    "             > mioare montate",
    "             > tineret sub 1 an",
    "             > berbeci de reproductie autorizati",
    "Caprine -total-",
    " - din care: capre",
    "Porcine -total-",
    " - din care: > scroafe de prasila",
    "             > tineret femel prasila (6-9luni)",
    "             > tineret din crescatorii (2-4luni)",
    "             > vieri de reproductie autorizati",
    "Cabaline -total-",
    " - din care: cabaline de munca peste 3 ani",
    " - armasari de reproductie autorizati",
    "Magari si catari",
    "Iepuri de casa",
    "Vulpi",
    "Nurci",
    "Nutrii",
    "Pasari -total-",
    " - din care: pasari ouatoare adulte",
    "Albine - familii",
};
const char* const kNames8[] = {
    "Bovine > Vitei obtinuti",
    "            > Cumparari",
    "            > Alte intrari",
    "            > Vanzari",
    "            > Taieri",
    "            > Animale moarte",
    "            > Alte iesiri",
    " - din care: vaci si bivolite > Cumparari",
    "                                         > Alte intrari",
    "                                         > Vanzari",
    "                                         > Taieri",
    "                                         > Animale moarte",
    "                                         > Alte iesiri",
    "Ovine   > Miei obtinuti",
    "            > Cumparari",
    "            > Alte intrari",
    "            > Vanzari",
    "            > Taieri",
    "            > Animale moarte",
    "            > Alte iesiri",
    "Caprine > Iezi obtinuti",
    "             > Cumparari",
    "             > Alte intrari",
    "             > Vanzari",
    "             > Taieri",
    "             > Animale moarte",
    "             > Alte iesiri",
    "Porcine > Purcei obtinuti",
    "             > Cumparari",
    "             > Alte intrari",
    "             > Vanzari",
    "             > Taieri",
    "             > Animale moarte",
    "             > Alte iesiri",
    "Cabaline > Manji obtinuti",
    "               > Cumparari",
    "               > Alte intrari",
    "               > Vanzari",
    "               > Animale moarte",
    "               > Alte iesiri",
};
const char* const kNames9[] = {
    "Tractoare          > pana  la 45 CP",
    "                         > intre 46-55 CP",
    "                         > intre 56-65 CP",
    "                         >    peste 65 CP",
    "Motocultoare",
    "Motocositoare",
    "Pluguri pentru tractor",
    "Pluguri cu tractiune animala",
    "Cultivatoare",
    "Grape cu tractiune mecanica (toate tipurile)",
    "Grape cu tractiune animala",
    "Combinatoare",
    "Semanatori cu tractiune mecanica pentru > paioase",
    "                                                > prasitoare",
    "Semanatori cu tractiune animala",
    "Masini pt. plantat cartofi",
    "Masini pt. plantat rasaduri",
    "Masini pt. imprastiat ingrasaminte chimice",
    "Masini pt. imprastiat ingrasaminte organice",
    "Masini pt. stropit si prafuit cu tractiune mecanica",
    "Masini pentru erbicidat",
    "Combine autopropulsate pentru recoltat > cereale paioase",
    "                                                    > porumb",
    "                                                    > furaje",
    "Batoze pentru cereale paioase",
    "Combine pentru recoltat sfecla de zahar",
    "Dislocatoare pentru sfecla de zahar",
    "Masini de decoletat sfecla de zahar",
    "Combine si masini pentru recoltat cartofi",
    "Cositori cu tractiune mecanica",
    "Vindrovere autopropulsate pentru recoltat furaje",
    "Prese pentru balotat paie si fan",
    "Remorci pentru tractor",
    "Autovehicule pt.transp.marfuri cu capacitate pana la 1.5 t",
    "Autovehicule pt.transp.marfuri cu capacitate peste 1.5 t",
    "Care si carute",
    "Incarcatoare hidraulice",
    "Motopompe pentru irigat",
    "Instalatii de muls mecanic",
    "Instalatii pentru prepararea furajelor",
    "Instalatii pentru evacuarea dejectiilor",
    "Instalatii / cazan pentru fabricat tuica / rachiu",
};

const char* const* namesOf(int chapter)
{
    switch (chapter) {
    case 2: return kNames2;
    case 3: return kNames3;
    case 4: return kNames4;
    case 5: return kNames5;
    case 6: return kNames6;
    case 7: return kNames7;
    case 8: return kNames8;
    case 9: return kNames9;
    default: return nullptr;
    }
}

constexpr int kCounts[] = {0, 0, 12, 15, 35, 13, 15, 33, 40, 42, 19, 1};

static_assert(cap2::Count == kCounts[2] && cap3::Count == kCounts[3] && cap4::Count == kCounts[4]
              && cap5::Count == kCounts[5] && cap6::Count == kCounts[6] && cap7::Count == kCounts[7]
              && cap8::Count == kCounts[8] && cap9::Count == kCounts[9] && cap10::Count == kCounts[10],
              "named rows and catalogue counts disagree");

bool inCatalogue(int chapter, int position)
{
    return chapter >= 2 && chapter <= 11 && position >= 1 && position <= kCounts[chapter];
}

}

int chapterRowCount(int chapter)
{
    return chapter >= 2 && chapter <= 11 ? kCounts[chapter] : 0;
}

int chapterRowCodeTenths(int chapter, int position)
{
    if (!inCatalogue(chapter, position) || chapter == 11)
        return 0;
    if (chapter != 7)
        return position * 10;
    if (position <= 14)
        return position * 10;
    if (position == 15)
        return 141;
    if (position <= 21)
        return (position - 1) * 10;
    if (position == 22)
        return 201;
    if (position <= 24)
        return (position - 2) * 10;
    if (position == 25)
        return 221;
    return (position - 3) * 10;
}

double chapterRowCode(int chapter, int position)
{
    return chapterRowCodeTenths(chapter, position) / 10.0;
}

QString chapterRowCodeText(int chapter, int position)
{
    const int tenths = chapterRowCodeTenths(chapter, position);
    if (tenths % 10 == 0)
        return QString::number(tenths / 10);
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

int chapterPositionOfCode(int chapter, double code)
{
    const long tenths = std::lround(code * 10);
    if (std::fabs(code * 10 - double(tenths)) > 1e-6)
        return 0;
    for (int k = 1; k <= chapterRowCount(chapter); ++k) {
        if (chapter != 11 && chapterRowCodeTenths(chapter, k) == tenths)
            return k;
    }
    return 0;
}

QString chapterRowName(int chapter, int position)
{
    const char* const* names = namesOf(chapter);
    if (!names || !inCatalogue(chapter, position))
        return {};
    return QString::fromLatin1(names[position - 1]);
}

}
