#include "reports/HouseholdHeads.h"

#include "data/engine/Engine.h"
#include "data/engine/SqlText.h"

#include "reports/RowOrder.h"

#include <QDir>

#include <unordered_map>

namespace velmor::reports {

HouseholdHeads::HouseholdHeads(engine::Engine& engine, QString dataDirectory, std::int64_t year)
    : m_engine(engine)
    , m_dataDirectory(std::move(dataDirectory))
    , m_year(year)
{
}

engine::ResultSet HouseholdHeads::rows(List list) const
{
    const auto table = [this](const char* name) {
        return engine::quotedPath(QDir(m_dataDirectory).filePath(QLatin1String(name)));
    };
    engine::Parameters parameters;
    parameters.bind(QStringLiteral("ANUL"), m_year);
    const engine::ResultSet households = m_engine.select(
        QStringLiteral("SELECT CODID, LOCALIT, STRADA, NR, POZ, VOLUM FROM ") + table("Identificare.dbf"));
    std::unordered_map<std::int64_t, const std::vector<dbf::Value>*> byCode;
    for (const auto& row : households.rows) {
        if (!dbf::isNull(row[0]))
            byCode.try_emplace(dbf::toRoundedWhole(row[0]), &row);
    }
    parameters.bind(QStringLiteral("DENUM"), QStringLiteral("Cap de gospodarie"));
    const engine::ResultSet heads = m_engine.select(QStringLiteral("SELECT CODID, NUMEP, CNP FROM ") + table("CAP1.dbf")
                                                        + QStringLiteral(" WHERE DENUM=:DENUM AND ANUL=:ANUL"),
                                                    parameters);
    engine::ResultSet rows;
    const bool address = list == List::Address;
    rows.fields = address ? QList<engine::ResultField>{heads.fields[1], households.fields[1], households.fields[2], households.fields[3]}
                          : QList<engine::ResultField>{heads.fields[1], households.fields[1], heads.fields[2], households.fields[4],
                                                       households.fields[5]};
    for (const auto& head : heads.rows) {
        const auto it = byCode.find(dbf::toRoundedWhole(head[0]));
        if (dbf::isNull(head[0]) || it == byCode.end())
            continue;
        const std::vector<dbf::Value>& h = *it->second;
        if (address)
            rows.rows.push_back({head[1], h[1], h[2], h[3]});
        else
            rows.rows.push_back({head[1], h[1], head[2], h[4], h[5]});
    }
    sortRows(rows, {1, 0});
    return rows;
}

QString HouseholdHeads::title(List list)
{
    return list == List::Address ? QStringLiteral("Evidenta gospodarii") : QStringLiteral("Repertoar gospodarii");
}

output::ReportForm HouseholdHeads::form(List list)
{
    using output::ReportElement;
    using output::ValueFormat;
    using Kind = ReportElement::Kind;
    constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    constexpr Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    constexpr Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;

    output::ReportForm form;
    const double width = form.bodyWidth();
    form.title.add(output::reportLabel(QStringLiteral("PRIMARIA"), QString(), QRectF(0, 0, width * 0.6, 5), left, 9, true));
    form.title.add(output::reportLabel(QStringLiteral("DATA"), QString(), QRectF(width * 0.6, 0, width * 0.4, 5), right));
    form.title.add(output::reportText(title(list), QRectF(0, 8, width, 7), Qt::AlignHCenter | Qt::AlignTop, 12, true));
    form.title.height = 18;

    struct Column {
        const char* heading;
        const char* field; // nullptr: the running number
        double width;
        ValueFormat format;
        Qt::Alignment alignment;
    };
    const QList<Column> columns = list == List::Address
        ? QList<Column>{{"Nr. crt.", nullptr, 14, ValueFormat::Text, right},
                        {"LOCALITATEA", "LOCALIT", 38, ValueFormat::Text, left},
                        {"Strada", "STRADA", 45, ValueFormat::Text, left},
                        {"NUMELE SI PRENUMELE", "NUMEP", 64, ValueFormat::Text, left},
                        {"Nr.", "NR", 22, ValueFormat::Text, centre}}
        : QList<Column>{{"Nr.crt.", nullptr, 14, ValueFormat::Text, right},
                        {"Localitatea", "LOCALIT", 38, ValueFormat::Text, left},
                        {"Numele si prenumele", "NUMEP", 64, ValueFormat::Text, left},
                        {"C.N.P.", "CNP", 31, ValueFormat::Text, centre},
                        {"Volum", "VOLUM", 18, ValueFormat::Whole, right},
                        {"Pozitie", "POZ", 18, ValueFormat::Whole, right}};
    double x = 0;
    for (const Column& column : columns) {
        ReportElement head = output::reportText(QString::fromLatin1(column.heading), QRectF(x, 0, column.width, 8), centre, 8, true);
        head.frame = true;
        form.columnHeader.add(head);
        ReportElement cell = column.field
            ? output::reportField(QString::fromLatin1(column.field), QRectF(x, 0, column.width, 5), column.format, column.alignment)
            : output::reportElement(Kind::RowNumber, QString(), QRectF(x, 0, column.width, 5), ValueFormat::Text, column.alignment);
        cell.frame = true;
        form.detail.add(cell);
        x += column.width;
    }
    ReportElement page = output::reportElement(Kind::PageNumber, QString(), QRectF(0, 2, width, 5), ValueFormat::Text,
                                               Qt::AlignHCenter | Qt::AlignTop);
    page.text = QStringLiteral("Pagina %1 din %2");
    form.pageFooter.add(page);
    return form;
}

output::ReportDocument HouseholdHeads::document(List list, engine::ResultSet rows, const QString& council, const QDate& today)
{
    const QString councilLabel = list == List::Address ? QStringLiteral("Primaria ") + council : council;
    return output::ReportDocument(form(list), std::move(rows),
                                  {{QStringLiteral("PRIMARIA"), councilLabel},
                                   {QStringLiteral("DATA"), today.toString(QStringLiteral("dd.MM.yyyy"))}});
}

}
