#include "search/PlotSearch.h"

#include "core/Error.h"
#include "core/Interaction.h"
#include "core/StagedFile.h"
#include "data/dbf/CodePage1250.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "data/dbf/ValueConversions.h"
#include "reports/OutputSlots.h"

#include <QDir>
#include <QFile>

#include <cmath>

namespace velmor::search {


namespace {

const char* const DefaultOrder = "ORDER BY I.LOCALIT, I.VOLUM, I.POZ, T.ACT, T.NRACT, T.DATAELIB, T.INTRA";
const char* const ExportOrder = "ORDER BY I.TIPRA, I.LOCALIT, I.VOLUM, I.POZ, T.ACT, T.NRACT, T.DATAELIB, T.INTRA";

// Lower case for the letters A..Z only, as the list writes area kinds and categories.
QString lowerAZ(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return out;
}

// A SUPRAF value in ten-thousandths of a hectare.
qint64 tenThousandths(const dbf::Value& value)
{
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return qint64(*whole) * 10000;
    return qint64(std::llround(dbf::numberOnly(value) * 10000.0));
}

}

const QStringList& PlotSearch::gridFields()
{
    static const QStringList fields {
        QStringLiteral("LOCALIT"), QStringLiteral("POZ"),   QStringLiteral("VOLUM"),   QStringLiteral("NUMEP"),
        QStringLiteral("ACT"),     QStringLiteral("NRACT"), QStringLiteral("CATEG"),   QStringLiteral("INTRA"),
        QStringLiteral("TARLA"),   QStringLiteral("NRTARLA"), QStringLiteral("NRPARC"), QStringLiteral("SUPRAF"),
        QStringLiteral("NRCAD"),   QStringLiteral("VECN"),  QStringLiteral("VECE"),    QStringLiteral("VECS"),
        QStringLiteral("VECV"),    QStringLiteral("CINELUC")};
    return fields;
}

const QStringList& PlotSearch::gridHeadings()
{
    static const QStringList headings {
        QStringLiteral("Localitatea"), QStringLiteral("Pozitie"), QStringLiteral("Volum"), QStringLiteral("Cap gospodarie"),
        QStringLiteral("Act doveditor"), QStringLiteral("Numar"), QStringLiteral("Categorie"), QStringLiteral("Incadrare"),
        QStringLiteral("Denumire tarla"), QStringLiteral("Nr. tarla"), QStringLiteral("Nr. parcela"),
        QStringLiteral("Supraf. (ha)"), QStringLiteral("Nr. cadastral"), QStringLiteral("Nord"), QStringLiteral("Est"),
        QStringLiteral("Sud"), QStringLiteral("Vest"), QStringLiteral("Cine lucreaza")};
    return headings;
}

QStringList PlotSearch::categories()
{
    return {anyItem(),
            QStringLiteral("TEREN ARABIL"),
            QStringLiteral("PASUNI NATURALE"),
            QStringLiteral("FANETE NATURALE"),
            QStringLiteral("VII, PEPINIERE VITICOLE"),
            QStringLiteral("LIVEZI"),
            QStringLiteral("FOND FORESTIER"),
            QStringLiteral("CURTI SI CLADIRI"),
            QStringLiteral("ALTE TERENURI")};
}

QStringList PlotSearch::areaKinds()
{
    return {anyItem(), QStringLiteral("INTRAVILAN"), QStringLiteral("EXTRAVILAN")};
}

PlotSearch::PlotSearch(engine::Engine& engine, QString dataDirectory, QString workingYear)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_year(std::move(workingYear))
{
}

QString PlotSearch::table(const char* name) const
{
    return engine::quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
}

std::optional<QString> PlotSearch::refusal(const PlotFilters& f)
{
    struct Limit {
        const QString& text;
        int length;
        const char* label;
    };
    const Limit limits[] = {
        {f.deedNumber, DeedNumberLength, "Numarul actului"},
        {f.blockNumber, BlockNumberLength, "Numarul tarlalei"},
        {f.parcel, ParcelLength, "Nr.parcela"},
        {f.head, HeadLength, "Cap gospodarie"},
        {f.cadastral, CadastralLength, "Nr.cadastral"},
    };
    for (const Limit& l : limits) {
        if (l.text.trimmed().size() > l.length)
            return QStringLiteral("%1 are cel mult %2 caractere.").arg(QLatin1String(l.label)).arg(l.length);
    }
    const QString type = f.type.trimmed();
    if (!type.isEmpty() && (type.size() != 1 || type[0] < QLatin1Char('1') || type[0] > QLatin1Char('4')))
        return QStringLiteral("Tipul registrului este 1, 2, 3 sau 4, nu \"%1\".").arg(f.type);
    return std::nullopt;
}

void PlotSearch::run(const PlotFilters& given)
{
    if (const std::optional<QString> refused = refusal(given))
        throw Error(*refused);
    PlotFilters f = given;
    f.deedNumber = f.deedNumber.trimmed();
    f.blockNumber = f.blockNumber.trimmed();
    f.parcel = f.parcel.trimmed();

    bool ok = false;
    const qint64 year = m_year.trimmed().toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("Anul de lucru \"%1\" nu este un an.").arg(m_year));

