#include "register/PlotValueLists.h"

#include "core/Paths.h"
#include "data/engine/DistinctValues.h"
#include "data/engine/Query.h"
#include "services/LineListFile.h"
#include "services/Settings.h"
#include "services/TextFunctions.h"

#include <QRegularExpression>

namespace velmor {

namespace {

const char* fileName(PlotValueLists::List list)
{
    switch (list) {
    case PlotValueLists::List::Deeds:
        return "TarlaActe.txt";
    case PlotValueLists::List::Blocks:
        return "Tarlale.txt";
    case PlotValueLists::List::Workers:
        return "CineLuc.txt";
    }
    return "";
}

const char* column(PlotValueLists::List list)
{
    switch (list) {
    case PlotValueLists::List::Deeds:
        return "ACT";
    case PlotValueLists::List::Blocks:
        return "TARLA";
    case PlotValueLists::List::Workers:
        return "CINELUC";
    }
    return "";
}

QString description(PlotValueLists::List list)
{
    return QStringLiteral("lista %1").arg(QLatin1String(fileName(list)));
}

}

PlotValueLists::PlotValueLists(engine::Engine& engine, QString dataDirectory, Settings& settings)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_settings(settings)
{
}

QString PlotValueLists::filePath(List list) const
{
    return m_dataDirectory + QLatin1Char('/') + QLatin1String(fileName(list));
}

QStringList PlotValueLists::values(List list) const
{
    return readLineList(filePath(list), description(list));
}

void PlotValueLists::IncarcaListe()
{
    engine::Query query(m_engine);
    for (const List list : {List::Deeds, List::Blocks, List::Workers}) {
        const QStringList found = engine::ValoriDistincte(query, m_dataDirectory + QStringLiteral("/Tarlale.dbf"),
                                                          QLatin1String(column(list)), QString());
        writeLineList(filePath(list), found, description(list));
    }
}

bool PlotValueLists::AdaugaInLista(List list, const QString& value)
{
    const QString item = value.trimmed();
    if (item.isEmpty())
        return false;
    QStringList items = values(list);
    for (const QString& existing : items) {
        if (existing.toUpper() == item.toUpper())
            return false;
    }
    items << item;
    writeLineList(filePath(list), items, description(list));
    return true;
}

QString PlotValueLists::classificationOf(const QString& block)
{
    static const QRegularExpression word(QStringLiteral("\\bINTRAVILAN\\b"));
    return word.match(block.toUpper()).hasMatch() ? QStringLiteral("INTRAVILAN") : QStringLiteral("EXTRAVILAN");
}

int PlotValueLists::rememberedCategory(const QString& classification, const QString& block) const
{
    bool ok = false;
    const int item = m_settings.Citeste_Ini(classification, Curata(block)).trimmed().toInt(&ok);
    return ok && item >= 0 && item <= 7 ? item : 0;
}

void PlotValueLists::rememberCategory(const QString& classification, const QString& block, int item)
{
    if (Curata(block).isEmpty())
        return;
    m_settings.Scrie_Ini(classification, Curata(block), QString::number(item));
}

}
