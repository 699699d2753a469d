// Certificates: the wording for the persons, the holder and the address, duty and chapter
// sections, destination profiles, the number counter, and both documents read back.

#include "EditorTestWorld.h"
#include "support/FileBytes.h"
#include "ExportReaders.h"

#include "admin/Models.h"
#include "core/Error.h"
#include "search/Certificates.h"
#include "output/TRTFReplace.h"
#include "search/RAgr2Report.h"
#include "services/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::search;
using velmor::test::EditorWorld;

namespace {

constexpr int kYear = 2011;

struct Member {
    const char* name;
    const char* cnp;
    int sex;
    int kinship;
};

struct CertificateWorld : EditorWorld {
    CouncilConstants council;
    std::unique_ptr<Certificates> certificates;

    CertificateWorld()
        : EditorWorld(QString::number(kYear))
    {
        council.JUDET = QStringLiteral("ALBA");
        council.Comuna = QStringLiteral("ARIESENI");
        council.NumePrimarie = QStringLiteral("PRIMARIA ARIESENI");
        council.TIPLOC = QStringLiteral("COMUNA");
        council.PRIMAR = QStringLiteral("ION PRIMAR");
        certificates = std::make_unique<Certificates>(*engine, home.data(), home.home(), *settings, council, LocalTariffs::Values {});
    }

    void household(qint64 codid, std::initializer_list<Member> members, const QString& street = QStringLiteral("MORII"),
                   const QString& number = QStringLiteral("12"), const QString& company = QString())
    {
        addHousehold(QString::number(kYear), codid, QStringLiteral("SAT NOU BLOC 4"), company.isEmpty() ? 1 : 3, 2, 7);
        engine::Parameters where;
        where.bind(QStringLiteral("CODID"), std::int64_t(codid));
        where.bind(QStringLiteral("STRADA"), street);
        where.bind(QStringLiteral("NR"), number);
        where.bind(QStringLiteral("DENUMIRE"), company);
        engine->execute(QStringLiteral("UPDATE ") + engine::quotedPath(ctx.tablePath(QStringLiteral("Identificare.dbf")))
                            + QStringLiteral(" SET STRADA=:STRADA, NR=:NR, DENUMIRE=:DENUMIRE WHERE CODID=:CODID"),
                        where);
        for (const Member& m : members) {
            engine::Parameters p;
            p.bind(QStringLiteral("CODID"), std::int64_t(codid));
            p.bind(QStringLiteral("NUMEP"), QString::fromUtf8(m.name));
            p.bind(QStringLiteral("CNP"), QString::fromUtf8(m.cnp));
            p.bind(QStringLiteral("CODSEX"), std::int64_t(m.sex));
            p.bind(QStringLiteral("COD"), std::int64_t(m.kinship));
            engine->execute(QStringLiteral("INSERT INTO ") + engine::quotedPath(ctx.tablePath(QStringLiteral("CAP1.dbf")))
                                + QStringLiteral(" (ANUL, CODID, NUMEP, CNP, CODSEX, COD) VALUES (2011, :CODID, :NUMEP, :CNP, :CODSEX, :COD)"),
                            p);
        }
    }

    QMap<QString, QString> pairs(const CertificateRequest& request)
    {
        QMap<QString, QString> map;
        for (const auto& [placeholder, value] : certificates->generalPairs(request, certificates->household(request.household)))
            map.insert(placeholder, value);
        return map;
    }
};

CertificateRequest request(qint64 codid, int person = 0)
{
    CertificateRequest r;
    r.household = codid;
    r.person = person;
    r.destination = QStringLiteral("BANCA");
    r.clerk = QStringLiteral("POP ANA");
    r.numberText = QStringLiteral("5");
    r.date = QDate(2026, 12, 9);
    r.chapters[0] = true;
    return r;
}

}