    // The conditions, each with its value bound; the texts as the register stores them.
    m_parameters.clear();
    QStringList conditions;
    auto equals = [&](const QString& value, const char* column, const char* name) {
        if (value.trimmed().isEmpty())
            return;
        conditions << QStringLiteral("(%1=:%2)").arg(QLatin1String(column), QLatin1String(name));
        m_parameters.bind(QLatin1String(name), dbf::cp1250::storedForm(value));
    };
    auto prefix = [&](const QString& value, const char* column, const char* name) {
        const QString text = value.trimmed();
        if (text.isEmpty())
            return;
        conditions << QStringLiteral("(SUBSTRING(%1 FROM 1 FOR %2)=:%3)").arg(QLatin1String(column)).arg(text.size()).arg(QLatin1String(name));
        m_parameters.bind(QLatin1String(name), dbf::cp1250::storedForm(text));
    };
    equals(f.deed, "T.ACT", "ACT");
    equals(f.deedNumber, "T.NRACT", "NRACT");
    equals(f.category, "T.CATEG", "CATEG");
    if (!f.type.trimmed().isEmpty()) {
        conditions << QStringLiteral("(I.TIPRA=:TIPRA)");
        m_parameters.bind(QStringLiteral("TIPRA"), std::int64_t(f.type.trimmed().toInt()));
    }
    equals(f.village, "I.LOCALIT", "LOCALIT");
    equals(f.areaKind, "T.INTRA", "INTRA");
    equals(f.block, "T.TARLA", "TARLA");
    equals(f.worker, "T.CINELUC", "CINELUC");
    equals(f.blockNumber, "T.NRTARLA", "NRTARLA");
    if (!f.parcel.isEmpty()) {
        const int n = int(f.parcel.size());
        conditions << QStringLiteral("(SUBSTRING(TRIM(T.NRPARC) FROM 1 FOR %1)=:NRPARC) AND (NOT (SUBSTRING(TRIM(T.NRPARC) FROM %2 FOR 1) "
                                     "IN ('0','1','2','3','4','5','6','7','8','9')))")
                          .arg(n)
                          .arg(n + 1);
        m_parameters.bind(QStringLiteral("NRPARC"), dbf::cp1250::storedForm(f.parcel));
    }
    prefix(f.head, "C.NUMEP", "NUMEP");
    prefix(f.cadastral, "T.NRCAD", "NRCAD");

    m_lines = QStringList {
        QStringLiteral("SELECT I.CODID, I.LOCALIT, I.TIPRA, I.VOLUM, I.POZ, I.STRADA, I.NR,"),
        QStringLiteral("C.NUMEP, T.OBS, T.ACT, T.NRACT, T.DATAELIB, T.INTRA, T.TARLA, T.NRCAD, T.CINELUC,"),
        QStringLiteral("T.NRTARLA, T.NRPARC, T.CATEG, T.SUPRAF, T.VECN, T.VECE, T.VECS, T.VECV, T.CODT"),
        QStringLiteral("FROM ") + table("Identificare.dbf") + QStringLiteral(" I,"),
        table("CAP1.dbf") + QStringLiteral(" C,"),
        table("Tarlale.dbf") + QStringLiteral(" T"),
        QStringLiteral("WHERE I.ANUL=:ANUL"),
        QStringLiteral("AND C.DENUM=:CAP"),
        // Members and plots of the working year only, as the household's own rows.
        QStringLiteral("AND I.CODID=C.CODID AND C.ANUL=I.ANUL"),
        QStringLiteral("AND I.CODID=T.CODID AND T.ANUL=I.ANUL"),
    };
    if (!conditions.isEmpty())
        m_lines << QStringLiteral("AND ") + conditions.join(QStringLiteral(" AND "));
    m_parameters.bind(QStringLiteral("ANUL"), std::int64_t(year));
    m_parameters.bind(QStringLiteral("CAP"), QStringLiteral("Cap de gospodarie"));

