#include "data/demo/RegisterWriter.h"

#include "data/ChapterCatalogue.h"
#include "data/Schema.h"
#include "data/demo/Buildings.h"
#include "data/demo/Vocabulary.h"
#include "data/dbf/DbfBulkWriter.h"
#include "data/dbf/FileNames.h"

namespace velmor::data::demo {

namespace {

const QString kIdentificare = QStringLiteral("Identificare.dbf");
const QString kTarlale = QStringLiteral("Tarlale.dbf");
const QString kOmTarla = QStringLiteral("OmTarla.dbf");
const QString kPozeTarla = QStringLiteral("PozeTarla.dbf");

QString chapterFile(int chapter)
{
    return QStringLiteral("CAP%1.dbf").arg(chapter);
}

int column(const dbf::DbfBulkWriter& t, const char* name)
{
    return t.column(QLatin1String(name));
}

// The columns of an area pair (hectares, ares), by their prefix ("A" gives AHA and AARI).
struct AreaColumns {
    AreaColumns(const dbf::DbfBulkWriter& t, const QString& prefix)
        : ha(t.column(prefix + QStringLiteral("HA")))
        , ari(t.column(prefix + QStringLiteral("ARI")))
    {
    }
    int ha, ari;
};

}

// Every column the writer fills, by table.
struct RegisterWriter::Columns {
    struct Identificare {
        int anul, poz, volum, rol, localit, strada, nr, judet, loc, str2, nr2, siruta, denumire, subunit, sirues,
            codfiscal, codid, tipra;
    } identificare;
    struct Members {
        int anul, codid, numep, cnp, codsex, denum, cod, datan, cod1, mentiuni;
    } members;
    int codid[12] {}; // CODID of chapters 2 to 11
    AreaColumns cap2a, cap2b, cap2c, cap2i, cap3, cap4, cap6a, cap6b;
    int cap5nr, cap7nr, cap8first, cap8second, cap9nr, cap10detalii, cap10um, cap10obs, cap11anul, cap11mentiuni;
    struct Plots {
        int anul, codid, codt, obs, act, nract, dataelib, intra, tarla, nrtarla, nrparc, categ, supraf, vecn, vecs,
            vece, vecv, carfun, nrcad, cineluc;
    } plots;
    struct Holders {
        int anul, codid, codt, titular;
    } holders;
    struct Pictures {
        int anul, codt, fisier;
    } pictures;

