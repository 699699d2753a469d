#pragma once

#include "output/DataExport.h"

#include <QDialog>
#include <QList>

#include <optional>

class QButtonGroup;
class QPushButton;

namespace velmor::output {

// What the format dialog was left with: a format and a destination, or the clipboard.
struct ExportDialogChoice {
    bool clipboard = false;
    ExportChoice file; // when not clipboard
};

// The format dialog of the export component: one radio button per format offered (and the
// clipboard), the buttons "Export &in fisier", "&Numai vizualizare" and "&Renunt".
class ExportFormatDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExportFormatDialog(const QString& title = QStringLiteral("Export datele"),
                                const QList<ExportFormat>& formats = allExportFormats(),
                                ExportFormat preselected = ExportFormat::Xlsx, bool offerClipboard = true,
                                QWidget* parent = nullptr);

    // The choice after the dialog closed with one of the export buttons; nullopt after "Renunt".
    std::optional<ExportDialogChoice> choice() const { return m_choice; }

    void selectFormat(ExportFormat format);
    void selectClipboard();
    QPushButton* fileButton() const { return m_file; }
    QPushButton* viewButton() const { return m_view; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    void finish(ExportChoice::Destination destination);

    QButtonGroup* m_formats = nullptr;
    QList<ExportFormat> m_offered;
    int m_clipboardId = -1;
    QPushButton* m_file = nullptr;
    QPushButton* m_view = nullptr;
    QPushButton* m_cancel = nullptr;
    std::optional<ExportDialogChoice> m_choice;
};

}
