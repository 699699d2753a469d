#pragma once

// A table with text, whole, real, date and null values in a temporary data folder, for the tests
// of grids and exports over real query results.

#include "../data/engine/EngineTestSupport.h"

#include "data/dbf/CodePage1250.h"

namespace velmor::test {

struct EngineTable {
    // Text values as inserted; the table stores comma-below letters as their cedilla forms.
    static QStringList names()
    {
        return {QString::fromUtf8("Ion \"Mărgean\", zis 'Nea'"), QString::fromUtf8("Șerban Țuțu\tăî"),
                QStringLiteral("IONESCU\nPETRE; C:\\x"), QString::fromUtf8("ăîșț").repeated(63) + QStringLiteral("ab")};
    }

    EngineTable()
    {
        reg.exec(QStringLiteral("CREATE TABLE {T} (A CHAR(254), N DECIMAL(10,0), R DECIMAL(12,2), D DATE)"));
        const QStringList values = {
            QStringLiteral("1, 12.5, '1948-02-29'"),
            QStringLiteral("2, -0.25, '2020-12-31'"),
            QStringLiteral("3, NULL, NULL"),
            QStringLiteral("40, 1000, '2001-01-01'"),
        };
        const QStringList texts = names();
        for (int i = 0; i < texts.size(); ++i) {
            QString literal = texts[i];
            literal.replace(QLatin1Char('\''), QStringLiteral("''"));
            reg.exec(QStringLiteral("INSERT INTO {T} (A, N, R, D) VALUES ('%1', %2)").arg(literal, values[i]));
        }
        reg.exec(QStringLiteral("INSERT INTO {T} (N) VALUES (5)"));
    }

    static QString stored(const QString& text) { return dbf::cp1250::storedForm(text); }
    QString select(const QString& rest = QString()) const
    {
        return QStringLiteral("SELECT A, N, R, D FROM ") + reg.t(QStringLiteral("T.dbf")) + rest;
    }

    Register reg;
};

}