    Columns(const dbf::DbfBulkWriter& id, const std::array<dbf::DbfBulkWriter*, 12>& cap, const dbf::DbfBulkWriter& pl,
            const dbf::DbfBulkWriter& ho, const dbf::DbfBulkWriter& pi)
        : identificare {column(id, "ANUL"), column(id, "POZ"), column(id, "VOLUM"), column(id, "ROL"),
                        column(id, "LOCALIT"), column(id, "STRADA"), column(id, "NR"), column(id, "JUDET"),
                        column(id, "LOC"), column(id, "STR2"), column(id, "NR2"), column(id, "SIRUTA"),
                        column(id, "DENUMIRE"), column(id, "SUBUNIT"), column(id, "SIRUES"), column(id, "CODFISCAL"),
                        column(id, "CODID"), column(id, "TIPRA")}
        , members {column(*cap[1], "ANUL"), column(*cap[1], "CODID"), column(*cap[1], "NUMEP"), column(*cap[1], "CNP"),
                   column(*cap[1], "CODSEX"), column(*cap[1], "DENUM"), column(*cap[1], "COD"), column(*cap[1], "DATAN"),
                   column(*cap[1], "COD1"), column(*cap[1], "MENTIUNI")}
        , cap2a(*cap[2], QStringLiteral("A"))
        , cap2b(*cap[2], QStringLiteral("B"))
        , cap2c(*cap[2], QStringLiteral("C"))
        , cap2i(*cap[2], QStringLiteral("I"))
        , cap3(*cap[3], QString())
        , cap4(*cap[4], QString())
        , cap6a(*cap[6], QStringLiteral("A"))
        , cap6b(*cap[6], QStringLiteral("B"))
        , cap5nr(column(*cap[5], "NR"))
        , cap7nr(column(*cap[7], "NR"))
        , cap8first(column(*cap[8], "SEM_1"))
        , cap8second(column(*cap[8], "SEM_2"))
        , cap9nr(column(*cap[9], "NR"))
        , cap10detalii(column(*cap[10], "DETALII"))
        , cap10um(column(*cap[10], "UM"))
        , cap10obs(column(*cap[10], "OBS"))
        , cap11anul(column(*cap[11], "ANUL"))
        , cap11mentiuni(column(*cap[11], "MENTIUNI"))
        , plots {column(pl, "ANUL"), column(pl, "CODID"), column(pl, "CODT"), column(pl, "OBS"), column(pl, "ACT"),
                 column(pl, "NRACT"), column(pl, "DATAELIB"), column(pl, "INTRA"), column(pl, "TARLA"),
                 column(pl, "NRTARLA"), column(pl, "NRPARC"), column(pl, "CATEG"), column(pl, "SUPRAF"),
                 column(pl, "VECN"), column(pl, "VECS"), column(pl, "VECE"), column(pl, "VECV"), column(pl, "CARFUN"),
                 column(pl, "NRCAD"), column(pl, "CINELUC")}
        , holders {column(ho, "ANUL"), column(ho, "CODID"), column(ho, "CODT"), column(ho, "TITULAR")}
        , pictures {column(pi, "ANUL"), column(pi, "CODT"), column(pi, "FISIER")}
    {
        for (int n = 2; n <= 11; ++n)
            codid[n] = column(*cap[size_t(n)], "CODID");
    }
};

RegisterWriter::RegisterWriter(const QString& dataDirectory, DemoSummary& summary)
    : m_summary(summary)
{
    for (const QString& name : Schema::tableFileNames()) {
        const QString path = dbf::resolveFileName(dataDirectory + QLatin1Char('/') + name);
        m_tables[name] = std::make_unique<dbf::DbfBulkWriter>(path, dbf::DbfBulkWriter::layoutOf(path));
    }
    for (int n = 1; n <= 11; ++n)
        m_chapters[size_t(n)] = m_tables[chapterFile(n)].get();

    // The templates hold every column of a layout: the tables must be the creators'.
    for (const auto& [name, writer] : m_tables) {
        QStringList actual;
        for (const dbf::Field& f : writer->fields())
            actual << f.name;
        if (actual != Schema::layoutColumns(Schema::tableLayout(name)))
            throw DemoError(QStringLiteral("Tabelul \"%1\" nu are structura asteptata.").arg(name));
    }
    m_columns = std::make_unique<Columns>(table(kIdentificare), m_chapters, table(kTarlale), table(kOmTarla),
                                          table(kPozeTarla));
}

RegisterWriter::~RegisterWriter() = default;

dbf::DbfBulkWriter& RegisterWriter::table(const QString& fileName)
{
    return *m_tables[fileName];
}

void RegisterWriter::startYear(int year)
{
    for (int n = 2; n <= 10; ++n) {
        dbf::DbfBulkWriter& t = *m_chapters[size_t(n)];
        const int count = chapterRowCount(n);
        QByteArray all;
        const int anul = t.column(QStringLiteral("ANUL"));
        const int rand = t.column(QStringLiteral("RAND"));
        for (int k = 1; k <= count; ++k) {
            QByteArray rec = t.blankRecord();
            t.setInteger(rec.data(), anul, year);
            if (t.fields()[rand].decimals == 1)
                t.setScaled(rec.data(), rand, chapterRowCodeTenths(n, k));
            else
                t.setInteger(rec.data(), rand, qint64(chapterRowCode(n, k)));
            if (n != 10)
                t.setText(rec.data(), t.column(QStringLiteral("CATEG")), chapterRowName(n, k));
            for (int c = 0; c < int(t.fields().size()); ++c) {
                const QString& name = t.fields()[c].name;
                if (t.fields()[c].isNumeric() && name != QLatin1String("ANUL") && name != QLatin1String("CODID")
                    && name != QLatin1String("RAND"))
                    t.setInteger(rec.data(), c, 0);
            }
            all += rec;
        }
        m_templates[size_t(n)] = all;
    }
}

void RegisterWriter::writeHousehold(const Household& h, const LandChapters& land, const FarmChapters& farm, int year)
{
    const qint64 codid = ++m_codid;
    writeIdentification(h, year, codid);
    writeMembers(h, year, codid);
    writeChapters(h, land, farm, year, codid);
    writePlots(h, year, codid);
}

void RegisterWriter::writeIdentification(const Household& h, int year, qint64 codid)
{
    const Columns::Identificare& c = m_columns->identificare;
    dbf::DbfBulkWriter& t = table(kIdentificare);
    QByteArray rec = t.blankRecord();
    char* r = rec.data();
    t.setInteger(r, c.anul, year);
    t.setInteger(r, c.poz, h.position);
    t.setInteger(r, c.volum, h.volume);
    t.setInteger(r, c.rol, h.role);
    t.setText(r, c.localit, QString::fromUtf8(kVillages[h.village]));
    t.setText(r, c.strada, h.street);
    t.setText(r, c.nr, h.number);
    t.setText(r, c.judet, h.county);
    t.setText(r, c.loc, h.locality);
    t.setText(r, c.str2, h.street2);
    t.setText(r, c.nr2, h.number2);
    t.setText(r, c.siruta, h.siruta);
    t.setText(r, c.denumire, h.unit);
    t.setText(r, c.subunit, h.subunit);
    t.setText(r, c.sirues, h.sirues);
    t.setText(r, c.codfiscal, h.fiscalCode);
    t.setInteger(r, c.codid, codid);
    t.setInteger(r, c.tipra, h.type);
    t.appendRecord(r);
    ++m_summary.householdRows;
}

// Members, the head first.
void RegisterWriter::writeMembers(const Household& h, int year, qint64 codid)
{
    const Columns::Members& c = m_columns->members;
    dbf::DbfBulkWriter& t = *m_chapters[1];
    QByteArray rec = t.blankRecord();
    char* r = rec.data();
    for (const Person& p : h.members) {
        t.setInteger(r, c.anul, year);
        t.setInteger(r, c.codid, codid);
        t.setText(r, c.numep, p.name());
        t.setText(r, c.cnp, p.cnp);
        t.setInteger(r, c.codsex, p.sex);
        t.setText(r, c.denum, QString::fromLatin1(kKinships[p.kinship].text));
        t.setInteger(r, c.cod, kKinships[p.kinship].code);
        t.setDate(r, c.datan, p.birth);
        t.setInteger(r, c.cod1, ++m_cod1);
        t.setText(r, c.mentiuni, p.notes);
        t.appendRecord(r);
        ++m_summary.memberRows;
    }
}

void RegisterWriter::writeChapters(const Household& h, const LandChapters& land, const FarmChapters& farm, int year,
                                   qint64 codid)
{
    const Columns& c = *m_columns;
    // Every catalogue row of chapter n from the year's template, CODID and `fill` setting the values.
    const auto chapter = [&](int n, auto&& fill) {
        dbf::DbfBulkWriter& t = *m_chapters[size_t(n)];
        QByteArray rows = m_templates[size_t(n)];
        const int length = t.recordLength();
        const int count = chapterRowCount(n);
        for (int position = 1; position <= count; ++position) {
            char* r = rows.data() + qsizetype(position - 1) * length;
            t.setInteger(r, c.codid[n], codid);
            fill(t, r, position);
            t.appendRecord(r);
        }
        m_summary.chapterRows += count;
    };
    const auto setArea = [](dbf::DbfBulkWriter& t, char* r, const AreaColumns& columns, qint64 m2) {
        const qint64 ha = m2 / 10000;
        t.setInteger(r, columns.ha, ha);
        t.setScaled(r, columns.ari, m2 - ha * 10000);
    };

    chapter(2, [&](dbf::DbfBulkWriter& t, char* r, int position) {
        const AreaRow& row = land.cap2[position];
        setArea(t, r, c.cap2a, row.a);
        setArea(t, r, c.cap2b, row.b);
        setArea(t, r, c.cap2c, row.c);
        setArea(t, r, c.cap2i, row.i);
    });
    chapter(3, [&](dbf::DbfBulkWriter& t, char* r, int position) { setArea(t, r, c.cap3, land.cap3[position]); });
    chapter(4, [&](dbf::DbfBulkWriter& t, char* r, int position) { setArea(t, r, c.cap4, land.cap4[position]); });
    chapter(5, [&](dbf::DbfBulkWriter& t, char* r, int position) { t.setInteger(r, c.cap5nr, land.cap5[position]); });
    chapter(6, [&](dbf::DbfBulkWriter& t, char* r, int position) {
        // Irrigated land lies in the locality: the total and B are the same.
        setArea(t, r, c.cap6a, land.cap6[position]);
        setArea(t, r, c.cap6b, land.cap6[position]);
    });
    chapter(7, [&](dbf::DbfBulkWriter& t, char* r, int position) { t.setInteger(r, c.cap7nr, farm.cap7[position]); });
    chapter(8, [&](dbf::DbfBulkWriter& t, char* r, int position) {
        t.setInteger(r, c.cap8first, farm.cap8[position].first);
        t.setInteger(r, c.cap8second, farm.cap8[position].second);
    });
    chapter(9, [&](dbf::DbfBulkWriter& t, char* r, int position) { t.setInteger(r, c.cap9nr, h.machines[position]); });
    chapter(10, [&](dbf::DbfBulkWriter& t, char* r, int position) {
        t.setScaled(r, c.cap10detalii, h.buildings[position]);
        t.setText(r, c.cap10um, Buildings::isArea(position) ? QStringLiteral("mp") : QString());
        t.setText(r, c.cap10obs, h.buildingNotes[position]);
    });

    // Chapter 11: one notes row.
    {
        dbf::DbfBulkWriter& t = *m_chapters[11];
        QByteArray rec = t.blankRecord();
        t.setInteger(rec.data(), c.cap11anul, year);
        t.setInteger(rec.data(), c.codid[11], codid);
        t.setMemo(rec.data(), c.cap11mentiuni, h.notes);
        t.appendRecord(rec.constData());
        ++m_summary.chapterRows;
    }
}

void RegisterWriter::writePlots(const Household& h, int year, qint64 codid)
{
    const Columns::Plots& pc = m_columns->plots;
    const Columns::Holders& hc = m_columns->holders;
    const Columns::Pictures& fc = m_columns->pictures;
    dbf::DbfBulkWriter& plots = table(kTarlale);
    dbf::DbfBulkWriter& holders = table(kOmTarla);
    dbf::DbfBulkWriter& pictures = table(kPozeTarla);
    QByteArray plotRec = plots.blankRecord();
    QByteArray holderRec = holders.blankRecord();
    QByteArray pictureRec = pictures.blankRecord();
    for (const Plot& p : h.plots) {
        const qint64 codt = ++m_codt;
        char* r = plotRec.data();
        plots.setInteger(r, pc.anul, year);
        plots.setInteger(r, pc.codid, codid);
        plots.setInteger(r, pc.codt, codt);
        plots.setText(r, pc.obs, p.notes);
        plots.setText(r, pc.act, p.deed);
        plots.setText(r, pc.nract, p.deedNumber);
        plots.setText(r, pc.dataelib, p.deedDate);
        plots.setText(r, pc.intra, p.intra ? QStringLiteral("INTRAVILAN") : QStringLiteral("EXTRAVILAN"));
        plots.setText(r, pc.tarla, p.block);
        plots.setText(r, pc.nrtarla, p.blockNumber);
        plots.setText(r, pc.nrparc, p.parcel);
        plots.setText(r, pc.categ, QString::fromLatin1(kPlotCategories[p.category].text));
        plots.setScaled(r, pc.supraf, p.m2);
        plots.setText(r, pc.vecn, p.north);
        plots.setText(r, pc.vecs, p.south);
        plots.setText(r, pc.vece, p.east);
        plots.setText(r, pc.vecv, p.west);
        plots.clear(r, pc.carfun);
        plots.setText(r, pc.nrcad, p.cadastral);
        plots.setText(r, pc.cineluc, p.worker);
        plots.appendRecord(r);
        ++m_summary.plotRows;
        for (const QString& holder : p.holders) {
            char* o = holderRec.data();
            holders.setInteger(o, hc.anul, year);
            holders.setInteger(o, hc.codid, codid);
            holders.setInteger(o, hc.codt, codt);
            holders.setText(o, hc.titular, holder);
            holders.appendRecord(o);
            ++m_summary.holderRows;
        }
        for (const QString& file : p.pictures) {
            char* o = pictureRec.data();
            pictures.setInteger(o, fc.anul, year);
            pictures.setInteger(o, fc.codt, codt);
            pictures.setText(o, fc.fisier, file);
            pictures.appendRecord(o);
            ++m_summary.pictureRows;
        }
    }
}

void RegisterWriter::finish()
{
    for (auto& [name, table] : m_tables)
        table->finish();
}

}
