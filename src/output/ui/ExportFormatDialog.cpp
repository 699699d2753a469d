#include "output/ui/ExportFormatDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmor::output {

ExportFormatDialog::ExportFormatDialog(const QString& title, const QList<ExportFormat>& formats,
                                       ExportFormat preselected, bool offerClipboard, QWidget* parent)
    : QDialog(parent)
    , m_offered(formats)
{
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(this);
    auto* boxLayout = new QVBoxLayout(box);
    auto* label = new QLabel(QStringLiteral("Formatul e&xportat:"), box);
    boxLayout->addWidget(label);
    m_formats = new QButtonGroup(this);
    for (int i = 0; i < m_offered.size(); ++i) {
        auto* button = new QRadioButton(formatTitle(m_offered[i]), box);
        m_formats->addButton(button, i);
        boxLayout->addWidget(button);
        if (i == 0)
            label->setBuddy(button);
    }
    if (offerClipboard) {
        m_clipboardId = int(m_offered.size());
        auto* button = new QRadioButton(QStringLiteral("Clipboard"), box);
        m_formats->addButton(button, m_clipboardId);
        boxLayout->addWidget(button);
    }
    layout->addWidget(box);

    auto* buttons = new QHBoxLayout;
    m_file = new QPushButton(QStringLiteral("Export &in fisier"), this);
    m_view = new QPushButton(QStringLiteral("&Numai vizualizare"), this);
    m_cancel = new QPushButton(QStringLiteral("&Renunt"), this);
    m_file->setDefault(true);
    buttons->addWidget(m_file);
    buttons->addWidget(m_view);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_file, &QPushButton::clicked, this, [this] { finish(ExportChoice::Destination::File); });
    connect(m_view, &QPushButton::clicked, this, [this] { finish(ExportChoice::Destination::ViewOnly); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    // the clipboard has no file to view
    connect(m_formats, &QButtonGroup::idToggled, this, [this](int, bool) {
        m_view->setEnabled(m_formats->checkedId() != m_clipboardId);
    });

    if (m_offered.contains(preselected))
        selectFormat(preselected);
    else if (!m_offered.isEmpty())
        selectFormat(m_offered.front());
}

void ExportFormatDialog::selectFormat(ExportFormat format)
{
    const int id = int(m_offered.indexOf(format));
    if (QAbstractButton* button = m_formats->button(id))
        button->setChecked(true);
}

void ExportFormatDialog::selectClipboard()
{
    if (QAbstractButton* button = m_formats->button(m_clipboardId))
        button->setChecked(true);
}

void ExportFormatDialog::finish(ExportChoice::Destination destination)
{
    const int id = m_formats->checkedId();
    if (id < 0)
        return;
    ExportDialogChoice choice;
    if (id == m_clipboardId) {
        choice.clipboard = true;
    } else {
        choice.file.format = m_offered[id];
        choice.file.destination = destination;
    }
    m_choice = choice;
    accept();
}

}
