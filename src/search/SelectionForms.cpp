#include "search/SelectionForms.h"

#include "services/Settings.h"

#include <QLocale>

#include <cmath>

namespace velmor::search {

using output::ReportElement;
using output::ValueFormat;
using Kind = ReportElement::Kind;

namespace {

constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;

struct ValueColumn {
    QString heading;
    QString field;
    ValueFormat format;
    QString over; // a heading over this column and the next
};

QList<ValueColumn> valueColumns(int chapter, double rowCode)
{
    const int code = int(std::llround(rowCode));
    switch (chapter) {
    case 1:
        return {{QStringLiteral("Data nasterii"), QStringLiteral("DATAN"), ValueFormat::Date, {}},
                {QStringLiteral("SEX"), QStringLiteral("CODSEX"), ValueFormat::Whole, {}}};
    case 2:
        return {{QStringLiteral("TOTAL"), QStringLiteral("C1"), ValueFormat::Decimal4, {}},
                {QStringLiteral("extravilan"), QStringLiteral("C5"), ValueFormat::Decimal4, {}},
                {QStringLiteral("intravilan"), QStringLiteral("C4"), ValueFormat::Decimal4, {}}};
    case 3:
    case 4: return {{QStringLiteral("Suprafata"), QStringLiteral("C1"), ValueFormat::Decimal4, {}}};
    case 5:
    case 9: return {{QStringLiteral("Bucati"), QStringLiteral("C1"), ValueFormat::Whole, {}}};
    case 7: return {{QStringLiteral("Capete"), QStringLiteral("C1"), ValueFormat::Whole, {}}};
    case 8:
        return {{QStringLiteral("Sem.I"), QStringLiteral("C1"), ValueFormat::Whole, QStringLiteral("Capete")},
                {QStringLiteral("Sem.II"), QStringLiteral("C2"), ValueFormat::Whole, {}}};
    case 10:
        if (code == 2)
            return {{QStringLiteral("Suprafata"), QStringLiteral("C1"), ValueFormat::Decimal4, {}},
                    {QStringLiteral("COD MAT."), QStringLiteral("C2"), ValueFormat::Whole, {}}};
        if (code == 3)
            return {{QStringLiteral("Suprafata"), QStringLiteral("C1"), ValueFormat::Decimal4, {}},
                    {QStringLiteral("ANUL"), QStringLiteral("C2"), ValueFormat::Whole, {}}};
        return {{QStringLiteral("Suprafata"), QStringLiteral("C1"), ValueFormat::Decimal4, {}}};
    }
    return {};
}

ReportElement framed(ReportElement element)
{
    element.frame = true;
    return element;
}

}

SelectionFormTexts selectionFormTexts(const Settings& settings)
{
    auto constant = [&](const char* key) { return settings.Citeste_Ini(QStringLiteral("CONSTANTE"), QLatin1String(key)); };
    SelectionFormTexts texts;
    texts.county = constant("JUDET");
    texts.councilType = constant("TIPLOC");
    texts.locality = constant("Comuna");
    texts.mayor = constant("PRIMAR");
    texts.secretary = constant("SECRETAR");
    return texts;
}

output::ReportForm selectionForm(int chapter, double rowCode)
{
    output::ReportForm form;
    form.fontFamily = QStringLiteral("Liberation Sans"); // metric twin of Arial
    const double width = form.bodyWidth();

    // Title: the council on the left, the coat of arms on the right, then the subject, the filter
    // and the date.
    form.title.add(output::reportText(QStringLiteral("ROMANIA"), QRectF(0, 0, 100, 5), left, 10, true));
    form.title.add(output::reportLabel(QStringLiteral("JUDETUL"), QString(), QRectF(0, 5, 100, 5), left, 10, true));
    form.title.add(output::reportLabel(QStringLiteral("CONSILIUL"), QString(), QRectF(0, 10, 100, 5), left, 10, true));
    form.title.add(output::reportElement(Kind::Picture, QStringLiteral("STEMA"), QRectF(width - 22, 0, 22, 22)));
    form.title.add(output::reportText(QStringLiteral("RAPORT,"), QRectF(0, 24, width, 7), Qt::AlignHCenter | Qt::AlignTop, 14, true));
    form.title.add(output::reportLabel(QStringLiteral("SUBIECT"), QString(), QRectF(0, 31, width, 6), Qt::AlignHCenter | Qt::AlignTop, 11, true));
    form.title.add(output::reportLabel(QStringLiteral("FILTRU"), QString(), QRectF(0, 37, width, 5), Qt::AlignHCenter | Qt::AlignTop, 9));
    form.title.add(output::reportLabel(QStringLiteral("DATA"), QString(), QRectF(0, 42, width, 5), Qt::AlignRight | Qt::AlignTop, 9));
    form.title.height = 50;

    struct Cell {
        QString heading;
        QString field; // empty: the running number
        double width;
        ValueFormat format;
        Qt::Alignment alignment;
        QString over;
    };
    QList<Cell> cells{{QStringLiteral("Nr.crt."), QString(), 12, ValueFormat::Text, right, {}},
                      {QStringLiteral("NUMELE SI PRENUMELE"), QStringLiteral("NUMEP"), 0, ValueFormat::Text, left, {}},
                      {QStringLiteral("CNP"), QStringLiteral("CNP"), 28, ValueFormat::Text, centre, {}},
                      {QStringLiteral("LOCALITATEA"), QStringLiteral("LOCALIT"), 32, ValueFormat::Text, left, {}}};
    const QList<ValueColumn> values = valueColumns(chapter, rowCode);
    const double valueWidth = values.size() > 2 ? 20 : 24;
    for (const ValueColumn& value : values)
        cells << Cell{value.heading, value.field, valueWidth, value.format, value.format == ValueFormat::Date ? centre : right, value.over};
    double used = 0;
    for (const Cell& cell : cells)
        used += cell.width;
    cells[1].width = width - used; // the name takes what is left

    double x = 0;
    for (int c = 0; c < cells.size(); ++c) {
        const Cell& cell = cells[c];
        const bool paired = !cell.over.isEmpty() || (c > 0 && !cells[c - 1].over.isEmpty());
        if (!cell.over.isEmpty())
            form.columnHeader.add(framed(output::reportText(cell.over, QRectF(x, 0, cell.width + cells[c + 1].width, 5), centre, 8, true)));
        form.columnHeader.add(framed(output::reportText(cell.heading, paired ? QRectF(x, 5, cell.width, 5) : QRectF(x, 0, cell.width, 10),
                                                        centre, 8, true)));
        form.detail.add(framed(cell.field.isEmpty()
                                   ? output::reportElement(Kind::RowNumber, QString(), QRectF(x, 0, cell.width, 5), ValueFormat::Text, cell.alignment)
                                   : output::reportField(cell.field, QRectF(x, 0, cell.width, 5), cell.format, cell.alignment)));
        x += cell.width;
    }

    // Summary: the totals under their columns, then the signatures.
    if (chapter == 1) {
        form.summary.add(output::reportText(QStringLiteral("TOTAL PERSOANE"), QRectF(0, 2, 50, 5), left, 9, true));
        form.summary.add(output::reportElement(Kind::Count, QString(), QRectF(50, 2, 20, 5), ValueFormat::Text, left));
    } else {
        const double valuesLeft = width - valueWidth * values.size();
        form.summary.add(output::reportText(QStringLiteral("TOTAL"), QRectF(0, 2, valuesLeft, 5), right, 9, true));
        // Chapter 10 material and year columns are codes: only the surface is added up.
        const int summed = chapter == 10 ? 1 : int(values.size());
        for (int v = 0; v < summed; ++v) {
            ReportElement sum = output::reportElement(Kind::Sum, values[v].field, QRectF(valuesLeft + v * valueWidth, 2, valueWidth, 5),
                                                      values[v].format, right);
            sum.bold = true;
            form.summary.add(framed(sum));
        }
    }
    form.summary.add(output::reportText(QStringLiteral("PRIMAR,"), QRectF(10, 14, 70, 5), Qt::AlignHCenter | Qt::AlignTop, 10, true));
    form.summary.add(output::reportLabel(QStringLiteral("PRIMAR"), QString(), QRectF(10, 19, 70, 5), Qt::AlignHCenter | Qt::AlignTop, 10));
    form.summary.add(output::reportText(chapter == 1 ? QStringLiteral("Intocmit,") : QStringLiteral("SECRETAR,"),
                                        QRectF(width - 80, 14, 70, 5), Qt::AlignHCenter | Qt::AlignTop, 10, true));
    if (chapter != 1)
        form.summary.add(output::reportLabel(QStringLiteral("SECRETAR"), QString(), QRectF(width - 80, 19, 70, 5), Qt::AlignHCenter | Qt::AlignTop, 10));
    form.summary.height = 26;

    ReportElement page = output::reportElement(Kind::PageNumber, QString(), QRectF(0, 2, width, 5), ValueFormat::Text,
                                               Qt::AlignRight | Qt::AlignTop);
    page.text = QStringLiteral("pag. %1");
    form.pageFooter.add(page);
    return form;
}

output::ReportDocument selectionDocument(const SelectionResult& list, const SelectionFormTexts& texts)
{
    const bool shortDate = list.chapter == 1 || list.chapter == 7 || list.chapter == 8;
    const QString date = shortDate ? QLocale::system().toString(texts.today, QLocale::ShortFormat)
                                   : texts.today.toString(QStringLiteral("dd.MM.yyyy"));
    QHash<QString, QString> labels{
        {QStringLiteral("JUDETUL"), QStringLiteral("JUDETUL ") + texts.county},
        {QStringLiteral("CONSILIUL"), (texts.councilType + QLatin1Char(' ') + texts.locality).trimmed()},
        {QStringLiteral("STEMA"), texts.coatOfArms},
        {QStringLiteral("SUBIECT"), list.subject},
        {QStringLiteral("FILTRU"), list.filterLine},
        {QStringLiteral("DATA"), date},
        {QStringLiteral("PRIMAR"), texts.mayor},
        {QStringLiteral("SECRETAR"), texts.secretary},
    };
    return output::ReportDocument(selectionForm(list.chapter, list.row.code), list.rows, labels);
}

}
