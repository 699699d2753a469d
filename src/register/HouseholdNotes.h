#pragma once

#include <QString>

namespace velmor {

struct AppContext;

// Chapter 11: the household's notes (MENTIUNI of CAP11), one text per household and year. Opening
// creates the empty notes row when the household has none; leaving saves a changed text (not while
// the program is locked).
class HouseholdNotes {
public:
    explicit HouseholdNotes(AppContext& ctx);

    // Throws an Error when the table cannot be read or the row cannot be created.
    void open(qint64 codid);
    bool isOpen() const { return m_open; }
    // The stored text with its line ends (CR LF, as councils' files have them) as line feeds.
    const QString& text() const { return m_text; }
    // The text as edited (saved by StopCap, its line breaks as CR LF).
    void setText(const QString& text) { m_edited = lineFeeds(text); }
    // Line ends alone are no change.
    bool isChanged() const { return m_open && m_edited != m_text; }

    // CR LF and a lone CR become LF.
    static QString lineFeeds(QString text);
    // Saves a changed text and closes. A failing save is reported through the interaction seam
    // and returns false (the text is kept for another try).
    bool StopCap(bool unlocked);

private:
    AppContext& m_ctx;
    bool m_open = false;
    qint64 m_codid = 0;
    qint64 m_year = 0;
    qint64 m_record = -1;
    QString m_text;
    QString m_edited;
};

}
