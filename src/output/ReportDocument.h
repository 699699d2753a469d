#pragma once

#include "data/engine/ResultSet.h"
#include "output/ReportForm.h"

#include <QHash>
#include <QRectF>

#include <functional>
#include <QSizeF>

class QPainter;

namespace velmor::output {

// A form filled with rows and laid out on pages, ready to be drawn on any paint device (preview,
// printer, PDF). Layout units are 1/720 inch; drawPage draws with the origin at the paper's corner.
class ReportDocument {
public:
    static constexpr double unitsPerInch = 720.0;
    static constexpr double unitsPerMm = unitsPerInch / 25.4;

    struct PlacedBand {
        int band = 0;      // which band of the form (bandOf)
        double top = 0;    // units from the paper's top
        double height = 0; // units
        int row = -1;      // the detail row, or the last row before a group footer
        int firstRow = 0;  // the rows its sums and counts cover: [firstRow, lastRow)
        int lastRow = 0;
    };
    struct Page {
        QList<PlacedBand> bands;
        int firstRow = 0;
        int lastRow = 0; // detail rows [firstRow, lastRow)
    };

    // Lays the rows out; labels are the texts of the named labels. Throws ReportError when a field
    // names a column the rows lack or a detail row is taller than a page.
    ReportDocument(ReportForm form, engine::ResultSet rows, QHash<QString, QString> labels = {});

    const ReportForm& form() const { return m_form; }
    const engine::ResultSet& rows() const { return m_rows; }
    int pageCount() const { return int(m_pages.size()); }
    const Page& page(int index) const { return m_pages.at(index); }
    // The paper size in units, after the orientation.
    QSizeF paperSize() const;
    QPageLayout pageLayout() const;

    void drawPage(QPainter& painter, int index) const;

    // Vector drawing of the picture elements named `name` (a chart), drawn into their box when a
    // page is drawn; it takes the place of an image file.
    using Drawing = std::function<void(QPainter& painter, const QRectF& box)>;
    void setDrawing(const QString& name, Drawing drawing) { m_drawings.insert(name, std::move(drawing)); }

    // The band a placed band draws.
    const ReportBand& bandOf(const PlacedBand& placed) const;

private:
    double bandHeight(const ReportBand& band, int row, int firstRow, int lastRow) const;
    QString elementText(const ReportElement& element, int row, int firstRow, int lastRow, int pageIndex) const;
    void drawBand(QPainter& painter, const PlacedBand& placed, int pageIndex) const;
    void layOut();
    void checkColumns(const ReportBand& band) const;

    ReportForm m_form;
    engine::ResultSet m_rows;
    QHash<QString, QString> m_labels;
    QList<Page> m_pages;
    QHash<QString, Drawing> m_drawings;
};

}
