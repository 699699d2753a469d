#pragma once

#include "core/StagedFile.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <memory>

namespace velmor::output {

// Fills an RTF template: copies its header, then writes its body with every placeholder
// ("[NR]", "[CONTINUT]", ...) replaced by a value. Placeholders match without regard to the case
// of A..Z; the case they are written in decides the value's (see Inlocuieste). A placeholder given
// several values in a row repeats the paragraph holding it once per value.
//
// Calling order: StabilesteDest, IncepeDocument, GolesteLista, Inlocuieste..., ScrieCorp,
// InchideDocument. Values are escaped for RTF and replaced in one pass over the template's text,
// so a value is never searched for placeholders and its braces never count.
class TRTFReplace {
public:
    TRTFReplace();
    ~TRTFReplace();

    QString RTFSursa; // the template
    QString RTFDest;  // the output, chosen by StabilesteDest

    // The first of base0.rtf, base1.rtf, ... base999.rtf that does not exist or can be deleted
    // (it is deleted); a read-only file and a file a word processor holds open (its lock file
    // beside it) count as in use. False when none is free.
    bool StabilesteDest(const QString& base);
    // Creates the output and copies the template's header (the lines before the first "\pard"
    // and the text before it on its line). False when the template is missing or empty or the
    // output cannot be created.
    bool IncepeDocument();
    void GolesteLista();
    // Appends a pair. An empty value prints as "-". Where the placeholder is written in the
    // template with more than 3 characters: no a..z in it upper-cases the value, then no A..Z in
    // it lower-cases the value (so "[003]" lower-cases); mixed case leaves the value as it is.
    void Inlocuieste(const QString& placeholder, const QString& value);
    // Writes the template's body `copies` times (a page break between copies). False on a write
    // failure.
    bool ScrieCorp(int copies = 1);

    // ---- checks of a template ----
    // What keeps the RTF text from being used as a template ("" when nothing): groups that do not
    // close in order, or close before the end.
    static QString structureProblem(const QByteArray& rtf);
    // Whether the placeholder (e.g. "[CONTINUT]") is written in the text, letters A..Z in any case.
    static bool holds(const QByteArray& rtf, const QString& placeholder);
    // The placeholders of the list that are written with control words or braces inside their
    // brackets ("[NUME{\\b PREN}]"), so that they cannot be found.
    static QStringList brokenPlaceholders(const QByteArray& rtf, const QStringList& placeholders);
    // Closes the document. False on a write failure.
    bool InchideDocument();

    // The error text of the last failure.
    QString errorString() const { return m_error; }

    // One body line with the replacements (exposed for tests): `valueIndex` picks the value of
    // repeated placeholders.
    QByteArray replaced(const QByteArray& line, int valueIndex) const;

private:
    struct Pair {
        QByteArray placeholder; // upper-cased A..Z
        QList<QString> values;  // more than one when added several times in a row
    };
    bool write(const QByteArray& bytes);
    // A stretch of the body written once per value of a repeated placeholder.
    struct Span {
        qsizetype from = 0;
        qsizetype to = 0;
        int copies = 1;
    };
    // Each repeated placeholder's paragraph, from its \pard to the \par that ends it (in a table
    // its row, from \trowd to \row), widened to hold whole every group it touches; spans that
    // overlap are joined. In body order.
    QList<Span> repeatedSpans(const QByteArray& body) const;

    QList<Pair> m_pairs;
    std::unique_ptr<StagedFile> m_out; // the document, put in place when closed
    QString m_error;
};

}
