#pragma once

#include "core/Error.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace velmor {

class Settings;
namespace engine {
class Engine;
}

// What the plot dialog holds: one plot of a household with its holders.
struct PlotDetails {
    QString deed;           // ACT
    QString deedNumber;     // NRACT
    QString deedDate;       // DATAELIB
    QString notes;          // OBS: the lines of the notes joined without separator
    QString classification; // INTRA: "INTRAVILAN" or "EXTRAVILAN"
    QString block;          // TARLA
    QString blockNumber;    // NRTARLA
    QString parcel;         // NRPARC
    QString cadastral;      // NRCAD
    QString category;       // CATEG
    double area = 0;        // SUPRAF, hectares
    QString north, east, south, west; // VECN, VECE, VECS, VECV
    QString worker;         // CINELUC
    QStringList holderLines; // as typed, one holder per line
};

// The values of a plot a refusal can be about.
enum class PlotField {
    Area, Holders, Deed, DeedNumber, DeedDate, Notes, Block, BlockNumber, Parcel, Cadastral, Category, Classification, Worker, North, East, South, West, Pictures,
};

// The field's label in the plot dialog ("Suprafata (ha)", ..., "Poze" for the pictures).
QString plotFieldLabel(PlotField field);

// A value the plot dialog must not accept; `field` is the value it is about.
class PlotRefusal : public Error {
public:
    PlotRefusal(const QString& message, PlotField field)
        : Error(message)
        , m_field(field)
    {
    }
    PlotField field() const { return m_field; }

private:
    PlotField m_field;
};

// The plots of the register (Tarlale), their holders (OmTarla) and picture references
// (PozeTarla). Every value is checked before the first statement and bound, never spliced.
class PlotStore {
public:
    PlotStore(engine::Engine& engine, QString dataDirectory, Settings& settings);

    // The use categories in the order of the dialog's list.
    static const QStringList& categories();
    // The holders of the typed lines: trimmed, in capitals, blank lines left out.
    static QStringList holders(const QStringList& lines);
    // Throws PlotRefusal when a value cannot be stored as it stands.
    static void check(const PlotDetails& plot);

    // Inserts a new plot with a new CODT and its holders; returns the CODT.
    qint64 add(int year, qint64 household, const PlotDetails& plot);
    // Rewrites the plot in place (its CODT and pictures stay) and replaces its holders.
    void change(int year, qint64 household, qint64 codt, const PlotDetails& plot);
    // Deletes a plot of the year with its picture references and holders, the plot row last.
    void remove(int year, qint64 codt);
    // The plot as the dialog shows it; holders in alphabetical order.
    PlotDetails read(int year, qint64 codt) const;

    // The names of a household's members, in the order of their kinship code.
    QStringList memberNames(int year, qint64 household) const;

    // The picture files of a plot, in alphabetical order.
    QStringList pictures(int year, qint64 codt) const;
    // Refuses a path wider than its column and a path the plot already has.
    void addPicture(int year, qint64 codt, const QString& path);
    void removePicture(int year, qint64 codt, const QString& path);
    // Only documents and pictures are handed to the system's viewer, never programs or scripts.
    static bool mayOpen(const QString& path);

private:
    QString table(const char* name) const;
    void insertHolders(int year, qint64 household, qint64 codt, const QStringList& holders);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    Settings& m_settings;
};

}
