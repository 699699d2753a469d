#include "output/ReportOutput.h"

#include "output/ExportError.h"
#include "output/ReportDocument.h"
#include "core/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>

#include <functional>

namespace velmor::output {

namespace {

ExportError notWritten(const QString& target)
{
    return ExportError(QStringLiteral("Fisierul %1 nu poate fi scris.").arg(QDir::toNativeSeparators(target)));
}

// A complete PDF ends with its end-of-file marker.
bool isCompletePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 16)
        return false;
    if (!file.read(5).startsWith("%PDF-"))
        return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    return file.readAll().contains("%%EOF");
}

}

bool drawReportPages(const ReportDocument& document, QPainter& painter, double scale,
                     const std::function<bool()>& newPage)
{
    for (int page = 0; page < document.pageCount(); ++page) {
        if (page > 0 && !newPage())
            return false;
        painter.save();
        painter.scale(scale, scale);
        document.drawPage(painter, page);
        painter.restore();
    }
    return true;
}

void writeReportPdf(const ReportDocument& document, const QString& target, const QString& title)
{
    StagedFile staged(target);
    {
        QPdfWriter writer(staged.path());
        writer.setPageLayout(document.pageLayout());
        writer.setResolution(int(ReportDocument::unitsPerInch));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Velmor"));
        QPainter painter;
        if (!painter.begin(&writer))
            throw notWritten(target);
        const bool drawn = drawReportPages(document, painter, 1.0, [&writer] { return writer.newPage(); });
        if (!painter.end() || !drawn)
            throw notWritten(target);
    }
    if (!isCompletePdf(staged.path()))
        throw notWritten(target);
    staged.commit();
}

}
