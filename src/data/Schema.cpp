#include "data/Schema.h"

#include "data/dbf/FileNames.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlError.h"
#include "core/Interaction.h"
#include "data/engine/SqlText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmor::data {

namespace {


// Deletes a table file (whatever letter case it has on disk); false when it still exists.
bool deleteTableFile(engine::Engine& engine, const QString& path)
{
    const QString actual = engine.resolvePath(path);
    engine.forget(actual);
    if (!QFileInfo::exists(actual))
        return true;
    QFile::remove(actual);
    return !QFileInfo::exists(actual);
}

}

Schema::Schema(engine::Engine& engine, QString dataDirectory, Interaction& ui)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_ui(ui)
    , m_sx(engine)
    , m_tx(engine)
{
}

QString Schema::tablePath(const QString& fileName) const
{
    return QDir::toNativeSeparators(m_dataDirectory + QLatin1Char('/') + fileName);
}

QStringList Schema::layoutLines(Layout layout)
{
    switch (layout) {
    case Layout::Identificare:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), POZ DECIMAL(6,0), VOLUM DECIMAL(6,0), ROL DECIMAL(9,0), LOCALIT CHAR(40), STRADA CHAR(32),"),
            QStringLiteral("NR  CHAR(32), JUDET CHAR(20), LOC CHAR(32), STR2 CHAR(32),"),
            QStringLiteral("NR2 CHAR(32), SIRUTA CHAR(6), DENUMIRE CHAR(40), SUBUNIT CHAR(40),"),
            QStringLiteral("SIRUES CHAR(10), CODFISCAL CHAR(10), CODID DECIMAL(10,0), TIPRA DECIMAL(6,0) )"),
        };
    case Layout::Cap1:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("NUMEP CHAR(40), CNP CHAR(13), CODSEX DECIMAL(1,0), DENUM CHAR(24), COD DECIMAL(1,0),"),
            QStringLiteral("DATAN DATE, COD1 DECIMAL(10,0), MENTIUNI CHAR(240) )"),
        };
    case Layout::Cap2:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), AHA DECIMAL(4,0), AARI DECIMAL(6,2), BHA DECIMAL(4,0), BARI DECIMAL(6,2),"),
            QStringLiteral("CHA DECIMAL(4,0), CARI DECIMAL(6,2), RAND DECIMAL(3,0), IHA DECIMAL(4,0), IARI DECIMAL(6,2) )"),
        };
    case Layout::Cap3:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), HA DECIMAL(4,0), ARI DECIMAL(6,2), RAND DECIMAL(3,0) )"),
        };
    case Layout::Cap5:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(3,0) )"),
        };
    case Layout::Cap6:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), AHA DECIMAL(4,0), AARI DECIMAL(6,2), BHA DECIMAL(4,0), BARI DECIMAL(6,2),"),
            QStringLiteral("CHA DECIMAL(4,0), CARI DECIMAL(6,2), RAND DECIMAL(3,0) )"),
        };
    case Layout::Cap7:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), NR DECIMAL(7,0), RAND DECIMAL(4,1) )"),
        };
    case Layout::Cap8:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("CATEG CHAR(60), SEM_1 DECIMAL(6,0), SEM_2 DECIMAL(6,0), RAND DECIMAL(3,0) )"),
        };
    case Layout::Cap10:
        return {
            QStringLiteral("( ANUL DECIMAL(4,0), CODID DECIMAL(10,0),"),
            QStringLiteral("DETALII DECIMAL(8,2),UM CHAR(2), RAND DECIMAL(3,0), OBS CHAR(40) )"),
        };
    case Layout::Cap11:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),MENTIUNI BLOB(1,1) )"),
        };
    case Layout::Tarlale:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),CODT DECIMAL(10,0),"),
            QStringLiteral(" OBS CHAR(240),  ACT CHAR(45), NRACT CHAR(15), DATAELIB CHAR(11),"),
            QStringLiteral("INTRA CHAR(10),  TARLA CHAR(32), NRTARLA CHAR(16), NRPARC CHAR(16),"),
            QStringLiteral("CATEG CHAR(30),  SUPRAF DECIMAL(10,4), VECN CHAR(120), VECS CHAR(120), VECE CHAR(120), VECV CHAR(120),"),
            QStringLiteral("CARFUN CHAR(50), NRCAD CHAR(10), CINELUC CHAR(40) )"),
        };
    case Layout::OmTarla:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0),CODID DECIMAL(10,0),CODT DECIMAL(10,0),"),
            QStringLiteral(" TITULAR CHAR(40))"),
        };
    case Layout::PozeTarla:
        return {
            QStringLiteral("(ANUL DECIMAL(4,0), CODT DECIMAL(10,0),"),
            QStringLiteral(" FISIER CHAR(240))"),
        };
    }
    return {};
}

