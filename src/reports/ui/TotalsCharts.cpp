#include "reports/ui/TotalsCharts.h"

#include "data/dbf/ValueConversions.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHorizontalBarSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QValueAxis>

namespace velmor::reports {

QString totalsChartTitle(TotalsTable table)
{
    switch (table) {
    case TotalsTable::Chapter2: return QStringLiteral("STRUCTURA TERENURILOR IN PROPRIETATE");
    case TotalsTable::Chapter4: return QStringLiteral("STRUCTURA CULTURILOR PE RAZA LOCALITATII");
    case TotalsTable::Chapter5: return QStringLiteral("STRUCTURA POMILOR FRUCTIFERI");
    case TotalsTable::Chapter6: return QStringLiteral("STRUCTURA SUPRAFETELOR IRIGATE");
    case TotalsTable::Chapter7: return QStringLiteral("SITUATIA ANIMALELOR DOMESTICE");
    case TotalsTable::Chapter8:
        return QStringLiteral("DINAMICA EFECTIVELOR DE ANIMALE\n- diferenta total intrari - total iesiri -");
    default: return {};
    }
}

QWidget* makeTotalsChart(TotalsTable table, const engine::ResultSet& rows, QWidget* parent)
{
    auto* chart = new QChart;
    chart->setTitle(totalsChartTitle(table));
    chart->setAnimationOptions(QChart::NoAnimation);
    const int valueColumn = table == TotalsTable::Chapter5 ? 2 : 1;
    if (table == TotalsTable::Chapter8) {
        auto* first = new QBarSet(QStringLiteral("SEM_1"));
        auto* second = new QBarSet(QStringLiteral("SEM_2"));
        QStringList categories;
        for (const auto& row : rows.rows) {
            categories << dbf::storedText(row[0]).trimmed();
            *first << dbf::numberOnly(row[1]);
            *second << dbf::numberOnly(row[2]);
        }
        auto* series = new QBarSeries;
        series->append(first);
        series->append(second);
        chart->addSeries(series);
        auto* axisX = new QBarCategoryAxis;
        axisX->append(categories);
        chart->addAxis(axisX, Qt::AlignBottom);
        series->attachAxis(axisX);
        auto* axisY = new QValueAxis;
        chart->addAxis(axisY, Qt::AlignLeft);
        series->attachAxis(axisY);
        chart->legend()->setVisible(true);
    } else if (table == TotalsTable::Chapter4) {
        auto* set = new QBarSet(QStringLiteral("ha"));
        QStringList categories;
        for (const auto& row : rows.rows) {
            categories << dbf::storedText(row[0]).trimmed();
            *set << dbf::numberOnly(row[valueColumn]);
        }
        auto* series = new QHorizontalBarSeries;
        series->append(set);
        chart->addSeries(series);
        auto* axisY = new QBarCategoryAxis;
        axisY->append(categories);
        chart->addAxis(axisY, Qt::AlignLeft);
        series->attachAxis(axisY);
        auto* axisX = new QValueAxis;
        chart->addAxis(axisX, Qt::AlignBottom);
        series->attachAxis(axisX);
        chart->legend()->setVisible(false);
    } else {
        auto* series = new QPieSeries;
        double total = 0;
        for (const auto& row : rows.rows)
            total += std::max(0.0, dbf::numberOnly(row[valueColumn]));
        for (const auto& row : rows.rows) {
            const double value = std::max(0.0, dbf::numberOnly(row[valueColumn]));
            if (value <= 0)
                continue;
            QPieSlice* slice = series->append(dbf::storedText(row[0]).trimmed(), value);
            slice->setLabel(QStringLiteral("%1 %2%").arg(dbf::storedText(row[0]).trimmed()).arg(total > 0 ? value * 100.0 / total : 0, 0, 'f', 1));
            slice->setLabelVisible(true);
        }
        chart->addSeries(series);
        chart->legend()->setVisible(false);
    }
    auto* view = new QChartView(chart, parent);
    view->setObjectName(QStringLiteral("Chart"));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

}
