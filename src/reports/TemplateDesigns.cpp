#include "reports/TemplateDesigns.h"

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

}
