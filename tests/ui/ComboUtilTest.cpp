#include "ui/ComboUtil.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

using velmor::SelecteazaInCombo;

namespace {
void fill(QComboBox& box)
{
    box.addItems({QStringLiteral("Alba"), QStringLiteral("alba"), QStringLiteral("Bran"), QStringLiteral("Alba")});
}
}

TEST(SelecteazaInCombo, SelectsTheFirstEqualItem)
{
    QComboBox box;
    fill(box);
    SelecteazaInCombo(&box, QStringLiteral("Bran"));
    EXPECT_EQ(box.currentIndex(), 2);
    SelecteazaInCombo(&box, QStringLiteral("Alba"));
    EXPECT_EQ(box.currentIndex(), 0);
    SelecteazaInCombo(&box, QStringLiteral("alba"));
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_EQ(box.currentText(), QStringLiteral("alba"));
}

TEST(SelecteazaInCombo, CaseDifferenceSelectsNothing)
{
    QComboBox box;
    fill(box);
    box.setCurrentIndex(2);
    SelecteazaInCombo(&box, QStringLiteral("BRAN"));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_TRUE(box.currentText().isEmpty());
}

TEST(SelecteazaInCombo, EditableBoxTextIsCleared)
{
    QComboBox box;
    box.setEditable(true);
    fill(box);
    box.setEditText(QStringLiteral("ceva scris"));
    SelecteazaInCombo(&box, QStringLiteral("Bran "));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_TRUE(box.currentText().isEmpty());
    EXPECT_TRUE(box.lineEdit()->text().isEmpty());
    SelecteazaInCombo(&box, QStringLiteral("Bran"));
    EXPECT_EQ(box.currentIndex(), 2);
    EXPECT_EQ(box.lineEdit()->text(), QStringLiteral("Bran"));
}

TEST(SelecteazaInCombo, EmptyBoxAndEmptyText)
{
    QComboBox box;
    SelecteazaInCombo(&box, QStringLiteral("x"));
    EXPECT_EQ(box.currentIndex(), -1);
    fill(box);
    // An empty text equals no item.
    SelecteazaInCombo(&box, QString());
    EXPECT_EQ(box.currentIndex(), -1);
    box.addItem(QString());
    SelecteazaInCombo(&box, QString());
    EXPECT_EQ(box.currentIndex(), 4);
}
