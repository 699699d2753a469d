#pragma once

// What the schema upgrade's two source files share: table names, column helpers, the failures.

#include "data/SchemaUpgrade.h"
#include "data/dbf/ValueConversions.h"

#include <QString>

namespace velmor::data::upgrade {

inline QString chapterFile(int n)
{
    return QStringLiteral("CAP%1.dbf").arg(n);
}

inline const QString Identificare = QStringLiteral("Identificare.dbf");
inline const QString Cap1 = QStringLiteral("CAP1.dbf");
inline const QString Cap10 = QStringLiteral("CAP10.dbf");
inline const QString Tarlale = QStringLiteral("Tarlale.dbf");

inline int indexIn(const QList<dbf::FieldSpec>& specs, const QString& name)
{
    for (int i = 0; i < specs.size(); ++i) {
        if (specs[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

inline bool blank(const dbf::Value& v)
{
    return dbf::storedText(v).trimmed().isEmpty();
}

inline QString describe(const dbf::Field& f)
{
    if (f.type == 'C')
        return QStringLiteral("%1 CHAR(%2)").arg(f.name).arg(f.width);
    if (f.type == 'M')
        return QStringLiteral("%1 memo").arg(f.name);
    return QStringLiteral("%1 N(%2,%3)").arg(f.name).arg(f.width).arg(f.decimals);
}

inline dbf::FieldSpec charSpec(const QString& name, int width)
{
    return {name, 'C', width, 0};
}

// The refusal of the first change (archive or marker): the upgrade stops before changing anything.
struct FirstChangeRefused {
    QString message;
};

}

namespace velmor::data {

// A step stopped by its own check (the step failed; the upgrade goes on).
struct SchemaUpgrade::StepFailure {
    QString message;
};

}
