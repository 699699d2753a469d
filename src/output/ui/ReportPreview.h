#pragma once

#include "output/ReportDocument.h"

#include <QDialog>

class QLabel;
class QScrollArea;
class QToolButton;

namespace velmor {
class Interaction;
}

namespace velmor::output {

class PreviewPage;

// The report preview: one page at a time, zoom, page turning, print and save to PDF. Opens
// maximised; Esc closes it.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(const ReportDocument& document, Interaction& ui, QString title, QWidget* parent = nullptr);
    ~ReportPreview() override;

    int currentPage() const { return m_page; }
    void showPage(int index);
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);
    void fitPage();
    QString pageText() const;
    // Asks for a file and writes the PDF there; false when nothing was written.
    bool savePdf();
    void print();
    // Shows the preview modally (maximised).
    static void preview(const ReportDocument& document, Interaction& ui, const QString& title, QWidget* parent = nullptr);

private:
    void refresh();

    const ReportDocument& m_document;
    Interaction& m_ui;
    QString m_title;
    int m_page = 0;
    double m_zoom = 1.0;
    QScrollArea* m_scroll = nullptr;
    PreviewPage* m_view = nullptr;
    QLabel* m_pageLabel = nullptr;
    QToolButton* m_first = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_last = nullptr;
};

}
