#include "search/Certificates.h"

#include "data/dbf/ValueConversions.h"
#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"
#include "data/dbf/CodePage1250.h"
#include "output/TRTFReplace.h"
#include "search/ChapterSummaries.h"
#include "search/SummaryText.h"
#include "services/LineListFile.h"
#include "services/Resources.h"
#include "services/Settings.h"
#include "services/TextFunctions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <memory>

namespace velmor::search {

namespace {

bool endsInA(const QString& name)
{
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && (trimmed.back() == QLatin1Char('A') || trimmed.back() == QLatin1Char('a'));
}

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

// The settings sections of the program itself, which a destination must not overwrite.
const QStringList& reservedSections()
{
    static const QStringList names {
        QStringLiteral("CONST"), QStringLiteral("CONSTANTE"), QStringLiteral("INDEX"),
        QStringLiteral("INTRAVILAN"), QStringLiteral("EXTRAVILAN"),
    };
    return names;
}

}

bool CertificateMember::female() const
{
    if (sex == 2)
        return true;
    if (sex == 1)
        return false;
    const QString code = cnp.trimmed();
    if (code.size() == 13 && code[0].isDigit() && code[0] != QLatin1Char('0') && code[0] != QLatin1Char('9'))
        return code[0].digitValue() % 2 == 0;
    return endsInA(name);
}

Certificates::Certificates(engine::Engine& engine, QString dataDirectory, QString programDirectory, Settings& settings,
                           CouncilConstants council, LocalTariffs::Values tariffs)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_programDirectory(std::move(programDirectory))
    , m_settings(settings)
    , m_council(std::move(council))
    , m_tariffs(tariffs)
{
}

QString Certificates::dataFile(const QString& name) const
{
    return QDir(m_dataDirectory).filePath(name);
}

CertificateHousehold Certificates::household(qint64 codid, int year) const
{
    engine::Parameters p;
    p.bind(QStringLiteral("CODID"), std::int64_t(codid));
    if (year > 0)
        p.bind(QStringLiteral("ANUL"), std::int64_t(year));
    CertificateHousehold h;
    h.codid = codid;
    h.year = year;
    const engine::ResultSet place = m_engine.select(QStringLiteral("SELECT LOCALIT, STRADA, NR, DENUMIRE, POZ, VOLUM, TIPRA, ANUL FROM ")
                                                        + engine::quotedPath(dataFile(QStringLiteral("Identificare.dbf")))
                                                        + (year > 0 ? QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL")
                                                                    : QStringLiteral("\nWHERE CODID=:CODID\nORDER BY ANUL DESC")),
                                                    p);
    if (!place.rows.empty()) {
        const auto field = [&place](const char* name) { return place.value(0, name); };
        h.village = dbf::toText(field("LOCALIT"));
        h.street = dbf::toText(field("STRADA"));
        h.number = dbf::toText(field("NR"));
        h.company = dbf::toText(field("DENUMIRE")).trimmed();
        h.position = qint64(dbf::toReal(field("POZ")));
        h.volume = qint64(dbf::toReal(field("VOLUM")));
        h.type = qint64(dbf::toReal(field("TIPRA")));
        h.year = int(dbf::toReal(field("ANUL")));
    }
    p.bind(QStringLiteral("ANUL"), std::int64_t(h.year));
    const engine::ResultSet members = m_engine.select(QStringLiteral("SELECT NUMEP, CNP, CODSEX, COD FROM ")
                                                          + engine::quotedPath(dataFile(QStringLiteral("CAP1.dbf")))
                                                          + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL\nORDER BY COD"),
                                                      p);
    for (size_t r = 0; r < members.rows.size(); ++r) {
        h.members << CertificateMember {dbf::toText(members.value(r, "NUMEP")), dbf::toText(members.value(r, "CNP")).trimmed(),
                                        int(dbf::toReal(members.value(r, "CODSEX")))};
    }
    if (h.members.isEmpty())
        throw Error(QStringLiteral("NU exista nici o persoana inscrisa la aceasta gospodarie !"));
    return h;
}

// ---- destinations ----

QString Certificates::profileName(const QString& destination)
{
    const QString name = Curata(destination);
    if (name.isEmpty())
        throw CertificateRefusal(QStringLiteral("Nu ati scris la ce serveste Adeverinta !"), CertificateField::Destination);
    if (name.contains(QLatin1Char('[')) || name.contains(QLatin1Char(']')))
        throw CertificateRefusal(QStringLiteral("Destinatia nu poate contine paranteze drepte."), CertificateField::Destination);
    QString mapped = name;
    for (QChar& c : mapped) {
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    }
    if (reservedSections().contains(mapped.toUpper()))
        throw CertificateRefusal(QStringLiteral("Destinatia \"%1\" este rezervata programului; scrieti alta.").arg(name),
                                 CertificateField::Destination);
    return mapped;
}

QStringList Certificates::destinations() const
{
    return readLineList(dataFile(QStringLiteral("TIPAdev.lst")), QStringLiteral("lista destinatiilor"));
}

QString Certificates::stateString(const std::array<bool, CertificateRequest::ChapterCount>& chapters)
{
    QString state;
    for (const bool ticked : chapters)
        state += ticked ? QLatin1Char('1') : QLatin1Char('0');
    return state;
}

std::array<bool, CertificateRequest::ChapterCount> Certificates::chaptersOf(QString state)
{
    state = state.leftJustified(CertificateRequest::ChapterCount, QLatin1Char('0'));
    std::array<bool, CertificateRequest::ChapterCount> chapters {};
    for (size_t i = 0; i < chapters.size(); ++i)
        chapters[i] = state[qsizetype(i)] == QLatin1Char('1');
    return chapters;
}

Certificates::Profile Certificates::profile(const QString& destination) const
{
    const QString section = profileName(destination);
    Profile p;
    p.state = m_settings.Citeste_Ini(section, QStringLiteral("STARE"));
    p.model = m_settings.Citeste_Ini(section, QStringLiteral("MODEL"));
    p.duty = m_settings.Citeste_Ini(section, QStringLiteral("TIMBRU"));
    p.mentions = readLineList(dataFile(section + QStringLiteral(".adv")), QStringLiteral("mentiunile"));
    return p;
}

void Certificates::saveProfile(const CertificateRequest& request)
{
    const QString destination = Curata(request.destination);
    const QString section = profileName(destination);
    QStringList list = destinations();
    if (!list.contains(destination)) {
        list << destination;
        writeLineList(dataFile(QStringLiteral("TIPAdev.lst")), list, QStringLiteral("lista destinatiilor"));
    }
    m_settings.Scrie_Ini(section, QStringLiteral("TIMBRU"), dbf::decimalText(request.duty, 2));
    m_settings.Scrie_Ini(section, QStringLiteral("STARE"), stateString(request.chapters));
    m_settings.Scrie_Ini(section, QStringLiteral("MODEL"), QStringLiteral("MODEL %1").arg(request.model));
    // An emptied mentions box empties the file, so old text does not come back.
    writeLineList(dataFile(section + QStringLiteral(".adv")), request.mentions, QStringLiteral("mentiunile"));
}

// ---- the general certificate ----

void Certificates::check(const CertificateRequest& request, const CertificateHousehold& household)
{
    profileName(request.destination);
    if (request.duty != 0 && request.receipt.trimmed().isEmpty())
        throw CertificateRefusal(QStringLiteral("Nu ati scris Numarul Chitantei !"), CertificateField::Receipt);
    if (request.model == 1 && std::none_of(request.chapters.begin(), request.chapters.end(), [](bool b) { return b; }))
        throw CertificateRefusal(QStringLiteral("Nu ati bifat nici un Capitol !"), CertificateField::Chapters);
    if (Curata(request.clerk).isEmpty())
        throw CertificateRefusal(QStringLiteral("Nu ati scris cine a intocmit Adeverinta !"), CertificateField::Clerk);
    if (request.person < 0 || request.person >= household.members.size())
        throw CertificateRefusal(QStringLiteral("Alegeti persoana pentru care se elibereaza Adeverinta !"), CertificateField::Person);
    if (!Curata(request.second).isEmpty() && Curata(request.second) == Curata(household.members[request.person].name))
        throw CertificateRefusal(QStringLiteral("Ati scris aceeasi persoana de doua ori !"), CertificateField::SecondPerson);
}

QString Certificates::modelPath(int model) const
{
    const QString name = model <= 1 ? QStringLiteral("Adv.rtf") : QStringLiteral("Adv%1.rtf").arg(model);
    return QDir(m_programDirectory).filePath(name);
}

QList<QPair<QString, QString>> Certificates::generalPairs(const CertificateRequest& request, const CertificateHousehold& household)
{
    const CertificateMember& person = household.members[request.person];
    const bool female = person.female();
    const bool company = !household.company.isEmpty();
    const QString today = request.date.toString(QStringLiteral("dd.MM.yyyy"));
    const QString number = request.numberText.trimmed();

    QString address;
    if (!household.street.trimmed().isEmpty())
        address = QStringLiteral("strada ") + household.street.trimmed();
    if (!household.number.trimmed().isEmpty())
        address += (address.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("nr.") + household.number.trimmed();

    const QString agreement = female || company ? QStringLiteral("a") : QString();
    QString personPart = person.name;
    if (!person.cnp.isEmpty())
        personPart += QStringLiteral(" având C.N.P. ") + person.cnp + QLatin1Char(',');
    const QString title = female ? QStringLiteral(" numita ") : QStringLiteral(" numitul ");
    const QString titular = (company ? QLatin1Char(' ') + household.company + QStringLiteral(", reprezentata prin") : QString()) + title
                            + personPart;

    const QString second = Curata(request.second);
    QString leadIn;
    QString verb;
    if (!second.isEmpty()) {
        QString secondPart = second;
        // A member's sex comes from the register; only a typed name goes by its last letter.
        bool secondFemale = endsInA(second);
        for (const CertificateMember& m : household.members) {
            if (Curata(m.name) == second) {
                if (!m.cnp.isEmpty())
                    secondPart += QStringLiteral(" având CNP ") + m.cnp + QLatin1Char(',');
                secondFemale = m.female();
                break;
            }
        }
        if (!request.relation.trimmed().isEmpty())
            secondPart += QStringLiteral(" în calitate de ") + lowerAZ(request.relation.trimmed());
        leadIn = QStringLiteral("si") + (secondFemale ? QStringLiteral(" numita ") : QStringLiteral(" numitul ")) + secondPart
                 + QStringLiteral(", domiciliati ");
        verb = QStringLiteral("sunt înscrisi");
    } else {
        leadIn = QStringLiteral("domiciliat") + agreement + QLatin1Char(' ');
        verb = QStringLiteral("este înscris") + agreement;
    }
    QString village = household.village;
    for (const QString& cut : {QStringLiteral(" BLOC"), QStringLiteral(" CASE")}) {
        const qsizetype at = village.indexOf(cut);
        if (at >= 0)
            village = village.left(at);
    }
    const QString registration = leadIn + QStringLiteral("in localitatea ") + village + QStringLiteral(", ") + address
                                 + QStringLiteral(", ") + lowerAZ(m_council.TIPLOC) + QLatin1Char(' ') + m_council.Comuna
                                 + QStringLiteral(", judetul ") + m_council.JUDET + QStringLiteral(", ") + verb
                                 + QStringLiteral(" în Telvano pe anul ") + QString::number(household.year) + QStringLiteral(" la pozitia nr.")
                                 + QString::number(household.position) + QStringLiteral(", volumul ") + QString::number(household.volume)
                                 + QStringLiteral(", tip ") + QString::number(household.type);

    QList<QPair<QString, QString>> pairs {
        {QStringLiteral("[JUDET]"), m_council.JUDET},
        {QStringLiteral("[LOCALITATEA]"), m_council.Comuna},
        {QStringLiteral("[PRIMARIA]"), m_council.NumePrimarie},
        {QStringLiteral("[NR]"), QStringLiteral("Nr. ") + (number.isEmpty() ? QStringLiteral(" .............. ") : number)
                                     + QStringLiteral(" din ") + today},
        {QStringLiteral("[TAXA]"), request.duty != 0 ? QStringLiteral("Achitat taxa timbru ") + twoDecimals(request.duty) + QStringLiteral(" lei")
                                                     : QStringLiteral(" ")},
        {QStringLiteral("[CHIT]"), request.duty != 0 ? QStringLiteral("cu chitanta nr.") + request.receipt.trimmed() + QStringLiteral(" / ") + today
                                                     : QStringLiteral(" ")},
        {QStringLiteral("[DESTINATIE]"), Curata(request.destination)},
        {QStringLiteral("[PRIMAR]"), m_council.PRIMAR},
        {QStringLiteral("[SECRETAR]"), m_council.SECRETAR},
        {QStringLiteral("[INTOCMIT]"), Curata(request.clerk)},
        {QStringLiteral("[TIPLOC]"), m_council.TIPLOC},
        {QStringLiteral("[NUMEPREN]"), person.name},
        {QStringLiteral("[DL]"), female ? QStringLiteral("doamna") : QStringLiteral("domnul")},
        {QStringLiteral("[DLUI]"), female ? QStringLiteral("doamnei") : QStringLiteral("domnului")},
        {QStringLiteral("[INSCRIS]"), female ? QStringLiteral("inscrisa") : QStringLiteral("inscris")},
        {QStringLiteral("[LOCART]"), TipLocalitate(m_council.TIPLOC)},
        {QStringLiteral("[TITULAR]"), titular},
        {QStringLiteral("[CNP]"), person.cnp},
        {QStringLiteral("[LOCDOM]"), household.village},
        {QStringLiteral("[ADRESA]"), address},
        {QStringLiteral("[LINIA1]"), registration},
        {QStringLiteral("[POZ]"), QString::number(household.position)},
        {QStringLiteral("[VOL]"), QString::number(household.volume)},
        {QStringLiteral("[TIP]"), QString::number(household.type)},
    };

    // The chapter sections, mentions last, then the typed mentions and one blank repetition.
    ChapterSummaries summaries(m_engine, m_dataDirectory, m_tariffs);
    summaries.setYear(household.year);
    const qint64 h = household.codid;
    struct Section {
        int position;
        const char* lead;
        std::function<QString()> text;
    };
    const Section sections[] = {
        {1, "Terenuri în proprietate: ", [&] { return summaries.TextCap2(h); }},
        {2, "Mod de utilizare a suprafetei agricole: ", [&] { return summaries.TextCap3(h); }},
        {3, "Suprafată arabilă cultivată: ", [&] { return summaries.TextCap4(h); }},
        {4, "Pomi fructiferi: ", [&] { return summaries.TextCap5(h); }},
        {5, "Suprafete amenajate pentru irigat: ", [&] { return summaries.TextCap6(h); }},
        {6, "Animale domestice: ", [&] { return summaries.TextCap7(h); }},
        {7, "Evolutia efectivelor de animale Sem.I: ", [&] { return summaries.TextCap8(h, 1); }},
        {8, "Evolutia efectivelor de animale Sem.II: ", [&] { return summaries.TextCap8(h, 2); }},
        {9, "Utilaje, instalatii agricole si mijloace de transport: ", [&] { return summaries.TextCap9(h); }},
        {10, "Constructii pe raza localitătii: ", [&] { return summaries.TextCap10(h); }},
        {12, "Componenta gospodariei : ", [&] { return summaries.TextMembri(h); }},
        {13, "Familia realizeaza conform ", [&] { return summaries.TextVenit(h); }},
        {14, "Identificarea pe parcele : ", [&] { return summaries.TextParcele(h); }},
        {11, "Mentiuni speciale : ", [&] { return summaries.TextMentiuni(h); }},
    };
    for (const Section& s : sections) {
        if (request.chapters[size_t(s.position - 1)])
            pairs.append({QStringLiteral("[CONTINUT]"), QString::fromUtf8(s.lead) + s.text()});
    }
    const QString mentions = request.mentions.join(QString());
    if (!mentions.trimmed().isEmpty())
        pairs.append({QStringLiteral("[CONTINUT]"), QStringLiteral("Alte mentiuni : ") + mentions});
    pairs.append({QStringLiteral("[CONTINUT]"), QStringLiteral(" ")});
    return pairs;
}

QString Certificates::fill(const QString& model, const QString& base, const QString& output,
                           const QList<QPair<QString, QString>>& pairs) const
{
    output::TRTFReplace filler;
    filler.RTFSursa = model;
    // The filler writes through a staged file: a named output is replaced only by a complete
    // document, and until then the old one stays.
    const bool chosen = output.isEmpty() ? filler.StabilesteDest(QDir(m_programDirectory).filePath(base))
                                         : (filler.RTFDest = output, true);
    if (!chosen || !filler.IncepeDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!"));
    filler.GolesteLista();
    for (const auto& [placeholder, value] : pairs)
        filler.Inlocuieste(placeholder, value);
    if (!filler.ScrieCorp(1) || !filler.InchideDocument())
        throw Error(QStringLiteral("Nu pot scrie pe harddisk!"));
    return output.isEmpty() ? filler.RTFDest : QFileInfo(output).absoluteFilePath();
}

const QStringList& Certificates::generalPlaceholders()
{
    static const QStringList names {
        QStringLiteral("[JUDET]"), QStringLiteral("[LOCALITATEA]"), QStringLiteral("[PRIMARIA]"), QStringLiteral("[NR]"),
        QStringLiteral("[TAXA]"), QStringLiteral("[CHIT]"), QStringLiteral("[DESTINATIE]"), QStringLiteral("[PRIMAR]"),
        QStringLiteral("[SECRETAR]"), QStringLiteral("[INTOCMIT]"), QStringLiteral("[TIPLOC]"), QStringLiteral("[NUMEPREN]"),
        QStringLiteral("[DL]"), QStringLiteral("[DLUI]"), QStringLiteral("[INSCRIS]"), QStringLiteral("[LOCART]"),
        QStringLiteral("[TITULAR]"), QStringLiteral("[CNP]"), QStringLiteral("[LOCDOM]"), QStringLiteral("[ADRESA]"),
        QStringLiteral("[LINIA1]"), QStringLiteral("[POZ]"), QStringLiteral("[VOL]"), QStringLiteral("[TIP]"),
        QStringLiteral("[CONTINUT]"),
    };
    return names;
}

QString Certificates::checkModel(const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    const auto refuse = [&](const QString& what) {
        return Error(QStringLiteral("Modelul ") + file + QStringLiteral(" nu poate fi folosit: ") + what + QLatin1Char('.'));
    };
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        throw refuse(QStringLiteral("nu poate fi citit (%1)").arg(source.errorString()));
    const QByteArray rtf = source.readAll();
    const QString structure = output::TRTFReplace::structureProblem(rtf);
    if (!structure.isEmpty())
        throw refuse(structure);
    const QStringList broken = output::TRTFReplace::brokenPlaceholders(rtf, generalPlaceholders());
    if (!broken.isEmpty())
        throw refuse(QStringLiteral("%1 este intrerupt de formatare in interiorul parantezelor").arg(broken.join(QStringLiteral(", "))));
    if (!output::TRTFReplace::holds(rtf, QStringLiteral("[CONTINUT]")))
        throw refuse(QStringLiteral("lipseste [CONTINUT], locul capitolelor"));
    QStringList missing;
    for (const QString& placeholder : generalPlaceholders()) {
        if (!output::TRTFReplace::holds(rtf, placeholder))
            missing << placeholder;
    }
    if (missing.isEmpty())
        return QString();
    return QStringLiteral("Modelul ") + file + QStringLiteral(" nu contine ") + missing.join(QStringLiteral(", "))
           + QStringLiteral("; aceste date nu apar pe adeverinta.");
}

void Certificates::checkStorable(const CertificateRequest& request)
{
    const auto refuse = [](const QString& value, const QString& what) {
        QByteArray bytes;
        QChar bad;
        if (!dbf::cp1250::tryEncode(value, bytes, &bad)) {
            throw Error(QStringLiteral("Valoarea \"%1\" contine caracterul \"%2\", care nu poate fi scris in %3.")
                            .arg(value, QString(bad), what));
        }
    };
    refuse(Curata(request.destination), QStringLiteral("lista destinatiilor"));
    for (const QString& line : request.mentions)
        refuse(line, QStringLiteral("mentiunile"));
}

QString Certificates::writeGeneral(const CertificateRequest& request, const QString& output, QStringList* warnings)
{
    const CertificateHousehold h = household(request.household, request.year);
    check(request, h);
    checkStorable(request);
    const QString model = modelPath(request.model);
    const QString first = modelPath(1);
    if (!QFileInfo::exists(model) && QFileInfo::exists(first))
        QFile::copy(first, model);
    if (!QFileInfo(model).isFile())
        throw Error(QStringLiteral("Lipseste fisierul model ") + QDir::toNativeSeparators(model) + QLatin1Char('!'));
    const QString missing = checkModel(model);
    if (warnings && !missing.isEmpty())
        *warnings << missing;
    const QString written = fill(model, QStringLiteral("Adeverinta"), output, generalPairs(request, h));
    saveProfile(request);
    // The number is used up last, once the certificate exists; a number below 1 leaves the
    // counter where it was.
    if (request.number() >= 1)
        m_settings.SetCod(QStringLiteral("ADEVNR"), QString::number(request.number()));
    return written;
}

qint64 Certificates::proposedNumber() const
{
    return m_settings.CodExistent(QStringLiteral("ADEVNR")).toLongLong();
}

// ---- the heating-aid certificate ----

void Certificates::checkHeating(const CertificateRequest& request, const CertificateHousehold& household)
{
    const QString person = request.person >= 0 && request.person < household.members.size()
                               ? Curata(household.members[request.person].name)
                               : QString();
    if (person.size() <= 5)
        throw CertificateRefusal(QStringLiteral("Nu ati scris Solicitantul!"), CertificateField::Person);
    if (Curata(request.clerk).size() <= 5)
        throw CertificateRefusal(QStringLiteral("Nu v-ati scris Numele!"), CertificateField::Clerk);
}

QList<QPair<QString, QString>> Certificates::heatingPairs(const CertificateRequest& request, const CertificateHousehold& household)
{
    const CertificateMember& person = household.members[request.person];
    engine::Parameters p;
    p.bind(QStringLiteral("CODID"), std::int64_t(household.codid));
    p.bind(QStringLiteral("ANUL"), std::int64_t(household.year));
    const auto rowsOf = [&](const char* table, const QString& where) {
        return m_engine.select(QStringLiteral("SELECT * FROM ") + engine::quotedPath(dataFile(QLatin1String(table)))
                                   + QStringLiteral("\nWHERE CODID=:CODID AND ANUL=:ANUL") + where,
                               p);
    };
    const engine::ResultSet dwellings = rowsOf("CAP10.dbf", QStringLiteral(" AND RAND IN (1,4,7,10) AND DETALII>0"));
    const engine::ResultSet land = rowsOf("CAP2.dbf", QString());
    const engine::ResultSet animals = rowsOf("CAP7.dbf", QString());
    // A row's value by its code; 0 when the row does not exist.
    const auto value = [](const engine::ResultSet& rows, int code, const char* column) {
        if (rows.fieldIndex(QStringLiteral("RAND")) < 0 || rows.fieldIndex(QLatin1String(column)) < 0)
            return 0.0;
        for (size_t r = 0; r < rows.rows.size(); ++r) {
            if (std::lround(dbf::toReal(rows.value(r, "RAND")) * 10) == code * 10)
                return dbf::toReal(rows.value(r, column));
        }
        return 0.0;
    };
    const double totalSquareMetres = value(land, 12, "AHA") * 10000 + value(land, 12, "AARI") * 100;
    const double insideSquareMetres = value(land, 12, "IHA") * 10000 + value(land, 12, "IARI") * 100;
    const auto hectares = [&](int code) { return twoDecimals(value(land, code, "AHA") + value(land, code, "AARI") / 100); };
    const qsizetype dwellingCount = qsizetype(dwellings.rows.size());
    ChapterSummaries summaries(m_engine, m_dataDirectory, m_tariffs);
    summaries.setYear(household.year);
    const qint64 number = request.number();
    return {
        {QStringLiteral("[JUDET]"), m_council.JUDET},
        {QStringLiteral("[UAT]"), m_council.NumePrimarie},
        {QStringLiteral("[LOC]"), m_council.TIPLOC + QLatin1Char(' ') + m_council.Comuna},
        {QStringLiteral("[NR]"), number < 1 ? QStringLiteral("__________") : request.numberText.trimmed()},
        {QStringLiteral("[DATA]"), request.date.toString(QStringLiteral("dd.MM.yyyy"))},
        {QStringLiteral("[PRIMAR]"), m_council.PRIMAR},
        {QStringLiteral("[AGENT]"), Curata(request.clerk)},
        {QStringLiteral("[SOLICITANT]"), person.name},
        {QStringLiteral("[LUI]"), person.female() ? QStringLiteral("ei") : QStringLiteral("ului ")},
        {QStringLiteral("[TIPFAMILIE]"), household.members.size() > 1 ? QStringLiteral("familia") : QStringLiteral("persoana singura")},
        {QStringLiteral("[NUMECAP]"), household.members.front().name},
        {QStringLiteral("[VOL]"), QString::number(household.volume)},
        {QStringLiteral("[POZ]"), QString::number(household.position)},
        {QStringLiteral("[LOCALIT]"), household.village},
        {QStringLiteral("[NRLOC]"), dwellingCount > 0 ? QString::number(dwellingCount) : QStringLiteral("X")},
        {QStringLiteral("[LOCPLURAL]"), dwellingCount == 1 ? QStringLiteral("a") : QStringLiteral("e")},
        {QStringLiteral("[TIMP]"), twoDecimals(insideSquareMetres)},
        {QStringLiteral("[TAEHA]"), twoDecimals((totalSquareMetres - insideSquareMetres) / 10000)},
        {QStringLiteral("[TFHA]"), hectares(9)},
        {QStringLiteral("[TVHA]"), hectares(4)},
        {QStringLiteral("[TLHA]"), hectares(6)},
        {QStringLiteral("[NRBOV]"), QString::number(std::llround(value(animals, 1, "NR")))},
        {QStringLiteral("[NRPO]"), QString::number(std::llround(value(animals, 17, "NR")))},
        {QStringLiteral("[NROV]"), QString::number(std::llround(value(animals, 11, "NR")))},
        {QStringLiteral("[NRAL]"), QString::number(std::llround(value(animals, 30, "NR")))},
        {QStringLiteral("[UA]"), summaries.TextCap9(household.codid)},
    };
}

QString Certificates::writeHeating(const CertificateRequest& request, const QString& output)
{
    const CertificateHousehold h = household(request.household, request.year);
    checkHeating(request, h);
    const QString model = dataFile(QStringLiteral("AdevCald.rtf"));
    if (!QFileInfo::exists(model) && !ExtrageResursa(QStringLiteral("ADEVC"), QStringLiteral("MODEL"), model))
        throw Error(QStringLiteral("Lipseste fisierul model ") + QDir::toNativeSeparators(model) + QLatin1Char('!'));
    return fill(model, QStringLiteral("AdevCaldura"), output, heatingPairs(request, h));
}

}