TEST(Certificates, WordingFollowsThePersonTheHolderAndTheAddress)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}, {"POPESCU MARIA", "2810202221155", 2, 2}, {"POPA LUCA", "", 1, 3}});
    w.household(802, {{"POPESCU ION", "1800101221144", 1, 1}}, QString(), QStringLiteral("12"), QStringLiteral("AGRO SRL"));
    w.household(803, {{"ION ION", "1700101221131", 1, 1}, {"ION ION", "1750505221140", 1, 3}}, QString(), QString());

    struct Case {
        const char* name;
        CertificateRequest request;
        std::vector<std::pair<const char*, const char*>> expected; // placeholder, value (or part of it after "~")
    };
    CertificateRequest second = request(801);
    second.second = QStringLiteral("POPESCU MARIA");
    second.relation = QStringLiteral("SOTIE");
    const Case cases[] = {
        {"man", request(801, 0),
         {{"[DL]", "domnul"}, {"[DLUI]", "domnului"}, {"[INSCRIS]", "inscris"},
          {"[TITULAR]", " numitul POPESCU ION având C.N.P. 1800101221144,"}, {"[ADRESA]", "strada MORII nr.12"},
          {"[LINIA1]", "domiciliat in localitatea SAT NOU, strada MORII nr.12, comuna ARIESENI, judetul ALBA, este înscris în Telvano "
                       "pe anul 2011 la pozitia nr.7, volumul 2, tip 1"}}},
        {"woman", request(801, 1),
         {{"[DL]", "doamna"}, {"[DLUI]", "doamnei"}, {"[INSCRIS]", "inscrisa"},
          {"[TITULAR]", " numita POPESCU MARIA având C.N.P. 2810202221155,"},
          {"[LINIA1]", "~domiciliata in localitatea"}, {"[LINIA1]", "~este înscrisa în Telvano"}}},
        // A man whose name ends in A is told by his sex code, not by the letter.
        {"man ending in A", request(801, 2), {{"[DL]", "domnul"}, {"[TITULAR]", " numitul POPA LUCA"}}},
        {"company", request(802, 0),
         {{"[TITULAR]", " AGRO SRL, reprezentata prin numitul POPESCU ION având C.N.P. 1800101221144,"},
          {"[LINIA1]", "~domiciliata in localitatea SAT NOU, nr.12, comuna"}, {"[LINIA1]", "~este înscrisa în"}, {"[ADRESA]", "nr.12"}}},
        {"second person", second,
         {{"[LINIA1]", "~si numita POPESCU MARIA având CNP 2810202221155, în calitate de sotie, domiciliati in localitatea"},
          {"[LINIA1]", "~sunt înscrisi în Telvano"}}},
        // Namesakes: the chosen member's own code.
        {"namesake", request(803, 1), {{"[TITULAR]", " numitul ION ION având C.N.P. 1750505221140,"}, {"[ADRESA]", ""}}},
    };
    for (const Case& c : cases) {
        const QMap<QString, QString> pairs = w.pairs(c.request);
        for (const auto& [placeholder, value] : c.expected) {
            const QString text = QString::fromUtf8(value);
            if (text.startsWith(QLatin1Char('~')))
                EXPECT_TRUE(pairs.value(QLatin1String(placeholder)).contains(text.mid(1)))
                    << c.name << ' ' << placeholder << ": " << pairs.value(QLatin1String(placeholder)).toStdString();
            else
                EXPECT_EQ(pairs.value(QLatin1String(placeholder)), text) << c.name << ' ' << placeholder;
        }
    }
}

TEST(Certificates, DutyNumberAndChapterSections)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}});
    CertificateRequest r = request(801);
    QMap<QString, QString> pairs = w.pairs(r);
    EXPECT_EQ(pairs.value(QStringLiteral("[TAXA]")), QStringLiteral(" "));
    EXPECT_EQ(pairs.value(QStringLiteral("[CHIT]")), QStringLiteral(" "));
    EXPECT_EQ(pairs.value(QStringLiteral("[NR]")), QStringLiteral("Nr. 5 din 09.12.2026"));
    r.duty = 2;
    r.receipt = QStringLiteral("345");
    r.numberText = QString();
    pairs = w.pairs(r);
    EXPECT_EQ(pairs.value(QStringLiteral("[TAXA]")), QStringLiteral("Achitat taxa timbru 2.00 lei"));
    EXPECT_EQ(pairs.value(QStringLiteral("[CHIT]")), QStringLiteral("cu chitanta nr.345 / 09.12.2026"));
    EXPECT_EQ(pairs.value(QStringLiteral("[NR]")), QStringLiteral("Nr.  ..............  din 09.12.2026"));

    // Three chapters, the mentions chapter last, then the typed mentions and a blank line.
    r.chapters = {};
    r.chapters[10] = true; // mentions
    r.chapters[0] = true;
    r.chapters[11] = true; // members
    r.mentions = {QStringLiteral("prima "), QStringLiteral("a doua")};
    QStringList sections;
    for (const auto& [placeholder, value] : w.certificates->generalPairs(r, w.certificates->household(801)))
        if (placeholder == QLatin1String("[CONTINUT]"))
            sections << value;
    ASSERT_EQ(sections.size(), 5);
    EXPECT_TRUE(sections[0].startsWith(QStringLiteral("Terenuri în proprietate: ")));
    EXPECT_TRUE(sections[1].startsWith(QStringLiteral("Componenta gospodariei : ")));
    EXPECT_TRUE(sections[2].startsWith(QStringLiteral("Mentiuni speciale : ")));
    EXPECT_EQ(sections[3], QStringLiteral("Alte mentiuni : prima a doua"));
    EXPECT_EQ(sections[4], QStringLiteral(" "));
}