    open(QLatin1String(DefaultOrder));
    m_current = m_rows.rows.empty() ? -1 : 0;

    // The total in one pass, in ten-thousandths of a hectare.
    const int supraf = m_rows.fieldIndex(QStringLiteral("SUPRAF"));
    m_total = 0;
    for (const auto& row : m_rows.rows)
        m_total += tenThousandths(row[size_t(supraf)]);
}

void PlotSearch::open(const QString& orderBy)
{
    m_rows = m_engine.select((QStringList(m_lines) << orderBy).join(QLatin1Char('\n')), m_parameters);
}

dbf::Value PlotSearch::value(int row, const QString& field) const
{
    const int column = m_rows.fieldIndex(field);
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    return m_rows.rows[size_t(row)][size_t(column)];
}

qint64 PlotSearch::currentPlot() const
{
    return m_current < 0 ? -1 : dbf::toWhole(value(m_current, QStringLiteral("CODT")));
}

bool PlotSearch::sortBy(const QString& field)
{
    if (m_rows.rows.empty() || m_lines.isEmpty() || !gridFields().contains(field.toUpper()))
        return false;
    const dbf::Value household = value(m_current, QStringLiteral("CODID"));
    open(QStringLiteral("ORDER BY ") + field.toUpper());
    const int codid = m_rows.fieldIndex(QStringLiteral("CODID"));
    m_current = m_rows.rows.empty() ? -1 : 0;
    for (int r = 0; r < rowCount(); ++r) {
        if (m_rows.rows[size_t(r)][size_t(codid)] == household) {
            m_current = r;
            break;
        }
    }
    return true;
}

void PlotSearch::exportOrder()
{
    if (m_lines.isEmpty())
        return;
    const dbf::Value household = value(m_current, QStringLiteral("CODID"));
    open(QLatin1String(ExportOrder));
    const int codid = m_rows.fieldIndex(QStringLiteral("CODID"));
    m_current = m_rows.rows.empty() ? -1 : 0;
    for (int r = 0; r < rowCount(); ++r) {
        if (m_rows.rows[size_t(r)][size_t(codid)] == household) {
            m_current = r;
            break;
        }
    }
}

QString PlotSearch::totalLabel(qint64 t)
{
    const bool negative = t < 0;
    const qint64 magnitude = negative ? -t : t;
    QString text = QString::number(magnitude / 10000);
    qint64 fraction = magnitude % 10000;
    if (fraction != 0) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    if (negative)
        text.prepend(QLatin1Char('-'));
    return QStringLiteral("Total suprafata : ") + text + QStringLiteral(" ha   ");
}

QString PlotSearch::totalLabel() const
{
    return totalLabel(m_total);
}

QStringList PlotSearch::pictures(qint64 codt) const
{
    bool ok = false;
    const qint64 year = m_year.trimmed().toLongLong(&ok);
    engine::Parameters p;
    p.bind(QStringLiteral("ANUL"), std::int64_t(ok ? year : 0));
    p.bind(QStringLiteral("CODT"), std::int64_t(codt));
    const engine::ResultSet found = m_engine.select(QStringLiteral("SELECT C.FISIER FROM ") + table("PozeTarla.dbf")
                                                        + QStringLiteral(" C WHERE C.ANUL=:ANUL AND C.CODT=:CODT"),
                                                    p);
    QStringList files;
    for (const auto& row : found.rows)
        files << dbf::storedText(row[0]);
    return files;
}

