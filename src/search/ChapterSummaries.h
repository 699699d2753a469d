#pragma once

#include "tariffs/LocalTariffs.h"

#include <QList>
#include <QString>

namespace velmor::engine {
class Engine;
struct ResultSet;
}

namespace velmor::search {

// The Romanian sentences that tell what one household holds, one per chapter, as the
// certificates print them. Each operation reads the household's rows of one table of the data
// directory and returns the text; none of them shows a message. Statement errors propagate.
class ChapterSummaries {
public:
    // None texts.
    static QString noMembers() { return QStringLiteral(" fara membri."); }
    static QString noPlots() { return QStringLiteral(" nu detine teren."); }
    static QString noAgriculturalArea() { return QStringLiteral(" nu posedă suprafata agricolă."); }
    static QString noChanges() { return QStringLiteral("nu a înregistrat modificări."); }
    static QString noneHeld() { return QStringLiteral("nu detine."); }

    // `tariffs` are the local tariffs the income sentence uses.
    ChapterSummaries(engine::Engine& engine, const QString& dataDirectory, const LocalTariffs::Values& tariffs);

    void setTariffs(const LocalTariffs::Values& tariffs) { m_tariffs = tariffs; }
    // Limits every read to the rows of that year (0: rows of any year).
    void setYear(qint64 year) { m_year = year; }

    QString TextMembri(qint64 codid);
    QString TextParcele(qint64 codid);
    QString TextCap2(qint64 codid);
    QString TextCap3(qint64 codid);
    QString TextCap4(qint64 codid);
    QString TextCap5(qint64 codid);
    QString TextCap6(qint64 codid);
    QString TextCap7(qint64 codid);
    // halfYear 1 or 2.
    QString TextCap8(qint64 codid, int halfYear);
    QString TextCap9(qint64 codid);
    QString TextCap10(qint64 codid);
    QString TextMentiuni(qint64 codid);
    QString TextVenit(qint64 codid);

    struct Summary {
        QString name; // "TextMembri", ..., "TextCap8_1", "TextCap8_2", ..., "TextVenit"
        QString text;
    };
    // Every summary of the household, in the order the certificates list them.
    QList<Summary> all(qint64 codid);

private:
    // The summary of chapters 2 to 9 as that chapter describes it; halfYear only for chapter 8.
    QString chapterText(int chapter, qint64 codid, int halfYear);
    QString tablePath(const QString& fileName) const;
    // SELECT columns FROM table WHERE CODID=:CODID [order], for the household.
    engine::ResultSet select(const char* columns, const char* table, const char* order, qint64 codid);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    qint64 m_year = 0;
    LocalTariffs::Values m_tariffs;
};

}