Layout Schema::chapterLayout(int chapter)
{
    switch (chapter) {
    case 1: return Layout::Cap1;
    case 2: return Layout::Cap2;
    case 3:
    case 4: return Layout::Cap3;
    case 5:
    case 9: return Layout::Cap5;
    case 6: return Layout::Cap6;
    case 7: return Layout::Cap7;
    case 8: return Layout::Cap8;
    case 10: return Layout::Cap10;
    case 11: return Layout::Cap11;
    default:
        throw std::invalid_argument("chapter number outside 1..11");
    }
}

Layout Schema::tableLayout(const QString& tableFileName)
{
    QString base = tableFileName.toUpper();
    if (base.endsWith(QLatin1String(".DBF")))
        base.chop(4);
    if (base == QLatin1String("IDENTIFICARE"))
        return Layout::Identificare;
    if (base == QLatin1String("TARLALE"))
        return Layout::Tarlale;
    if (base == QLatin1String("OMTARLA"))
        return Layout::OmTarla;
    if (base == QLatin1String("POZETARLA"))
        return Layout::PozeTarla;
    if (base.startsWith(QLatin1String("CAP"))) {
        bool ok = false;
        const int n = base.mid(3).toInt(&ok);
        if (ok && n >= 1 && n <= 11)
            return chapterLayout(n);
    }
    throw std::invalid_argument("not a register table: " + tableFileName.toStdString());
}

QStringList Schema::layoutColumns(Layout layout)
{
    // The first word of every comma-separated item inside the outer parentheses; commas inside
    // a type's own parentheses ("DECIMAL(4,0)") do not separate items.
    QStringList columns;
    const QString text = layoutLines(layout).join(QLatin1Char(' '));
    int depth = 0;
    bool atItemStart = false;
    QString name;
    for (const QChar c : text) {
        if (c == QLatin1Char('(')) {
            if (++depth == 1)
                atItemStart = true;
        } else if (c == QLatin1Char(')')) {
            --depth;
        } else if (depth == 1 && c == QLatin1Char(',')) {
            atItemStart = true;
        } else if (depth == 1 && atItemStart) {
            if (c.isSpace() && !name.isEmpty()) {
                columns << name;
                name.clear();
                atItemStart = false;
            } else if (!c.isSpace()) {
                name += c;
            }
        }
    }
    return columns;
}

QStringList Schema::tableFileNames()
{
    QStringList names {QStringLiteral("Identificare.dbf")};
    for (int n = 1; n <= 11; ++n)
        names << QStringLiteral("CAP%1.dbf").arg(n);
    names << QStringLiteral("Tarlale.dbf") << QStringLiteral("OmTarla.dbf") << QStringLiteral("PozeTarla.dbf");
    return names;
}

QStringList Schema::indexColumns(const QString& tableFileName)
{
    QString base = QFileInfo(tableFileName).completeBaseName().toUpper();
    if (base == QLatin1String("IDENTIFICARE"))
        return {QStringLiteral("ANUL")};
    if (base == QLatin1String("CAP1"))
        return {};
    if (base == QLatin1String("CAP11") || base == QLatin1String("TARLALE") || base == QLatin1String("OMTARLA"))
        return {QStringLiteral("ANUL"), QStringLiteral("CODID")};
    if (base == QLatin1String("POZETARLA"))
        return {QStringLiteral("ANUL"), QStringLiteral("CODT")};
    if (base.startsWith(QLatin1String("CAP"))) {
        bool ok = false;
        const int n = base.mid(3).toInt(&ok);
        if (ok && n >= 2 && n <= 10)
            return {QStringLiteral("ANUL"), QStringLiteral("CODID"), QStringLiteral("RAND")};
    }
    return {};
}

void Schema::runCreate(Layout layout, const QString& path)
{
    engine::QueryRst(m_sx);
    m_sx.add(QStringLiteral("CREATE TABLE ") + engine::quotedPath(path));
    for (const QString& line : layoutLines(layout))
        m_sx.add(line);
    m_sx.execSQL();
}

void Schema::create(Layout layout, const QString& path)
{
    deleteTableFile(m_engine, path);
    runCreate(layout, path);
}

void Schema::CreazaIdentificare(const QString& path)
{
    if (!deleteTableFile(m_engine, path)) {
        const QString text = QStringLiteral("Restartati calculatorul si reveniti!");
        m_ui.Mesaj(QStringLiteral("Problema de Windows!"), text, KindError, ButtonsOk);
        throw ProgramTermination(text);
    }
    runCreate(Layout::Identificare, path);
}

