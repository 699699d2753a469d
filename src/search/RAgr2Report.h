#pragma once

#include "services/CouncilProfile.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

#include <array>

namespace velmor {

class Settings;
namespace engine {
class Engine;
}

// What the statistical form R.AGR.2 is filled with besides the register's totals.
struct RAgr2Request {
    int year = 0;
    QString siruta;          // [003]
    QString number;          // [004]
    QDate date;              // [005]
    CouncilConstants council; // county [J01], locality and its type [R07] [R08] [R09]
};

// The statistical form R.AGR.2: agricultural machines (chapter 9 rows 1 to 42, form rows 11 to 52)
// and farm buildings (chapter 10 rows 13 to 17, form rows 53 to 57) of the working year, summed by
// the kind of holder (register type 1, type 2, any other type), filled into the RAGR2.rtf model.
class RAgr2Report {
public:
    static constexpr int FirstRow = 11;
    static constexpr int LastRow = 57;
    // Form rows × holder columns, each sum rounded to four decimals.
    using Values = std::array<std::array<double, 3>, LastRow - FirstRow + 1>;

    RAgr2Report(engine::Engine& engine, QString dataDirectory);

    Values values(int year) const;
    // Every placeholder of the form with its text, in the order they are given to the filler.
    static QList<QPair<QString, QString>> placeholders(const Values& values, const RAgr2Request& request);
    // The shortest decimal text of a sum: "0", "3", "2.5", "0.1234".
    static QString numberText(double value);

    // The header proposed by the dialog: the stored SIRUTA code and the next report number, taken
    // from the RAGR2 counter (which advances at once, also when the dialog is cancelled).
    static QPair<QString, QString> proposedHeader(Settings& settings);
    // What confirming the dialog stores: the counter continues after `number`, the code is kept;
    // blank values change nothing.
    static void storeHeader(Settings& settings, const QString& siruta, const QString& number);
    // The stored code and the counter's next number, nothing consumed (the CLI stores the number
    // only once the form is written).
    static QPair<QString, QString> storedHeader(const Settings& settings);
    // The widest report number the dialog takes, so the counter (number + 1) always fits.
    static constexpr int NumberDigits = 10;

    // Fills `model` into `output`, or when it is empty into the first free name
    // programDirectory/Ragr0<n>.rtf, and returns the path written.
    // Throws Error: "Lipseste fisierul RAGR2.rtf!\nActualizati programul!" for a missing model,
    // "Nu pot scrie pe harddisk!" when the output cannot be written.
    QString write(const RAgr2Request& request, const QString& model, const QString& programDirectory,
                  const QString& output = QString()) const;

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
};

}