TEST(Certificates, RefusalsInTheWindowsOrder)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "", 1, 1}, {"POPESCU ANA", "", 2, 2}});
    const CertificateHousehold h = w.certificates->household(801);
    struct Case {
        std::function<void(CertificateRequest&)> change;
        CertificateField field;
        const char* message;
    };
    const Case cases[] = {
        {[](CertificateRequest& r) { r.destination = QStringLiteral("   "); }, CertificateField::Destination, "Nu ati scris la ce serveste Adeverinta !"},
        {[](CertificateRequest& r) { r.destination = QStringLiteral("CONST"); }, CertificateField::Destination, nullptr},
        {[](CertificateRequest& r) { r.destination = QStringLiteral("X [Y]"); }, CertificateField::Destination, nullptr},
        {[](CertificateRequest& r) { r.duty = 1.5; }, CertificateField::Receipt, "Nu ati scris Numarul Chitantei !"},
        {[](CertificateRequest& r) { r.chapters = {}; }, CertificateField::Chapters, "Nu ati bifat nici un Capitol !"},
        {[](CertificateRequest& r) { r.clerk = QStringLiteral("  "); }, CertificateField::Clerk, "Nu ati scris cine a intocmit Adeverinta !"},
        {[](CertificateRequest& r) { r.second = QStringLiteral(" POPESCU  ION "); }, CertificateField::SecondPerson, "Ati scris aceeasi persoana de doua ori !"},
    };
    EXPECT_NO_THROW(Certificates::check(request(801), h));
    for (const Case& c : cases) {
        CertificateRequest r = request(801);
        c.change(r);
        try {
            Certificates::check(r, h);
            ADD_FAILURE() << "accepted, expected a refusal at field " << int(c.field);
        } catch (const CertificateRefusal& e) {
            EXPECT_EQ(e.field(), c.field);
            if (c.message)
                EXPECT_EQ(e.message(), QString::fromUtf8(c.message));
        }
    }
    // Models 2..5 may go without chapters.
    CertificateRequest noChapters = request(801);
    noChapters.chapters = {};
    noChapters.model = 2;
    EXPECT_NO_THROW(Certificates::check(noChapters, h));

    const std::pair<const char*, const char*> names[] = {{"BANCA", "BANCA"}, {"a/b:c*d", "a_b_c_d"}, {"  AJUTOR   SOCIAL ", "AJUTOR SOCIAL"}};
    for (const auto& [given, section] : names)
        EXPECT_EQ(Certificates::profileName(QString::fromUtf8(given)), QString::fromUtf8(section));
}

