#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmor {

// The working year of the run: the years the data holds (plus the calendar year) and the one
// chosen, as the text every statement filters by. The main window shows and chooses it; every
// other window reads it here.
class WorkingYear : public QObject {
    Q_OBJECT
public:
    // Reads the year list from the data (set by the main window's logic).
    using Loader = std::function<QStringList()>;

    const QString& text() const { return m_text; }
    const QStringList& years() const { return m_years; }

    // A new list; the last year becomes the working year.
    void setYears(const QStringList& years);
    // Chooses a year (any text the list shows).
    void setText(const QString& year);

    void setLoader(Loader loader) { m_loader = std::move(loader); }
    // Reads the list again through the loader (nothing without one).
    void reload();

signals:
    void yearsChanged(const QStringList& years);
    void changed(const QString& year);

private:
    QStringList m_years;
    QString m_text;
    Loader m_loader;
};

}