void Schema::CreazaCap1(const QString& path) { create(Layout::Cap1, path); }
void Schema::CreazaCap2(const QString& path) { create(Layout::Cap2, path); }
void Schema::CreazaCap3(const QString& path) { create(Layout::Cap3, path); }
void Schema::CreazaCap5(const QString& path) { create(Layout::Cap5, path); }
void Schema::CreazaCap6(const QString& path) { create(Layout::Cap6, path); }
void Schema::CreazaCap7(const QString& path) { create(Layout::Cap7, path); }
void Schema::CreazaCap8(const QString& path) { create(Layout::Cap8, path); }
void Schema::CreazaCap10(const QString& path) { create(Layout::Cap10, path); }
void Schema::CreazaCap11(const QString& path) { create(Layout::Cap11, path); }
void Schema::CreazaTarlale(const QString& path) { create(Layout::Tarlale, path); }
void Schema::CreazaOmTarla(const QString& path) { create(Layout::OmTarla, path); }
void Schema::CreazaPozeTarla(const QString& path) { create(Layout::PozeTarla, path); }

void Schema::CreazaCapitol(int chapter, const QString& path)
{
    create(chapterLayout(chapter), path);
}

void Schema::CreazaBaza()
{
    const auto missing = [this](const QString& name) {
        return !QFileInfo::exists(dbf::resolveFileName(m_dataDirectory + QLatin1Char('/') + name));
    };
    if (missing(QStringLiteral("Identificare.dbf")))
        CreazaIdentificare(tablePath(QStringLiteral("Identificare.dbf")));
    for (int n = 1; n <= 11; ++n) {
        const QString name = QStringLiteral("CAP%1.dbf").arg(n);
        if (missing(name))
            CreazaCapitol(n, tablePath(name));
    }
    if (missing(QStringLiteral("Tarlale.dbf")))
        CreazaTarlale(tablePath(QStringLiteral("Tarlale.dbf")));
    if (missing(QStringLiteral("OmTarla.dbf")))
        CreazaOmTarla(tablePath(QStringLiteral("OmTarla.dbf")));
    if (missing(QStringLiteral("PozeTarla.dbf")))
        CreazaPozeTarla(tablePath(QStringLiteral("PozeTarla.dbf")));
}

bool Schema::ExistaBaza(const QString& directory)
{
    QString dir = QDir::fromNativeSeparators(directory);
    while (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    for (const QString& name : tableFileNames()) {
        if (!QFileInfo::exists(dbf::resolveFileName(dir + QLatin1Char('/') + name)))
            return false;
    }
    return true;
}

void Schema::RemoveIndex(const QString& path)
{
    const QString actual = m_engine.resolvePath(path);
    QFile file(actual);
    if (QFileInfo(actual).isDir() || !file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return;
    // A file too short to hold a dBase header is not extended. A flag already clear is not
    // written again, so the file stays unchanged and its cached records stay valid.
    char flag = 0;
    if (file.size() > 28 && file.seek(28) && file.read(&flag, 1) == 1 && flag != 0) {
        file.seek(28);
        file.write("\0", 1);
    }
    file.close();
    // The extension is replaced rather than the last four characters cut, so a path without
    // ".dbf" never names another file.
    const QString mdx = dbf::resolveFileName(dbf::withExtension(actual, QStringLiteral("mdx")));
    if (QFileInfo(mdx).isFile())
        QFile::remove(mdx);
}

void Schema::Impacheteaza(const QString& path)
{
    if (m_tx.active())
        m_tx.close();
    m_tx.setTableName(QString());
    m_tx.setFiltered(false);
    m_tx.setFilter(QString());

    const bool wasExclusive = m_tx.exclusive();
    m_tx.setTableName(path);
    m_tx.setExclusive(true);
    try {
        m_tx.open();
        m_tx.pack();
    } catch (...) {
        m_tx.close();
        m_tx.setExclusive(wasExclusive);
        throw;
    }
    m_tx.close();
    m_tx.setExclusive(wasExclusive);
}

void Schema::CreazaIndex(const QString& path, const QString& columns)
{
    for (const QString& part : columns.split(QLatin1Char(';'))) {
        const QString column = part.trimmed();
        if (column.isEmpty())
            continue;
        engine::QueryRst(m_sx);
        m_sx.add(QStringLiteral("CREATE INDEX ") + column + QStringLiteral(" ON ") + engine::quotedPath(path)
                 + QStringLiteral(" (") + column + QStringLiteral(")"));
        try {
            m_sx.execSQL();
        } catch (const std::exception&) {
            // A missing column or an existing index is not an error here.
        }
        m_ui.processEvents();
    }
}

void Schema::StergePuneIndex(const QString& path, const QStringList& columns)
{
    Impacheteaza(path);
    const QString joined = columns.join(QLatin1Char(';'));
    if (!joined.isEmpty())
        CreazaIndex(path, joined);
}

}