TEST(Certificates, DocumentsCounterAndProfile)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}});
    const qint64 counter = w.certificates->proposedNumber();

    // No model yet: nothing written, no number used.
    CertificateRequest r = request(801);
    r.numberText = QString::number(counter);
    EXPECT_THROW(w.certificates->writeGeneral(r), Error);
    EXPECT_EQ(w.certificates->proposedNumber(), counter);

    InstaleazaModele(w.home.home());
    // An output that cannot be written uses up no number either.
    EXPECT_THROW(w.certificates->writeGeneral(r, w.home.home() + QStringLiteral("/nu/exista.rtf")), Error);
    EXPECT_EQ(w.certificates->proposedNumber(), counter);

    r.mentions = {QStringLiteral("de retinut")};
    r.chapters[11] = true;
    const QString written = w.certificates->writeGeneral(r);
    EXPECT_EQ(written, w.home.home() + QStringLiteral("/Adeverinta0.rtf"));
    EXPECT_EQ(w.certificates->proposedNumber(), counter + 1);
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString problem;
    const QString text = test::readRtfText(file.readAll(), &problem).join(QLatin1Char('\n'));
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_FALSE(QRegularExpression(QStringLiteral("\\[[A-Za-z0-9]+\\]")).match(text).hasMatch()) << text.toStdString();
    for (const char* expected : {"POPESCU ION", "Terenuri în proprietate: ", "Componenta gospodariei : ", "Alte mentiuni : de retinut"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;

    // The destination's profile and mentions come back; emptied mentions empty the file.
    Certificates::Profile profile = w.certificates->profile(QStringLiteral("BANCA"));
    EXPECT_EQ(profile.state, QStringLiteral("10000000000100"));
    EXPECT_EQ(profile.model, QStringLiteral("MODEL 1"));
    EXPECT_EQ(profile.mentions, QStringList {QStringLiteral("de retinut")});
    EXPECT_EQ(w.certificates->destinations(), QStringList {QStringLiteral("BANCA")});
    r.mentions.clear();
    r.numberText = QStringLiteral("0"); // a number below 1 leaves the counter alone
    w.certificates->writeGeneral(r);
    EXPECT_TRUE(w.certificates->profile(QStringLiteral("BANCA")).mentions.isEmpty());
    EXPECT_EQ(w.certificates->proposedNumber(), counter + 1);
    EXPECT_EQ(Certificates::chaptersOf(QStringLiteral("101"))[2], true);
    EXPECT_EQ(Certificates::chaptersOf(QStringLiteral("101"))[13], false);
}

TEST(Certificates, HeatingAidForASinglePersonWithoutDwellings)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU MARIA", "2810202221155", 2, 1}});
    CertificateRequest r = request(801);
    r.clerk = QStringLiteral("IONESCU VASILE");
    r.numberText = QStringLiteral("0");
    QMap<QString, QString> pairs;
    for (const auto& [placeholder, value] : w.certificates->heatingPairs(r, w.certificates->household(801)))
        pairs.insert(placeholder, value);
    EXPECT_EQ(pairs.value(QStringLiteral("[TIPFAMILIE]")), QStringLiteral("persoana singura"));
    EXPECT_EQ(pairs.value(QStringLiteral("[NRLOC]")), QStringLiteral("X"));
    EXPECT_EQ(pairs.value(QStringLiteral("[LOCPLURAL]")), QStringLiteral("e"));
    EXPECT_EQ(pairs.value(QStringLiteral("[LUI]")), QStringLiteral("ei"));
    EXPECT_EQ(pairs.value(QStringLiteral("[NR]")), QStringLiteral("__________"));
    EXPECT_EQ(pairs.value(QStringLiteral("[TIMP]")), QStringLiteral("0.00"));

    const qint64 counter = w.certificates->proposedNumber();
    const QString written = w.certificates->writeHeating(r);
    EXPECT_EQ(w.certificates->proposedNumber(), counter);
    EXPECT_TRUE(QFile::exists(w.home.data() + QStringLiteral("/AdevCald.rtf")));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString problem;
    const QString text = test::readRtfText(file.readAll(), &problem).join(QLatin1Char('\n'));
    ASSERT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('['))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("persoana singura"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("POPESCU MARIA"))) << text.toStdString();
    // A too short applicant or clerk is refused.
    r.clerk = QStringLiteral("ION");
    EXPECT_THROW(w.certificates->writeHeating(r), CertificateRefusal);
}

