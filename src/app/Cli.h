#pragma once

#include <QStringList>

namespace velmor::cli {

// Runs one velmor-cli command; returns the process exit status.
int run(const QStringList& arguments);

}
