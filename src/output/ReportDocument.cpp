#include "output/ReportDocument.h"

#include "output/ReportError.h"

#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <memory>

namespace velmor::output {

namespace {

using Kind = ReportElement::Kind;

constexpr double mm = ReportDocument::unitsPerMm;
constexpr double paddingX = 0.6 * mm;
constexpr double paddingY = 0.3 * mm;
constexpr double epsilon = 0.01;

bool isText(Kind kind)
{
    return kind == Kind::Label || kind == Kind::Field || kind == Kind::RowNumber || kind == Kind::Sum
        || kind == Kind::Count || kind == Kind::PageNumber;
}

QFont elementFont(const ReportForm& form, const ReportElement& element, double pointSize)
{
    QFont font(form.fontFamily);
    font.setPixelSize(std::max(1, int(std::lround(pointSize * ReportDocument::unitsPerInch / 72.0))));
    font.setBold(element.bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Lays the text out in lines of `width` units; long words break anywhere, so nothing is cut.
std::unique_ptr<QTextLayout> textLayout(const QString& text, const QFont& font, double width,
                                        Qt::Alignment alignment, double* height)
{
    auto layout = std::make_unique<QTextLayout>(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator), font);
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    double y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(std::max(1.0, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    *height = y;
    return layout;
}

// Sums exactly in millionths.
struct Total {
    std::int64_t micros = 0;
    bool real = false;

    void add(const dbf::Value& value)
    {
        if (const auto* integer = std::get_if<std::int64_t>(&value)) {
            micros += *integer * 1000000;
        } else if (const auto* number = std::get_if<double>(&value)) {
            micros += std::llround(*number * 1e6);
            real = true;
        } else if (const auto* text = std::get_if<QString>(&value)) {
            bool ok = false;
            const double parsed = text->trimmed().toDouble(&ok);
            if (ok) {
                micros += std::llround(parsed * 1e6);
                real = true;
            }
        }
    }
    dbf::Value value() const
    {
        if (!real && micros % 1000000 == 0)
            return std::int64_t(micros / 1000000);
        return double(micros) / 1e6;
    }
};

// Which band a placed band draws: the fixed bands, then each group's header and footer.
enum BandId { TitleBand, PageHeaderBand, ColumnHeaderBand, DetailBand, SummaryBand, PageFooterBand, FirstGroupBand };

int groupHeaderId(int level) { return FirstGroupBand + 2 * level; }
int groupFooterId(int level) { return FirstGroupBand + 2 * level + 1; }

double leastHeight(const ReportBand& band)
{
    double least = band.height;
    for (const ReportElement& element : band.elements)
        least = std::max(least, element.box.bottom());
    return least * mm;
}

}

ReportDocument::ReportDocument(ReportForm form, engine::ResultSet rows, QHash<QString, QString> labels)
    : m_form(std::move(form))
    , m_rows(std::move(rows))
    , m_labels(std::move(labels))
{
    layOut();
}

const ReportBand& ReportDocument::bandOf(const PlacedBand& placed) const
{
    switch (placed.band) {
    case TitleBand: return m_form.title;
    case PageHeaderBand: return m_form.pageHeader;
    case ColumnHeaderBand: return m_form.columnHeader;
    case DetailBand: return m_form.detail;
    case SummaryBand: return m_form.summary;
    case PageFooterBand: return m_form.pageFooter;
    default: break;
    }
    const int level = (placed.band - FirstGroupBand) / 2;
    const ReportGroup& group = m_form.groups.at(level);
    return (placed.band - FirstGroupBand) % 2 == 0 ? group.header : group.footer;
}

QSizeF ReportDocument::paperSize() const
{
    QSizeF paper = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    if (m_form.orientation == QPageLayout::Landscape)
        paper.transpose();
    return paper * mm;
}

QPageLayout ReportDocument::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_form.orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void ReportDocument::checkColumns(const ReportBand& band) const
{
    for (const ReportElement& element : band.elements) {
        if ((element.kind == Kind::Field || element.kind == Kind::Sum) && m_rows.fieldIndex(element.name) < 0)
            throw ReportError(QStringLiteral("Raportul foloseste coloana %1, care lipseste din date.").arg(element.name));
    }
}

QString ReportDocument::elementText(const ReportElement& element, int row, int firstRow, int lastRow,
                                    int pageIndex) const
{
    switch (element.kind) {
    case Kind::Label:
        return element.name.isEmpty() ? element.text : m_labels.value(element.name, element.text);
    case Kind::Field:
        if (row < 0 || row >= int(m_rows.rows.size()))
            return {};
        return formatValue(m_rows.rows[size_t(row)][size_t(m_rows.fieldIndex(element.name))], element.format);
    case Kind::RowNumber:
        return row >= 0 ? QString::number(row + 1) : QString();
    case Kind::Sum: {
        const int column = m_rows.fieldIndex(element.name);
        Total total;
        for (int r = firstRow; r < lastRow; ++r)
            total.add(m_rows.rows[size_t(r)][size_t(column)]);
        return formatValue(total.value(), element.format);
    }
    case Kind::Count:
        return QString::number(lastRow - firstRow);
    case Kind::PageNumber: {
        const QString pattern = element.text.isEmpty() ? QStringLiteral("%1") : element.text;
        if (pageIndex < 0)
            return QString(pattern).replace(QLatin1String("%1"), QLatin1String("9999"))
                .replace(QLatin1String("%2"), QLatin1String("9999"));
        return QString(pattern).replace(QLatin1String("%1"), QString::number(pageIndex + 1))
            .replace(QLatin1String("%2"), QString::number(pageCount()));
    }
    default:
        return element.text;
    }
}

double ReportDocument::bandHeight(const ReportBand& band, int row, int firstRow, int lastRow) const
{
    double height = leastHeight(band);
    for (const ReportElement& element : band.elements) {
        double needed = 0;
        if (isText(element.kind)) {
            double textHeight = 0;
            textLayout(elementText(element, row, firstRow, lastRow, -1), elementFont(m_form, element, element.pointSize),
                       element.box.width() * mm - 2 * paddingX, element.alignment, &textHeight);
            needed = textHeight + 2 * paddingY;
        } else if (element.kind == Kind::Signature) {
            double captionHeight = 0;
            textLayout(element.text, elementFont(m_form, element, element.pointSize), element.box.width() * mm,
                       Qt::AlignHCenter, &captionHeight);
            needed = element.box.height() * mm + captionHeight + paddingY;
        }
        height = std::max(height, element.box.top() * mm + needed);
    }
    return height;
}

void ReportDocument::layOut()
{
    for (const ReportBand* band : {&m_form.title, &m_form.pageHeader, &m_form.columnHeader, &m_form.detail,
                                   &m_form.summary, &m_form.pageFooter})
        checkColumns(*band);
    QList<int> keyColumns;
    for (const ReportGroup& group : m_form.groups) {
        checkColumns(group.header);
        checkColumns(group.footer);
        const int column = m_rows.fieldIndex(group.keyColumn);
        if (column < 0)
            throw ReportError(QStringLiteral("Raportul foloseste coloana %1, care lipseste din date.").arg(group.keyColumn));
        keyColumns.append(column);
    }

    const QSizeF paper = paperSize();
    const double bodyTop = m_form.margins.top() * mm;
    const double footerHeight = m_form.pageFooter.isEmpty() ? 0 : bandHeight(m_form.pageFooter, -1, 0, 0);
    const double limit = paper.height() - m_form.margins.bottom() * mm - footerHeight;
    const int rowCount = int(m_rows.rows.size());

    double y = 0;
    bool fresh = true; // nothing but the page's opening bands on the current page
    int nextRow = 0;

    const auto place = [&](int band, double height, int row, int first, int last) {
        m_pages.last().bands.append(PlacedBand{band, y, height, row, first, last});
        y += height;
    };
    const auto startPage = [&]() {
        Page page;
        page.firstRow = page.lastRow = nextRow;
        m_pages.append(page);
        y = bodyTop;
        if (m_pages.size() == 1 && !m_form.title.isEmpty())
            place(TitleBand, bandHeight(m_form.title, -1, 0, rowCount), -1, 0, rowCount);
        if (!m_form.pageHeader.isEmpty())
            place(PageHeaderBand, bandHeight(m_form.pageHeader, -1, nextRow, nextRow), -1, nextRow, nextRow);
        if (!m_form.columnHeader.isEmpty())
            place(ColumnHeaderBand, bandHeight(m_form.columnHeader, -1, nextRow, nextRow), -1, nextRow, nextRow);
        if (y > limit + epsilon)
            throw ReportError(QStringLiteral("Antetul raportului nu incape pe o pagina."));
        fresh = true;
    };
    const auto fits = [&](double height) { return y + height <= limit + epsilon; };
    const auto makeRoom = [&](double height) {
        if (fits(height))
            return;
        if (!fresh)
            startPage();
        if (!fits(height))
            throw ReportError(QStringLiteral("Randul %1 al raportului nu incape pe o pagina.").arg(nextRow + 1));
    };

    startPage();
    QList<int> groupStart(m_form.groups.size(), 0);
    const auto key = [&](int row, int level) {
        return formatValue(m_rows.rows[size_t(row)][size_t(keyColumns[level])], ValueFormat::Text);
    };
    const auto closeGroups = [&](int fromLevel, int endRow) {
        for (int level = int(m_form.groups.size()) - 1; level >= fromLevel; --level) {
            const ReportBand& footer = m_form.groups[level].footer;
            if (footer.isEmpty())
                continue;
            const double height = bandHeight(footer, endRow - 1, groupStart[level], endRow);
            makeRoom(height);
            place(groupFooterId(level), height, endRow - 1, groupStart[level], endRow);
            fresh = false;
        }
    };

    for (int row = 0; row < rowCount; ++row) {
        nextRow = row;
        int changed = row == 0 ? 0 : int(m_form.groups.size());
        for (int level = 0; row > 0 && level < int(m_form.groups.size()); ++level) {
            if (key(row, level) != key(row - 1, level)) {
                changed = level;
                break;
            }
        }
        if (row > 0)
            closeGroups(changed, row);
        const double detailHeight = bandHeight(m_form.detail, row, row, row + 1);
        double headersHeight = 0;
        for (int level = changed; level < int(m_form.groups.size()); ++level) {
            if (!m_form.groups[level].header.isEmpty())
                headersHeight += bandHeight(m_form.groups[level].header, row, row, row);
        }
        // A group header stays with the group's first row.
        if (headersHeight > 0 && !fits(headersHeight + detailHeight) && !fresh)
            startPage();
        for (int level = changed; level < int(m_form.groups.size()); ++level) {
            groupStart[level] = row;
            const ReportBand& header = m_form.groups[level].header;
            if (header.isEmpty())
                continue;
            const double height = bandHeight(header, row, row, row);
            makeRoom(height);
            place(groupHeaderId(level), height, row, row, row);
            fresh = false;
        }
        makeRoom(detailHeight);
        if (m_pages.last().lastRow == m_pages.last().firstRow)
            m_pages.last().firstRow = row;
        place(DetailBand, detailHeight, row, row, row + 1);
        m_pages.last().lastRow = row + 1;
        fresh = false;
    }
    nextRow = rowCount;
    if (rowCount > 0)
        closeGroups(0, rowCount);
    if (!m_form.summary.isEmpty()) {
        const double height = bandHeight(m_form.summary, rowCount - 1, 0, rowCount);
        makeRoom(height);
        place(SummaryBand, height, rowCount - 1, 0, rowCount);
    }
    if (!m_form.pageFooter.isEmpty()) {
        for (Page& page : m_pages)
            page.bands.append(PlacedBand{PageFooterBand, limit, footerHeight, -1, page.firstRow, page.lastRow});
    }
}

void ReportDocument::drawPage(QPainter& painter, int index) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0.25 * mm));
    painter.setBrush(Qt::NoBrush);
    for (const PlacedBand& placed : m_pages.at(index).bands)
        drawBand(painter, placed, index);
    painter.restore();
}

void ReportDocument::drawBand(QPainter& painter, const PlacedBand& placed, int pageIndex) const
{
    const ReportBand& band = bandOf(placed);
    const double least = leastHeight(band);
    const double left = m_form.margins.left() * mm;
    for (const ReportElement& element : band.elements) {
        const QRectF box(left + element.box.left() * mm, placed.top + element.box.top() * mm,
                         element.box.width() * mm, element.box.height() * mm);
        // Boxes keep their distance to the band's bottom as the band grows.
        const double stretched = placed.height - element.box.top() * mm - (least - element.box.bottom() * mm);
        switch (element.kind) {
        case Kind::Line:
            if (element.box.width() <= 0)
                painter.drawLine(QPointF(box.left(), box.top()), QPointF(box.left(), box.top() + stretched));
            else
                painter.drawLine(box.topLeft(), box.topRight());
            break;
        case Kind::Picture: {
            const auto drawing = m_drawings.constFind(element.name);
            if (drawing != m_drawings.cend() && *drawing) {
                painter.save();
                (*drawing)(painter, box);
                painter.restore();
                break;
            }
            const QString file = m_labels.value(element.name, element.text);
            const QImage image = file.isEmpty() ? QImage() : QImage(file);
            if (!image.isNull()) {
                const QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
                const QRectF target(box.left() + (box.width() - size.width()) / 2,
                                    box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
                painter.drawImage(target, image);
            }
            break;
        }
        case Kind::Signature: {
            painter.drawLine(box.bottomLeft(), box.bottomRight());
            double height = 0;
            const auto layout = textLayout(element.text, elementFont(m_form, element, element.pointSize), box.width(),
                                           Qt::AlignHCenter, &height);
            layout->draw(&painter, QPointF(box.left(), box.bottom() + paddingY));
            break;
        }
        default: {
            const QString text = elementText(element, placed.row, placed.firstRow, placed.lastRow, pageIndex);
            double height = 0;
            const auto layout = textLayout(text, elementFont(m_form, element, element.pointSize),
                                           box.width() - 2 * paddingX, element.alignment, &height);
            const double boxHeight = std::max({box.height(), height + 2 * paddingY, element.frame ? stretched : 0.0});
            double top = box.top() + paddingY;
            if (element.alignment & Qt::AlignVCenter)
                top = box.top() + (boxHeight - height) / 2;
            else if (element.alignment & Qt::AlignBottom)
                top = box.top() + boxHeight - paddingY - height;
            if (element.frame)
                painter.drawRect(QRectF(box.left(), box.top(), box.width(), boxHeight));
            layout->draw(&painter, QPointF(box.left() + paddingX, top));
            break;
        }
        }
    }
}

}
