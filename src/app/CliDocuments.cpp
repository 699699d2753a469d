#include "app/CliDocuments.h"

#include "admin/Administration.h"
#include "admin/Models.h"
#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "app/CliRun.h"
#include "app/CliOutput.h"
#include "app/ProgramHome.h"
#include "core/Error.h"
#include "data/engine/Engine.h"
#include "tariffs/LocalTariffs.h"
#include "search/Certificates.h"
#include "search/RAgr2Report.h"
#include "services/AppContext.h"
#include "services/Settings.h"

#include <QDate>
#include <QDir>
#include <QTextStream>

namespace velmor::cli {

namespace {

qint64 integerOption(const Options& o, const char* name, qint64 fallback)
{
    if (!o.has(QLatin1String(name)))
        return fallback;
    qint64 value = 0;
    if (!parseInteger(o.value(QLatin1String(name)), value))
        throw UsageError(QStringLiteral("--%1 cere un numar intreg.").arg(QLatin1String(name)));
    return value;
}

QDate dateOption(const Options& o)
{
    if (!o.has(QStringLiteral("date")))
        return QDate::currentDate();
    const QDate date = QDate::fromString(o.value(QStringLiteral("date")), QStringLiteral("dd.MM.yyyy"));
    if (!date.isValid())
        throw UsageError(QStringLiteral("--date cere o data zz.ll.aaaa."));
    return date;
}

}

int runRAgr2(const Options& o)
{
    o.require({"data", "year", "out"});
    o.requirePositional(0, 0);
    CliRun run(o, CliRun::Models::Installed);
    // As the dialog: the stored code and the next number are proposed; the options replace them.
    const auto [storedSiruta, nextNumber] = RAgr2Report::storedHeader(run.settings);
    RAgr2Request request;
    request.year = int(integerOption(o, "year", 0));
    request.siruta = o.value(QStringLiteral("siruta"), storedSiruta);
    request.number = o.has(QStringLiteral("number")) ? QString::number(integerOption(o, "number", 0)) : nextNumber;
    request.date = dateOption(o);
    request.council = run.council();
    RAgr2Report(*run.engine, run.data)
        .write(request, QDir(run.home).filePath(QStringLiteral("RAGR2.rtf")), run.home, QDir().absoluteFilePath(o.value(QStringLiteral("out"))));
    // The number and the code are kept only once the form exists.
    RAgr2Report::storeHeader(run.settings, request.siruta, request.number);
    QTextStream(stdout) << request.number << '\n';
    return 0;
}

int runCertificate(const Options& o)
{
    o.require({"data", "household", "out"});
    o.requirePositional(0, 0);
    const bool heating = o.has(QStringLiteral("heating"));
    if (!heating)
        o.require({"chapters", "destination"});
    CliRun run(o, CliRun::Models::Installed);
    search::Certificates certificates(*run.engine, run.data, run.home, run.settings, run.council(),
                                      LocalTariffs(run.settings).load());
    search::CertificateRequest request;
    request.household = integerOption(o, "household", 0);
    const search::CertificateHousehold household = certificates.household(request.household);
    for (const QString& item : o.value(QStringLiteral("chapters")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int position = item.trimmed().toInt(&ok);
        if (!ok || position < 1 || position > search::CertificateRequest::ChapterCount)
            throw UsageError(QStringLiteral("--chapters primeste pozitii de la 1 la 14, despartite prin virgula."));
        request.chapters[size_t(position - 1)] = true;
    }
    request.destination = o.value(QStringLiteral("destination"));
    request.model = int(integerOption(o, "model", 1));
    if (request.model < 1 || request.model > 5)
        throw UsageError(QStringLiteral("--model primeste 1..5."));
    if (o.has(QStringLiteral("person"))) {
        request.person = -1;
        for (qsizetype i = 0; i < household.members.size() && request.person < 0; ++i) {
            if (household.members[i].name == o.value(QStringLiteral("person")).trimmed().toUpper())
                request.person = int(i);
        }
        if (request.person < 0)
            throw Error(QStringLiteral("Gospodaria nu are membrul \"%1\".").arg(o.value(QStringLiteral("person"))));
    }
    request.second = o.value(QStringLiteral("second")).toUpper();
    request.relation = o.value(QStringLiteral("relation")).toUpper();
    request.clerk = o.value(QStringLiteral("clerk"), run.settings.Citeste_Ini(QStringLiteral("CONST"), QStringLiteral("INTOCMIT"))).toUpper();
    bool dutyOk = true;
    request.duty = o.has(QStringLiteral("duty")) ? o.value(QStringLiteral("duty")).toDouble(&dutyOk) : 0;
    if (!dutyOk)
        throw UsageError(QStringLiteral("--duty cere o suma."));
    request.receipt = o.value(QStringLiteral("receipt")).toUpper();
    request.numberText = QString::number(integerOption(o, "number", certificates.proposedNumber()));
    if (o.has(QStringLiteral("mentions")))
        request.mentions = o.value(QStringLiteral("mentions")).split(QLatin1Char('\n'));
    request.date = QDate::currentDate();
    const QString out = QDir().absoluteFilePath(o.value(QStringLiteral("out")));
    QStringList warnings;
    if (heating)
        certificates.writeHeating(request, out);
    else
        certificates.writeGeneral(request, out, &warnings);
    for (const QString& warning : warnings)
        QTextStream(stderr) << messageLines(warning) << '\n';
    QTextStream(stdout) << request.numberText << '\n';
    return 0;
}

}
