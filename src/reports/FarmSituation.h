#pragma once

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

#include <cstdint>

namespace velmor {
class Interaction;
namespace engine {
class Engine;
}
}

namespace velmor::reports {

// The farm-structure document by herd size ("Situatie ferme"): for seven animal groups of chapter 7,
// the holdings and animals per size class with their shares, written into the data directory's
// template ModelDir.rtf.
class FarmSituation {
public:
    static QString title() { return QStringLiteral("Situatie ferme"); }

    // One animal group: its letter, chapter 7 row condition, the upper bound of each class after
    // the first (0 animals; the last class has no bound), its last column and whole-number columns.
    struct Group {
        char letter;
        const char* rows;
        QList<std::int64_t> bounds;
        int lastColumn;
        QList<int> wholeColumns;
    };
    static const QList<Group>& groups();
    // The class (1 = no animals) of a count of animals on one chapter 7 row.
    static int sizeClass(const Group& group, std::int64_t animals);

    FarmSituation(engine::Engine& engine, QString dataDirectory, QString programDirectory, std::int64_t year);

    // The placeholders and their texts: "[JUDET]", "[DATA]", then "[a12]" to "[g38]" by group, row
    // and column. `decimalSeparator` is the program's. Progress through `ui` when given.
    QList<QPair<QString, QString>> values(const QString& county, const QDate& today, const QString& decimalSeparator,
                                          Interaction* ui = nullptr) const;

    // Fills the template into `output`, or into the first free SitFerm<n>.rtf of the program
    // directory when `output` is empty; returns the file written. Throws Error with the messages of
    // a missing template and an unwritable output.
    QString write(const QString& county, const QDate& today, const QString& decimalSeparator, Interaction* ui = nullptr,
                  const QString& output = QString()) const;

    QString templatePath() const;

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_programDirectory;
    std::int64_t m_year;
};

}
