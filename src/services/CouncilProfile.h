#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace velmor {

// The council constants of section CONSTANTE of the settings file.
struct CouncilConstants {
    QString NumePrimarie;
    QString Comuna;
    QString CodFiscal;
    QString JUDET;
    QString PRIMAR;
    QString SECRETAR;
    QString TIPLOC; // "COMUNA", "ORASUL", "MUNICIPIUL" or empty (no type selected)

    // The seven keys in the order they are written.
    static QStringList keys();
    QString value(const QString& key) const;
    void setValue(const QString& key, const QString& value);
    bool operator==(const CouncilConstants&) const = default;
};

// The locality types in the order of the type box, and the genitive word of a type
// ("comunei", "orasului", "municipiului"; empty for no or an unknown type).
QStringList TipuriLocalitate();
QString TipLocalitate(const QString& tipLoc);

// What the run knows of the council: its constants, its villages (Sate.lst) and the
// automatic-backup directory. Loaded at start-up and changed by the administration window; every
// window reads it from here and hears of changes through `changed`.
class CouncilProfile : public QObject {
    Q_OBJECT
public:
    const CouncilConstants& constants() const { return m_constants; }
    void setConstants(const CouncilConstants& constants);

    const QStringList& villages() const { return m_villages; }
    void setVillages(const QStringList& villages);

    // "-" when none is configured.
    const QString& backupDirectory() const { return m_backupDirectory; }
    void setBackupDirectory(const QString& directory);

signals:
    void changed();

private:
    CouncilConstants m_constants;
    QStringList m_villages;
    QString m_backupDirectory = QStringLiteral("-");
};

}