// A word processor opens the general certificate, the heating-aid certificate and the form.
TEST(Certificates, LibreOfficeReadsTheDocuments)
{
    VELMOR_REQUIRE_PROGRAM(office, "soffice");
    CertificateWorld w;
    w.household(801, {{"POPESCU MARIA", "2810202221155", 2, 1}, {"POPESCU ION", "1800101221144", 1, 2}});
    InstaleazaModele(w.home.home());
    CertificateRequest r = request(801);
    r.chapters[11] = true;
    const QString general = w.certificates->writeGeneral(r);
    r.clerk = QStringLiteral("IONESCU VASILE");
    const QString heating = w.certificates->writeHeating(r);
    RAgr2Request form;
    form.year = kYear;
    form.number = QStringLiteral("3");
    form.date = QDate(2026, 12, 9);
    form.council = w.council;
    const QString statistics = RAgr2Report(*w.engine, w.home.data()).write(form, w.home.home() + QStringLiteral("/RAGR2.rtf"), w.home.home());

    const QString out = w.home.home() + QStringLiteral("/text");
    QProcess p;
    p.start(office, {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=file://") + w.home.home() + QStringLiteral("/lo"),
                     QStringLiteral("--convert-to"), QStringLiteral("txt:Text"), QStringLiteral("--outdir"), out, general, heating, statistics});
    ASSERT_TRUE(p.waitForFinished(180000));
    const auto text = [&](const QString& document) {
        QFile file(out + QLatin1Char('/') + QFileInfo(document).completeBaseName() + QStringLiteral(".txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_TRUE(text(general).contains(QStringLiteral("numita POPESCU MARIA având C.N.P. 2810202221155"))) << text(general).toStdString();
    EXPECT_TRUE(text(general).contains(QStringLiteral("Componenta gospodariei : ")));
    EXPECT_TRUE(text(heating).contains(QStringLiteral("figureaza familia POPESCU MARIA"))) << text(heating).toStdString();
    EXPECT_TRUE(text(statistics).contains(QStringLiteral("ARIESENI"))) << text(statistics).toStdString();
}

namespace {

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

}

// The delivered models saved again by a word processor (one paragraph over two lines, its text in a
// group) still give every section and everything after them.
TEST(Certificates, ModelsSavedByAWordProcessorKeepEveryParagraph)
{
    VELMOR_REQUIRE_PROGRAM(office, "soffice");
    CertificateWorld w;
    w.household(801, {{"POPESCU MARIA", "2810202221155", 2, 1}, {"POPESCU ION", "1800101221144", 1, 2}});
    InstaleazaModele(w.home.home());
    CertificateRequest r = request(801);
    r.clerk = QStringLiteral("IONESCU VASILE");
    w.certificates->writeHeating(r); // writes the built-in AdevCald.rtf
    const QStringList models {w.home.home() + QStringLiteral("/Adv.rtf"), w.home.data() + QStringLiteral("/AdevCald.rtf"),
                              w.home.home() + QStringLiteral("/RAGR2.rtf")};
    const QString saved = w.home.home() + QStringLiteral("/salvate");
    QProcess p;
    p.start(office, QStringList {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=file://") + w.home.home() + QStringLiteral("/lo"),
                                 QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("--outdir"), saved}
                        + models);
    ASSERT_TRUE(p.waitForFinished(180000));
    for (const QString& model : models) {
        const QByteArray again = velmor::test::fileBytes(saved + QLatin1Char('/') + QFileInfo(model).fileName());
        ASSERT_FALSE(again.isEmpty()) << model.toStdString();
        ASSERT_NE(again, velmor::test::fileBytes(model)) << model.toStdString();
        putFile(model, again);
    }
    EXPECT_EQ(Certificates::checkModel(models[0]), QString());

    r.chapters = {};
    r.chapters[0] = true;  // land
    r.chapters[11] = true; // members
    r.chapters[5] = true;  // animals
    r.mentions = {QStringLiteral("de retinut")};
    r.second = QStringLiteral("POPESCU ION");
    QStringList warnings;
    const QString general = w.certificates->writeGeneral(r, QString(), &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    const QString heating = w.certificates->writeHeating(r);
    RAgr2Request form;
    form.year = kYear;
    form.number = QStringLiteral("3");
    form.date = QDate(2026, 12, 9);
    form.council = w.council;
    const QString statistics = RAgr2Report(*w.engine, w.home.data()).write(form, models[2], w.home.home());
    for (const QString& document : {general, heating, statistics})
        EXPECT_EQ(output::TRTFReplace::structureProblem(velmor::test::fileBytes(document)), QString()) << document.toStdString();

    // Read back by the word processor itself.
    const QString out = w.home.home() + QStringLiteral("/text");
    QProcess read;
    read.start(office, {QStringLiteral("--headless"), QStringLiteral("-env:UserInstallation=file://") + w.home.home() + QStringLiteral("/lo"),
                        QStringLiteral("--convert-to"), QStringLiteral("txt:Text"), QStringLiteral("--outdir"), out, general, heating,
                        statistics});
    ASSERT_TRUE(read.waitForFinished(180000));
    const auto text = [&](const QString& document) {
        QFile file(out + QLatin1Char('/') + QFileInfo(document).completeBaseName() + QStringLiteral(".txt"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    const QString generalText = text(general);
    qsizetype at = 0;
    for (const char* expected : {"Prin prezenta se adevereste", "Terenuri în proprietate: ", "Animale domestice: ", "Componenta gospodariei : ",
                                 "Alte mentiuni : de retinut", "Prezenta adeverinta se elibereaza", "PRIMAR,", "ION PRIMAR",
                                 "Intocmit: IONESCU VASILE"}) {
        const qsizetype found = generalText.indexOf(QString::fromUtf8(expected), at);
        EXPECT_GE(found, at) << expected << "\n" << generalText.toStdString();
        at = std::max(at, found);
    }
    EXPECT_FALSE(QRegularExpression(QStringLiteral("\\[[A-Za-z0-9]+\\]")).match(generalText).hasMatch()) << generalText.toStdString();
    const QString heatingText = text(heating);
    EXPECT_TRUE(heatingText.contains(QStringLiteral("figureaza familia POPESCU MARIA"))) << heatingText.toStdString();
    EXPECT_TRUE(heatingText.contains(QStringLiteral("ajutor de caldura"))) << heatingText.toStdString();
    EXPECT_TRUE(text(statistics).contains(QStringLiteral("ARIESENI"))) << text(statistics).toStdString();
}

// A model that cannot give a whole certificate is refused before anything is written or numbered;
// a model that leaves out other placeholders is used, with a warning.
TEST(Certificates, AModelThatCannotBeUsedIsRefusedBeforeANumberIsTaken)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}});
    InstaleazaModele(w.home.home());
    const QString model = w.home.home() + QStringLiteral("/Adv.rtf");
    const QByteArray delivered = velmor::test::fileBytes(model);
    ASSERT_TRUE(delivered.contains("[Continut]"));
    const QString old = w.home.home() + QStringLiteral("/veche.rtf");
    putFile(old, "adeverinta veche");
    const struct {
        const char* what;
        QByteArray model;
        const char* reason;
    } refused[] = {
        {"a group left open", QByteArray(delivered).replace("[Continut]\\par", "{\\b [Continut]\\par"), "un grup deschis cu { nu este inchis"},
        {"a group closed twice", QByteArray(delivered).replace("[Continut]\\par", "[Continut]}\\par"), "inainte de sfarsitul"},
        {"no sections", QByteArray(delivered).replace("[Continut]", "Capitole"), "lipseste [CONTINUT]"},
        {"a placeholder split by formatting", QByteArray(delivered).replace("[Numepren]", "[NUME{\\b PREN}]"),
         "[NUMEPREN] este intrerupt"},
    };
    CertificateRequest r = request(801);
    const qint64 number = w.certificates->proposedNumber();
    r.numberText = QString::number(number);
    const QByteArray settings = velmor::test::fileBytes(w.home.dataFile(QStringLiteral("Velmor.ini")));
    const QStringList destinations = w.certificates->destinations();
    for (const auto& c : refused) {
        putFile(model, c.model);
        for (const QString& output : {QString(), old}) {
            try {
                w.certificates->writeGeneral(r, output);
                ADD_FAILURE() << c.what << ": accepted";
            } catch (const Error& e) {
                EXPECT_TRUE(e.message().startsWith(QStringLiteral("Modelul ") + QDir::toNativeSeparators(model)
                                                   + QStringLiteral(" nu poate fi folosit: ")))
                    << e.message().toStdString();
                EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.reason))) << c.what << ": " << e.message().toStdString();
            }
        }
        EXPECT_EQ(w.certificates->proposedNumber(), number) << c.what;
        EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/Adeverinta0.rtf"))) << c.what;
        EXPECT_EQ(velmor::test::fileBytes(old), QByteArray("adeverinta veche")) << c.what;
        EXPECT_EQ(velmor::test::fileBytes(w.home.dataFile(QStringLiteral("Velmor.ini"))), settings) << c.what;
        EXPECT_EQ(w.certificates->destinations(), destinations) << c.what;
    }

    // A council that removed the line with the stamp duty and the code: a warning, and the certificate.
    putFile(model, QByteArray(delivered).replace("[Taxa] [Chit]", "").replace(" (CNP [CNP])", ""));
    QStringList warnings;
    const QString written = w.certificates->writeGeneral(r, QString(), &warnings);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0], QStringLiteral("Modelul ") + QDir::toNativeSeparators(model)
                               + QStringLiteral(" nu contine [TAXA], [CHIT], [CNP]; aceste date nu apar pe adeverinta."));
    EXPECT_TRUE(QFile::exists(written));
    EXPECT_EQ(w.certificates->proposedNumber(), number + 1);
}

