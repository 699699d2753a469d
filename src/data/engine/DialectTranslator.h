#pragma once

#include "data/dbf/DbfLayout.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace velmor::engine {

// A statement of the program's dialect, taken apart for the engine.
struct Statement {
    enum Kind { Select, Change, CreateTable, CreateIndex, AlterTable, DropTable };
    Kind kind = Select;

    // Select and Change: the SQLite text, table paths replaced by the names the caller chose.
    QString sql;

    // Data definition statements.
    QString path;                        // the table's path as written
    QList<dbf::FieldSpec> columns;       // CreateTable: the layout; AlterTable: columns added
    QStringList dropColumns;             // AlterTable: columns dropped
    QString indexName, indexColumn;      // CreateIndex

    bool isDefinition() const { return kind != Select && kind != Change; }
};

// Translates one statement. `tableName` maps a table path (as written in the statement) to the
// SQLite name it goes by. Throws SqlError for a statement it cannot take apart.
Statement translateStatement(const QString& text, const std::function<QString(const QString&)>& tableName);

// Parses a column type of CREATE TABLE / ALTER TABLE ADD ("DECIMAL(6,2)", "CHAR(40)", "DATE",
// "BLOB(1,1)"). Throws SqlError for an unknown type.
dbf::FieldSpec parseColumnType(const QString& name, const QString& type, int width, int decimals, bool hasSize);

}
