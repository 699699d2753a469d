#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

class Settings;
namespace engine {
class Engine;
}

// The value lists the plot dialog and the plot search offer (deed kinds, field block names,
// workers), kept in text files of the data directory, and the category last used for each
// field block, kept in the settings file.
class PlotValueLists {
public:
    enum class List { Deeds, Blocks, Workers };

    PlotValueLists(engine::Engine& engine, QString dataDirectory, Settings& settings);

    // "TarlaActe.txt", "Tarlale.txt", "CineLuc.txt" in the data directory.
    QString filePath(List list) const;
    // The list as its file holds it.
    QStringList values(List list) const;
    // Rebuilds every list from the plots of all years and writes its file (at start-up).
    void IncarcaListe();
    // Adds the trimmed value when it is not blank and no item equals it in capitals, and rewrites
    // the file; true when it was added.
    bool AdaugaInLista(List list, const QString& value);

    // "INTRAVILAN" when the block name holds that word, else "EXTRAVILAN".
    static QString classificationOf(const QString& block);
    // The category item (0 to 7) remembered for the block in its classification; 0 when none.
    int rememberedCategory(const QString& classification, const QString& block) const;
    void rememberCategory(const QString& classification, const QString& block, int item);

private:
    engine::Engine& m_engine;
    QString m_dataDirectory;
    Settings& m_settings;
};

}
