#pragma once

// velmor-cli run as a program; the test target defines VELMOR_CLI_PATH.

#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace velmor::test {

struct CliRun {
    int status = -1; // -2 when the program crashed
    QString out;
    QString err;
};

inline CliRun cli(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral(VELMOR_CLI_PATH), arguments);
    EXPECT_TRUE(p.waitForFinished(60000)) << arguments.join(QLatin1Char(' ')).toStdString();
    CliRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}
