#include "output/ui/ReportPreview.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "output/ReportOutput.h"
#include "output/ReportPrint.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmor::output {

// The page drawn at the preview's zoom (1.0 = 96 dots per inch).
class PreviewPage : public QWidget {
public:
    PreviewPage(const ReportDocument& document, QWidget* parent)
        : QWidget(parent)
        , m_document(document)
    {
        setObjectName(QStringLiteral("PreviewPage"));
    }
    void show(int page, double zoom)
    {
        m_page = page;
        m_zoom = zoom;
        setFixedSize((m_document.paperSize() * scale()).toSize());
        update();
    }
    double scale() const { return m_zoom * 96.0 / ReportDocument::unitsPerInch; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_page < 0 || m_page >= m_document.pageCount())
            return;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale(), scale());
        m_document.drawPage(painter, m_page);
    }

private:
    const ReportDocument& m_document;
    int m_page = 0;
    double m_zoom = 1.0;
};

namespace {

QToolButton* button(QWidget* parent, QLayout* layout, const QString& name, const QString& text)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(b);
    return b;
}

}

ReportPreview::ReportPreview(const ReportDocument& document, Interaction& ui, QString title, QWidget* parent)
    : QDialog(parent)
    , m_document(document)
    , m_ui(ui)
    , m_title(std::move(title))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(m_title);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    layout->addLayout(bar);
    QToolButton* printButton = button(this, bar, QStringLiteral("Tipareste"), QStringLiteral("Tipareste"));
    QToolButton* pdfButton = button(this, bar, QStringLiteral("SalveazaPdf"), QStringLiteral("Salveaza PDF"));
    bar->addSpacing(12);
    QToolButton* zoomIn = button(this, bar, QStringLiteral("Marire"), QStringLiteral("Marire"));
    QToolButton* zoomOut = button(this, bar, QStringLiteral("Micsorare"), QStringLiteral("Micsorare"));
    QToolButton* whole = button(this, bar, QStringLiteral("PaginaIntreaga"), QStringLiteral("Pagina intreaga"));
    bar->addSpacing(12);
    m_first = button(this, bar, QStringLiteral("PrimaPagina"), QStringLiteral("|<"));
    m_previous = button(this, bar, QStringLiteral("PaginaAnterioara"), QStringLiteral("<"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("PaginaLabel"));
    bar->addWidget(m_pageLabel);
    m_next = button(this, bar, QStringLiteral("PaginaUrmatoare"), QStringLiteral(">"));
    m_last = button(this, bar, QStringLiteral("UltimaPagina"), QStringLiteral(">|"));
    bar->addStretch(1);
    QToolButton* closeButton = button(this, bar, QStringLiteral("Inchide"), QStringLiteral("Inchide"));

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new PreviewPage(m_document, m_scroll);
    m_scroll->setWidget(m_view);
    layout->addWidget(m_scroll, 1);

    connect(printButton, &QToolButton::clicked, this, &ReportPreview::print);
    connect(pdfButton, &QToolButton::clicked, this, [this] { savePdf(); });
    connect(zoomIn, &QToolButton::clicked, this, [this] { setZoom(m_zoom * 1.25); });
    connect(zoomOut, &QToolButton::clicked, this, [this] { setZoom(m_zoom / 1.25); });
    connect(whole, &QToolButton::clicked, this, &ReportPreview::fitPage);
    connect(m_first, &QToolButton::clicked, this, [this] { showPage(0); });
    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { showPage(m_document.pageCount() - 1); });
    connect(closeButton, &QToolButton::clicked, this, &QDialog::reject);
    refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::showPage(int index)
{
    m_page = std::clamp(index, 0, std::max(0, m_document.pageCount() - 1));
    refresh();
}

void ReportPreview::setZoom(double zoom)
{
    m_zoom = std::clamp(zoom, 0.2, 5.0);
    refresh();
}

void ReportPreview::fitPage()
{
    const QSizeF paper = m_document.paperSize() * (96.0 / ReportDocument::unitsPerInch);
    const QSize room = m_scroll->viewport()->size() - QSize(8, 8);
    if (paper.isEmpty() || room.isEmpty())
        return;
    setZoom(std::min(room.width() / paper.width(), room.height() / paper.height()));
}

QString ReportPreview::pageText() const
{
    return QStringLiteral("Pagina %1 din %2").arg(m_page + 1).arg(m_document.pageCount());
}

void ReportPreview::refresh()
{
    m_view->show(m_page, m_zoom);
    m_pageLabel->setText(pageText());
    m_first->setEnabled(m_page > 0);
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < m_document.pageCount());
    m_last->setEnabled(m_page + 1 < m_document.pageCount());
}

bool ReportPreview::savePdf()
{
    const QString file = m_ui.chooseSaveFile(QStringLiteral("Salveaza PDF"),
                                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                             QStringLiteral("Fisiere PDF (*.pdf)"));
    if (file.isEmpty())
        return false;
    const QString target = file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".pdf");
    try {
        writeReportPdf(m_document, target, m_title);
    } catch (const std::exception& e) {
        showError(m_ui, e);
        return false;
    }
    return true;
}

void ReportPreview::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_document.pageLayout());
    printer.setDocName(m_title);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Tipareste"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        printReport(m_document, printer);
    } catch (const std::exception& e) {
        showError(m_ui, e);
    }
}

void ReportPreview::preview(const ReportDocument& document, Interaction& ui, const QString& title, QWidget* parent)
{
    ReportPreview window(document, ui, title, parent);
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
    window.exec();
}

}
