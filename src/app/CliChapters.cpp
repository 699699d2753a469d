#include "app/CliChapters.h"

#include "app/CliInteraction.h"
#include "app/CliOptions.h"
#include "data/Schema.h"
#include "data/dbf/DbfValue.h"
#include "data/engine/Engine.h"
#include "register/ChapterRepair.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

namespace velmor::cli {

namespace {

qint64 wholeOption(const Options& o, const QString& name)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QString text = o.value(name);
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!digits.match(text).hasMatch() || !ok)
        throw UsageError(QStringLiteral("--%1 cere un numar intreg, nu \"%2\".").arg(name, text));
    return value;
}

}

int runChapters(const Options& o)
{
    o.require({"data", "year"});
    o.requirePositional(0, 0);
    const QString dir = QDir(o.value(QStringLiteral("data"))).absolutePath();
    const qint64 year = wholeOption(o, QStringLiteral("year"));
    std::optional<qint64> household;
    if (o.has(QStringLiteral("household")))
        household = wholeOption(o, QStringLiteral("household"));
    if (!data::Schema::ExistaBaza(dir))
        throw Error(QStringLiteral("%1 nu este un director de date complet.").arg(QDir::toNativeSeparators(dir)));

    // The scratch table of the completion lives in a folder of its own, removed at the end.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        throw Error(QStringLiteral("Nu se poate crea un director temporar."));
    CliInteraction ui;
    engine::Engine engine(dir);
    engine.addTableRoot(scratch.path());
    // Each chapter's line as soon as it is finished: a run that stops shows what was done.
    QTextStream out(stdout);
    ChapterRepair repair(engine, dir, scratch.path(), ui);
    repair.setChapterDone([&](int chapter, const ChapterRepair::ChapterCounts& c) {
        out << "CAP" << chapter << '\t' << c.added << '\t' << c.removed << '\t' << c.changed << '\n';
        out.flush();
    });
    const ChapterRepair::Report report = repair.run(year, household);

    for (const KeptDuplicates& k : report.kept)
        out << "DUBLURI\tCAP" << k.chapter << '\t' << k.codid << '\t' << dbf::decimalText(k.code, 1) << '\t' << k.rows << '\n';
    for (const QString& refused : report.refused)
        out << "NESALVAT\t" << refused << '\n';
    out.flush();
    return 0;
}

}