// Mentions the settings files cannot hold are refused before the certificate is written and numbered.
TEST(Certificates, WhatCannotBeStoredIsRefusedBeforeTheDocument)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}});
    InstaleazaModele(w.home.home());
    const qint64 number = w.certificates->proposedNumber();
    const QStringList destinations = w.certificates->destinations();
    const struct {
        QString destination;
        QStringList mentions;
    } cases[] = {
        {QStringLiteral("BANCA"), {QStringLiteral("bine"), QStringLiteral("suprafata \u2248 2 ha")}},
        {QStringLiteral("BANCA \u2192 CREDIT"), {}},
    };
    for (const auto& c : cases) {
        CertificateRequest r = request(801);
        r.numberText = QString::number(number);
        r.destination = c.destination;
        r.mentions = c.mentions;
        EXPECT_THROW(w.certificates->writeGeneral(r), Error);
        EXPECT_EQ(w.certificates->proposedNumber(), number);
        EXPECT_FALSE(QFile::exists(w.home.home() + QStringLiteral("/Adeverinta0.rtf")));
        EXPECT_EQ(w.certificates->destinations(), destinations);
        EXPECT_FALSE(QFile::exists(w.home.dataFile(QStringLiteral("BANCA.adv"))));
    }
}

// A destination typed with comma-below letters keeps one profile in the settings file.
TEST(Certificates, ADestinationWithCommaBelowLettersKeepsOneProfile)
{
    CertificateWorld w;
    w.household(801, {{"POPESCU ION", "1800101221144", 1, 1}});
    InstaleazaModele(w.home.home());
    const QString destination = QStringLiteral("BURS\u0102 \u0218COLAR\u0102 \u021aARA");
    for (int round = 0; round < 3; ++round) {
        CertificateRequest r = request(801);
        r.destination = destination;
        r.numberText = QString::number(w.certificates->proposedNumber());
        r.chapters[11] = round > 0;
        w.certificates->writeGeneral(r);
    }
    const QByteArray ini = velmor::test::fileBytes(w.home.dataFile(QStringLiteral("Velmor.ini")));
    EXPECT_EQ(ini.count("\r\n[BURS"), 1) << ini.toStdString();
    const Certificates::Profile profile = w.certificates->profile(destination);
    EXPECT_EQ(profile.state, QStringLiteral("10000000000100"));
    EXPECT_EQ(profile.model, QStringLiteral("MODEL 1"));
}

