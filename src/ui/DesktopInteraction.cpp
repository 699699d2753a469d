#include "ui/DesktopInteraction.h"

#include "ui/Balloon.h"
#include "ui/TContor.h"
#include "ui/TErori.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QUrl>

namespace velmor {

DesktopInteraction::DesktopInteraction(TErori* erori, TContor* contor)
    : m_erori(erori)
    , m_contor(contor)
{
    if (!m_erori) {
        m_ownErori = std::make_unique<TErori>();
        m_erori = m_ownErori.get();
    }
    if (!m_contor) {
        m_ownContor = std::make_unique<TContor>();
        m_contor = m_ownContor.get();
    }
}

DesktopInteraction::~DesktopInteraction() = default;

QWidget* DesktopInteraction::currentWindow() const
{
    QWidget* window = QApplication::activeModalWidget();
    if (!window)
        window = QApplication::activeWindow();
    if (window == m_contor || window == m_erori)
        window = nullptr;
    return window;
}

QWidget* DesktopInteraction::findAnchor(const QString& anchor) const
{
    if (anchor.isEmpty())
        return nullptr;
    auto lookIn = [&anchor](QWidget* window) -> QWidget* {
        if (!window)
            return nullptr;
        if (window->objectName() == anchor)
            return window;
        return window->findChild<QWidget*>(anchor);
    };
    if (QWidget* found = lookIn(currentWindow()))
        return found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != m_contor && window != m_erori) {
            if (QWidget* found = lookIn(window))
                return found;
        }
    }
    return nullptr;
}

int DesktopInteraction::Mesaj(const QString& title, const QString& text, int kind, int buttons)
{
    return m_erori->Mesaj(title, text, kind, buttons);
}

void DesktopInteraction::ArataProblema(const QString& text, const QString& anchor)
{
    QWidget* control = findAnchor(anchor);
    if (!control)
        control = currentWindow();
    velmor::ArataProblema(text, control);
}

void DesktopInteraction::Arata()
{
    m_progressForm = currentWindow();
    m_contor->Arata(m_progressForm);
}

void DesktopInteraction::Distruge()
{
    m_contor->Distruge(m_progressForm);
    m_progressForm = nullptr;
}

void DesktopInteraction::setProgressLabel(const QString& text)
{
    m_contor->Label1()->setText(text);
}

void DesktopInteraction::setProgressMaximum(int maximum)
{
    m_contor->Bar()->setMaximum(maximum);
}

void DesktopInteraction::setProgressPosition(int position)
{
    m_contor->Bar()->setValue(position);
}

void DesktopInteraction::processEvents()
{
    QCoreApplication::processEvents();
}

QString DesktopInteraction::chooseOpenFile(const QString& title, const QString& directory, const QString& filter)
{
    return QFileDialog::getOpenFileName(currentWindow(), title, directory, filter);
}

QString DesktopInteraction::chooseSaveFile(const QString& title, const QString& directory, const QString& filter)
{
    // The logic asks its own question before replacing a file.
    return QFileDialog::getSaveFileName(currentWindow(), title, directory, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString DesktopInteraction::chooseFolder(const QString& title, const QString& directory)
{
    return QFileDialog::getExistingDirectory(currentWindow(), title, directory);
}

std::optional<QString> DesktopInteraction::askText(const QString& title, const QString& label,
                                                   const QString& initial, bool secret)
{
    bool ok = false;
    const QString text = QInputDialog::getText(currentWindow(), title, label,
                                               secret ? QLineEdit::Password : QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

bool DesktopInteraction::openFile(const QString& path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}
