#pragma once

#include "data/dbf/DbfValue.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>

namespace velmor::output {

// How a field, a sum or a count shows its value.
enum class ValueFormat {
    Text,     // as it is; numbers shortest, dates dd.MM.yyyy
    Decimal4, // "0.####": at most 4 decimals, no trailing zeros
    Decimal2, // "0.00": always 2 decimals
    Whole,    // rounded to a whole number
    Date,     // dd.MM.yyyy
};

QString formatValue(const dbf::Value& value, ValueFormat format);

// One thing drawn in a band. Boxes are in millimetres from the band's top-left corner; the height
// of a text box is the least one: text wraps inside the width and the box (and its band) grows.
struct ReportElement {
    enum class Kind {
        Label,      // `name` is set before drawing (setLabel); `text` shows when it is not
        Field,      // the value of result column `name`
        RowNumber,  // the running number of the detail row ("Nr.crt.")
        Sum,        // the sum of column `name` over the band's rows
        Count,      // the number of the band's rows
        PageNumber, // `text` with %1 the page number and %2 the page count ("%1" when empty)
        Line,       // a line along the top edge of the box (a vertical one when the width is 0)
        Picture,    // the image file named by label `name`; a missing file leaves the box empty
        Signature,  // a line along the bottom of the box with caption `text` under it
    };

    Kind kind = Kind::Label;
    QString name;
    QString text;
    QRectF box;
    ValueFormat format = ValueFormat::Text;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    double pointSize = 9;
    bool bold = false;
    bool frame = false; // a rectangle around the box, stretched with its band
};

// A band: its least height in millimetres and its elements. A band without elements and height is
// not drawn.
struct ReportBand {
    double height = 0;
    QList<ReportElement> elements;

    bool isEmpty() const { return elements.isEmpty() && height <= 0; }
    ReportBand& add(const ReportElement& element)
    {
        elements.append(element);
        return *this;
    }
};

// A group: its header is drawn before the first row of each run of equal key values, its footer
// after the last one (sums and counts of the footer cover the group's rows).
struct ReportGroup {
    QString keyColumn;
    ReportBand header;
    ReportBand footer;
};

// A banded form on A4 paper. The title starts the first page; the page header and the column header
// start every page, the page footer ends it; the summary follows the last row. Sums and counts of
// the title and the summary cover every row, those of the page header and footer the page's rows.
struct ReportForm {
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins = QMarginsF(15, 12, 12, 12); // millimetres: left, top, right, bottom
    QString fontFamily = QStringLiteral("Liberation Sans");

    ReportBand title;
    ReportBand pageHeader;
    ReportBand columnHeader;
    QList<ReportGroup> groups; // outermost first
    ReportBand detail;
    ReportBand summary;
    ReportBand pageFooter;

    // The width between the margins, in millimetres.
    double bodyWidth() const;
};

// Shorthands for building forms.
ReportElement reportLabel(const QString& name, const QString& text, const QRectF& box,
                          Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop, double pointSize = 9,
                          bool bold = false);
ReportElement reportText(const QString& text, const QRectF& box,
                         Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop, double pointSize = 9,
                         bool bold = false);
ReportElement reportField(const QString& column, const QRectF& box, ValueFormat format = ValueFormat::Text,
                          Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
ReportElement reportElement(ReportElement::Kind kind, const QString& name, const QRectF& box,
                            ValueFormat format = ValueFormat::Text,
                            Qt::Alignment alignment = Qt::AlignRight | Qt::AlignTop);

}