workbook::WorkbookDesign PlotSearch::plotListDesign(const QString& council, const QDate& date) const
{
    using workbook::CellStyle;
    using workbook::FontStyle;
    enum Style { Bold, Big, Header, Area };
    workbook::WorkbookDesign d;
    d.fonts = {FontStyle{10, false}, FontStyle{10, true}, FontStyle{14, true}};
    CellStyle header {0, true};
    CellStyle area {0, false};
    area.numberFormat = 2; // 0.00
    d.styles = {CellStyle{1, false}, CellStyle{2, false}, header, area};
    const double widths[] = {3, 3, 12, 16, 9, 12, 16, 10, 19};
    for (int c = 0; c < 9; ++c)
        d.columnWidths.append({c + 1, widths[c]});
    // An empty text is no cell; a styled one stays a formatted blank.
    auto put = [&](int row, int column, const QString& text, int style) {
        if (!text.isEmpty())
            d.cells.append({row, column, text, style});
        else if (style >= 0)
            d.cells.append({row, column, std::monostate{}, style});
    };

    put(1, 1, QStringLiteral("Primaria   ") + council, Bold);
    put(3, 4, QStringLiteral("Lista terenurilor in proprietate"), Big);
    put(4, 4, QStringLiteral("la data de ") + date.toString(QStringLiteral("dd.MM.yyyy")), Bold);

    auto text = [&](int row, const char* field) { return dbf::toText(value(row, QLatin1String(field))); };
    int r = 6;
    bool first = true;
    dbf::Value household;
    QString deed;
    for (int row = 0; row < rowCount(); ++row) {
        const dbf::Value codid = value(row, QStringLiteral("CODID"));
        if (first || codid != household) {
            if (!first)
                ++r;
            first = false;
            household = codid;
            put(r, 1, text(row, "LOCALIT"), Bold);
            put(r, 4,
                QStringLiteral("TIP ") + text(row, "TIPRA") + QStringLiteral(";  Vol.") + text(row, "VOLUM") + QStringLiteral("   Poz.")
                    + text(row, "POZ"),
                Bold);
            put(r, 5, text(row, "NUMEP"), Bold);
            put(r + 1, 4, QStringLiteral("str. ") + text(row, "STRADA") + QStringLiteral(" nr.") + text(row, "NR"), Bold);
            const char* const headings[] = {"LOCALIZARE", "TARLAUA", "NR.", "PARCELA", "CATEGORIA", "SUPR.(ha)", "Observatii"};
            for (int k = 0; k < 7; ++k)
                put(r + 2, 3 + k, QLatin1String(headings[k]), Header);
            r += 3;
            deed.clear();
        }
        const QString thisDeed = text(row, "ACT") + QStringLiteral(" nr.") + text(row, "NRACT") + QStringLiteral(" / ") + text(row, "DATAELIB");
        if (thisDeed != deed) {
            put(r, 2, thisDeed, -1);
            deed = thisDeed;
            ++r;
        }
        put(r, 3, lowerAZ(text(row, "INTRA")), -1);
        put(r, 4, text(row, "TARLA"), -1);
        put(r, 5, text(row, "NRTARLA"), -1);
        put(r, 6, text(row, "NRPARC"), -1);
        put(r, 7, lowerAZ(text(row, "CATEG")), -1);
        d.cells.append({r, 8, double(tenThousandths(value(row, QStringLiteral("SUPRAF")))) / 10000.0, Area});
        put(r, 9, text(row, "OBS"), -1);
        ++r;
    }
    return d;
}

std::optional<QString> PlotSearch::exportList(const QString& directory, const QString& council, const QDate& date, Interaction& ui)
{
    const reports::OutputSlots outputs(directory, QStringLiteral("Lista"), QStringLiteral(".xls"));
    bool anyFree = false;
    for (int n = 0; n < reports::OutputSlots::Count && !anyFree; ++n)
        anyFree = !outputs.inUse(n);
    if (!anyFree) {
        ui.Mesaj(QStringLiteral("Lista titluri"), QStringLiteral("Nu pot scrie in ") + QDir::toNativeSeparators(directory) + QStringLiteral(" !"),
                 KindError, ButtonsOk);
        return std::nullopt;
    }
    const auto failed = [&]() -> std::optional<QString> {
        ui.Mesaj(QStringLiteral("Lista proprietati"), QStringLiteral("Inchideti Excelul si repetati!"), KindError, ButtonsOk);
        return std::nullopt;
    };
    QByteArray bytes;
    try {
        bytes = workbook::writeNewWorkbook(plotListDesign(council, date));
    } catch (const Error&) {
        return failed();
    }
    // Written in full aside (written, flushed and synced); an older list is replaced only by a
    // complete file.
    std::optional<QString> placed;
    try {
        StagedFile staged(outputs.path(0));
        staged.write(bytes);
        staged.prepare();
        placed = outputs.place(staged.path());
    } catch (const Error&) {
        return failed();
    }
    if (!placed)
        return failed();
    ui.openFile(*placed);
    return placed;
}

}
