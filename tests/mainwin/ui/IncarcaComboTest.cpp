#include "MainWinTestUtil.h"

#include "data/engine/Query.h"
#include "grid/ui/IncarcaCombo.h"

#include <QComboBox>

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

QStringList itemsOf(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

void addVillageRow(MainEnv& env, int year, const QString& village)
{
    env.engine->execute(QStringLiteral("INSERT INTO \"%1\" (ANUL, CODID, LOCALIT) VALUES (%2, 1, \"%3\")")
                            .arg(env.ctx.tablePath(QStringLiteral("Identificare.dbf")))
                            .arg(year)
                            .arg(village));
}

}

TEST(IncarcaCombo, AppendsDistinctNonBlankValuesInOrderAndSelectsTheFirstItem)
{
    MainEnv env;
    addVillageRow(env, 2020, QStringLiteral("Valea"));
    addVillageRow(env, 2020, QString());
    addVillageRow(env, 2020, QStringLiteral("Deal"));
    addVillageRow(env, 2021, QStringLiteral("Valea"));
    addVillageRow(env, 2020, QStringLiteral("  Lunca"));
    addVillageRow(env, 2020, QStringLiteral("   "));

    QComboBox box;
    box.addItem(QStringLiteral("existent"));
    box.setCurrentIndex(-1);
    engine::Query query(*env.engine);
    IncarcaCombo(&box, query, env.ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"), QString());

    // The box is not emptied; leading blanks stay as read.
    EXPECT_EQ(itemsOf(box), (QStringList {QStringLiteral("existent"), QStringLiteral("  Lunca"), QStringLiteral("Deal"),
                                          QStringLiteral("Valea")}));
    EXPECT_EQ(box.currentIndex(), 0);
    EXPECT_EQ(query.SQL(), (QStringList {QStringLiteral("SELECT DISTINCT LOCALIT"),
                                         QStringLiteral("FROM \"") + env.ctx.tablePath(QStringLiteral("Identificare.dbf"))
                                             + QLatin1Char('"'),
                                         QStringLiteral("ORDER BY LOCALIT")}));
    EXPECT_FALSE(query.active());
}

TEST(IncarcaCombo, ConditionGoesIntoAWhereLine)
{
    MainEnv env;
    addVillageRow(env, 2020, QStringLiteral("Valea"));
    addVillageRow(env, 2021, QStringLiteral("Deal"));
    QComboBox box;
    engine::Query query(*env.engine);
    IncarcaCombo(&box, query, env.ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"),
                 QStringLiteral("ANUL=2021"));
    EXPECT_EQ(itemsOf(box), QStringList {QStringLiteral("Deal")});
    EXPECT_EQ(query.SQL().value(2), QStringLiteral("WHERE ANUL=2021"));
    EXPECT_EQ(query.SQL().value(3), QStringLiteral("ORDER BY LOCALIT"));
}

TEST(IncarcaCombo, AllBlankColumnOnlySelectsIndexZero)
{
    MainEnv env;
    addVillageRow(env, 2020, QString());
    engine::Query query(*env.engine);

    QComboBox empty;
    IncarcaCombo(&empty, query, env.ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"), QString());
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(empty.currentIndex(), -1);

    QComboBox filled;
    filled.addItems({QStringLiteral("a"), QStringLiteral("b")});
    filled.setCurrentIndex(1);
    IncarcaCombo(&filled, query, env.ctx.tablePath(QStringLiteral("Identificare.dbf")), QStringLiteral("LOCALIT"), QString());
    EXPECT_EQ(itemsOf(filled), (QStringList {QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(filled.currentIndex(), 0);
}

TEST(IncarcaCombo, StatementErrorsReachTheCaller)
{
    MainEnv env;
    QComboBox box;
    engine::Query query(*env.engine);
    EXPECT_ANY_THROW(IncarcaCombo(&box, query, env.ctx.tablePath(QStringLiteral("Identificare.dbf")),
                                  QStringLiteral("NUEXISTA"), QString()));
    EXPECT_EQ(box.count(), 0);
}
