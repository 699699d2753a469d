// Writes the built-in template workbooks (Rap.xls, Macheta.xls, the census forms L1.xls ..
// L6.xls) into a folder. The files under
// src/reports/resources/ are its output; a test checks that they still are.

#include "reports/TemplateDesigns.h"
#include "workbook/WorkbookError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

using namespace velmor;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: velmor-make-templates FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    try {
        const std::pair<const char*, workbook::WorkbookDesign> files[] = {
            {"Rap.xls", reports::rapDesign()}, {"Macheta.xls", reports::machetaDesign()},
            {"L1.xls", reports::censusDesign(1)}, {"L2.xls", reports::censusDesign(2)},
            {"L3.xls", reports::censusDesign(3)}, {"L4.xls", reports::censusDesign(4)},
            {"L5.xls", reports::censusDesign(5)}, {"L6.xls", reports::censusDesign(6)}};
        for (const auto& [name, design] : files) {
            QFile file(folder.filePath(QLatin1String(name)));
            if (!file.open(QIODevice::WriteOnly) || file.write(workbook::writeNewWorkbook(design)) < 0) {
                err << file.fileName() << ": " << file.errorString() << '\n';
                return 1;
            }
        }
    } catch (const workbook::WorkbookError& e) {
        err << e.message() << '\n';
        return 1;
    }
    return 0;
}