// The person's sex comes from the register for every member named; only a typed name goes by its
// last letter.
TEST(Certificates, SexOfMembersComesFromTheRegister)
{
    CertificateWorld w;
    w.household(801, {{"SAVIN MIRCEA", "", 1, 1}, {"POP CARMEN", "", 2, 2}, {"LUCA MIHAILA", "1800101221144", 0, 3}});
    const CertificateHousehold h = w.certificates->household(801);
    const struct {
        int person;
        const char* second;
        const char* lui;      // heating [LUI]
        const char* leadIn;   // the second person's title in [LINIA1]
    } cases[] = {
        {0, "POP CARMEN", "ului ", "si numita POP CARMEN"},
        {1, "SAVIN MIRCEA", "ei", "si numitul SAVIN MIRCEA"},
        {2, "IONESCU ANA", "ului ", "si numita IONESCU ANA"},  // typed, not a member: the last letter
        {0, "POPESCU ION", "ului ", "si numitul POPESCU ION"},
    };
    for (const auto& c : cases) {
        CertificateRequest r = request(801, c.person);
        r.second = QString::fromLatin1(c.second);
        r.clerk = QStringLiteral("IONESCU VASILE");
        QMap<QString, QString> heating;
        for (const auto& [placeholder, value] : w.certificates->heatingPairs(r, h))
            heating.insert(placeholder, value);
        EXPECT_EQ(heating.value(QStringLiteral("[LUI]")), QString::fromLatin1(c.lui)) << c.person;
        const QString line = w.pairs(r).value(QStringLiteral("[LINIA1]"));
        EXPECT_TRUE(line.startsWith(QString::fromLatin1(c.leadIn))) << line.toStdString();
    }
}
