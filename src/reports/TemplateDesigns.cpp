#include "reports/TemplateDesigns.h"

#include "workbook/WorkbookError.h"

namespace velmor::reports {

using workbook::CellStyle;
using workbook::FontStyle;
using workbook::WorkbookDesign;

namespace {

enum Style { Title, Heading, Body, Note };

void addStyles(WorkbookDesign& d)
{
    d.fonts = {FontStyle{10, false}, FontStyle{10, true}, FontStyle{12, true}};
    d.styles = {
        CellStyle{2, false, CellStyle::Align::Left, false, false},  // Title
        CellStyle{1, true, CellStyle::Align::Center, true, true},   // Heading
        CellStyle{0, true, CellStyle::Align::General, true, false}, // Body
        CellStyle{0, false, CellStyle::Align::Left, false, true},   // Note
    };
}

void text(WorkbookDesign& d, int row, int column, const QString& value, int style)
{
    d.cells.append({row, column, value, style});
}

void blank(WorkbookDesign& d, int row, int column, int style)
{
    d.cells.append({row, column, std::monostate{}, style});
}

}

WorkbookDesign rapDesign()
{
    WorkbookDesign d;
    addStyles(d);
    d.columnWidths = {{1, 6}, {2, 32}, {3, 15}, {4, 14}, {5, 9}, {6, 9}, {7, 9}, {8, 9}, {9, 16}, {10, 6}};
    d.rowHeights = {{3, 18}, {4, 15}};
    text(d, 1, 1, QStringLiteral("Efective de animale pe capi de gospodarie - raport pentru agentia de plati"), Title);
    text(d, 3, 1, QStringLiteral("Nr. crt."), Heading);
    text(d, 3, 2, QStringLiteral("Nume/prenume fermier"), Heading);
    text(d, 3, 3, QStringLiteral("CNP"), Heading);
    text(d, 3, 4, QStringLiteral("Cod exploatatie"), Heading);
    text(d, 3, 5, QStringLiteral("Specie animal detinut"), Heading);
    for (int c = 6; c <= 8; ++c)
        blank(d, 3, c, Heading);
    text(d, 3, 9, QStringLiteral("Semnatura fermier"), Heading);
    for (int c : {1, 2, 3, 4, 9})
        blank(d, 4, c, Heading);
    const QStringList species {QStringLiteral("bovine"), QStringLiteral("ovine"), QStringLiteral("caprine"), QStringLiteral("cabaline")};
    for (int k = 0; k < species.size(); ++k)
        text(d, 4, 5 + k, species[k], Heading);
    const QStringList row5 {QStringLiteral("%NRCRT"), QStringLiteral("#NUMEP"), QStringLiteral("#CNP"), QString(),
                            QStringLiteral("#NRX1"), QStringLiteral("#NRX2"), QStringLiteral("#NRX3"), QStringLiteral("#NRX4"),
                            QString()};
    for (int c = 1; c <= row5.size(); ++c) {
        if (row5[c - 1].isEmpty())
            blank(d, 5, c, Body);
        else
            text(d, 5, c, row5[c - 1], Body);
    }
    text(d, 5, 10, QStringLiteral("#DBF"), -1);
    d.merges = {{3, 3, 5, 8}};
    return d;
}

WorkbookDesign machetaDesign()
{
    WorkbookDesign d;
    addStyles(d);
    d.columnWidths = {{1, 6}, {2, 9}, {3, 14}, {4, 9}, {5, 16}, {6, 15}, {7, 28}, {8, 12}, {9, 14},
                      {10, 14}, {11, 18}, {12, 6}, {13, 6}, {14, 6}, {15, 6}, {16, 6}};
    d.rowHeights = {{3, 18}, {4, 15}, {11, 27}};
    text(d, 3, 1, QStringLiteral("Nr.crt"), Heading);
    text(d, 3, 2, QStringLiteral("JUDEŢUL"), Heading);
    blank(d, 3, 3, Heading);
    text(d, 3, 4, QStringLiteral("LOCALITATEA"), Heading);
    blank(d, 3, 5, Heading);
    text(d, 3, 6, QStringLiteral("STRĂINAŞI"), Heading);
    blank(d, 3, 7, Heading);
    text(d, 3, 8, QStringLiteral("ADRESA -Domiciliul legal"), Heading);
    for (int c = 9; c <= 15; ++c)
        blank(d, 3, c, Heading);
    blank(d, 4, 1, Heading);
    const QStringList row4 {QStringLiteral("SIRUTA"), QStringLiteral("Denumire"), QStringLiteral("SIRUTA"), QStringLiteral("Denumire"),
                            QStringLiteral("CNP"), QStringLiteral("Nume şi prenume"), QStringLiteral("Judeţul"),
                            QStringLiteral("Localitatea*)"), QStringLiteral("Satul"), QStringLiteral("Strada"), QStringLiteral("Nr."),
                            QStringLiteral("Bloc"), QStringLiteral("Scara"), QStringLiteral("Etaj")};
    for (int k = 0; k < row4.size(); ++k)
        text(d, 4, 2 + k, row4[k], Heading);
    const QStringList row5 {QStringLiteral("%NRCRT"), QString(), QStringLiteral("#JUDL"), QStringLiteral("#SIRUTA"),
                            QStringLiteral("#LOCALIT"), QStringLiteral("#CNP"), QStringLiteral("#NUMEP"), QStringLiteral("#JUDET"),
                            QString(), QStringLiteral("#LOC"), QStringLiteral("#STR2"), QStringLiteral("#NR2"), QString(), QString(),
                            QString()};
    for (int c = 1; c <= row5.size(); ++c) {
        if (row5[c - 1].isEmpty())
            blank(d, 5, c, Body);
        else
            text(d, 5, c, row5[c - 1], Body);
    }
    text(d, 5, 16, QStringLiteral("#DBF"), -1);
    text(d, 9, 1, QStringLiteral("*) Localitatea = municipiu, oraş, comună"), -1);
    text(d, 11, 1,
         QStringLiteral("Notă: Toate informaţiile se vor completa obligatoriu cu majuscule şi diacritice;\n"
                        "numele se scrie împreună cu iniţiala tatălui (de exemplu POPESCU I. ION)."),
         Note);
    d.merges = {{3, 4, 1, 1}, {3, 3, 2, 3}, {3, 3, 4, 5}, {3, 3, 6, 7}, {3, 3, 8, 15}, {11, 11, 1, 15}};
    return d;
}

WorkbookDesign censusDesign(int k)
{
    if (k < 1 || k > 6)
        throw workbook::WorkbookError(QStringLiteral("Formularul de recensamant %1 nu exista.").arg(k));
    const bool list = k <= 4;
    const bool elsewhere = k == 2 || k == 4;
    WorkbookDesign d;
    addStyles(d);

    // Columns of the table: heading (two lines), width, placeholder of the template row.
    struct Column {
        const char* heading;
        const char* second;
        double width;
        const char* placeholder;
    };
    QList<Column> columns;
    const Column number {"Nr.", "crt.", 6, "%NRCRT"};
    if (list) {
        const Column name = k <= 2 ? Column {"NUMELE SI PRENUMELE", "(capul exploatatiei agricole)", 32, "#NUMEP"}
                                   : Column {"DENUMIREA", "(unitatii cu personalitate juridica)", 32, "#NUMEP"};
        columns << number << name;
        if (elsewhere)
            columns << Column {"Judetul", "", 14, "#JUD"} << Column {"Localitatea", "", 18, "#LOC"};
        columns << Column {"Strada", "", 22, "#STRADA"} << Column {"Numar", "", 8, "#NR"}
                << Column {"   Suprafata agricola", "ha", 8, "#HA"} << Column {"", "ari", 8, "#ARI"}
                << Column {"Animale", "", 9, "#ANIMALE"};
    } else {
        columns << number << Column {"", k == 5 ? "LOCALITATI COMPONENTE" : "PRIMARIA", 30, k == 5 ? "#LOCALITATE" : "#DENLOC"}
                << Column {"Numarul exploatatiilor agricole", "din lista L1", 14, "#NR1"} << Column {"", "din lista L2", 14, "#NR2"}
                << Column {"", "din lista L3", 14, "#NR3"} << Column {"", "din lista L4", 14, "#NR4"};
    }
    const int last = int(columns.size());          // the last table column
    const int marker = last + 1;                    // the column of #DBF
    const int formColumn = k == 1 || !list ? last : last - 1; // G for L1, F for L3, H for L2/L4, F for C1/C2
    const int headRow = list ? 18 : 19;
    const int templateRow = list ? 24 : 25;
    for (int c = 1; c <= last; ++c)
        d.columnWidths.append({c, columns[c - 1].width});
    d.columnWidths.append({marker, 6});

    static const char* const forms[] = {"L1", "L2", "L3", "L4", "C1", "C2"};
    text(d, 1, 2, QStringLiteral("ROMÂNIA"), Title);
    text(d, 1, formColumn, QStringLiteral("Formular ") + QLatin1String(forms[k - 1]), Title);
    text(d, 2, 1, QStringLiteral("RECENSAMANTUL GENERALAGRICOL - 2010"), Title);
    text(d, 4, 1, QStringLiteral("#JUDET"), -1);
    text(d, 6, 1, QStringLiteral("Primaria municipiului, sect.m.Bucuresti,"), -1);
    text(d, 7, 1, QStringLiteral("#PRIMARIA"), -1);
    if (list)
        text(d, 9, 1, QStringLiteral("#LOCALIT"), -1);
    text(d, 13, formColumn, QStringLiteral("#DATA"), -1);

    static const char* const subjects[] = {
        "exploatatiilor agricole fara personalitate juridica cu domiciliul in localitate",
        "persoanelor fizice cu domiciliul in alte localitati care detin teren agricol sau animale in localitate",
        "unitatilor cu personalitate juridica cu sediul in localitate",
        "unitatilor cu personalitate juridica cu sediul in alte localitati care detin teren agricol sau animale in localitate",
        "numarului de exploatatii agricole pe localitati componente",
        "numarului de exploatatii agricole pe primarie",
    };
    text(d, 15, 3, list ? QStringLiteral("LISTA") : QStringLiteral("SITUATIA"), Title);
    text(d, 16, 3, QLatin1String(subjects[k - 1]), -1);

    // The headings: two rows, then the column numbers (lists) and the template row.
    for (int c = 1; c <= last; ++c) {
        const Column& col = columns[c - 1];
        if (*col.heading)
            text(d, headRow, c, QLatin1String(col.heading), Heading);
        else
            blank(d, headRow, c, Heading);
        if (*col.second)
            text(d, headRow + 1, c, QLatin1String(col.second), Heading);
        else
            blank(d, headRow + 1, c, Heading);
    }
    if (list) {
        const int area = elsewhere ? 7 : 5; // the ha column
        d.merges = {{headRow, headRow, area, area + 1}};
        int n = 0;
        for (int c = 1; c <= last; ++c) {
            if (c == area + 1) {
                blank(d, 23, c, Heading);
                continue;
            }
            text(d, 23, c, QString::number(n++), Heading);
        }
        d.merges.append({23, 23, area, area + 1});
    } else {
        d.merges = {{headRow, headRow, 3, 6}};
    }
    for (int c = 1; c <= last; ++c)
        text(d, templateRow, c, QLatin1String(columns[c - 1].placeholder), Body);
    text(d, templateRow, marker, QStringLiteral("#DBF"), -1);

    // The signature block below the template row.
    const int sign = templateRow + 3;
    text(d, sign, 2, QStringLiteral("Intocmit de "), -1);
    text(d, sign + 1, 2, QStringLiteral("(numele si prenumele)"), Note);
    text(d, sign, formColumn - 1, QStringLiteral("Semnatura  "), -1);
    text(d, sign + 3, 2, QStringLiteral("Data completarii"), -1);
    d.rowHeights = {{headRow, 27}, {headRow + 1, 27}};
    d.emptySheets = 1;
    return d;
}

}
