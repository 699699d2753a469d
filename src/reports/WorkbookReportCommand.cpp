#include "reports/WorkbookReportCommand.h"

#include "core/Error.h"
#include "data/engine/Engine.h"
#include "reports/TemplateExport.h"
#include "services/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace velmor::reports {

int runWorkbookReport(const WorkbookReportRequest& request, Interaction& ui)
{
    const bool apia = request.report == QLatin1String("apia");
    if (!apia && request.report != QLatin1String("strainasi"))
        throw Error(QStringLiteral("Raport necunoscut: \"%1\" (apia sau strainasi).").arg(request.report));
    if (request.outputFile.isEmpty())
        throw Error(QStringLiteral("Lipseste fisierul de iesire (--out)."));
    if (!request.templateFile.isEmpty() && !QFileInfo(request.templateFile).isFile())
        throw Error(QStringLiteral("Modelul %1 nu exista.").arg(QDir::toNativeSeparators(request.templateFile)));

    const QString data = QDir(request.dataDirectory).absolutePath();
    const QString program = request.programDirectory.isEmpty() ? QFileInfo(data).absolutePath()
                                                               : QDir(request.programDirectory).absolutePath();
    engine::Engine engine(data);
    engine.addTableRoot(program);
    TemplateExport report({&engine, data, program, &ui});
    if (!request.templateFile.isEmpty())
        report.setTemplateFile(QFileInfo(request.templateFile).absoluteFilePath());
    report.setOutputFile(QFileInfo(request.outputFile).absoluteFilePath());

    const TemplateReportResult result = apia
        ? report.raport1Apia(request.year)
        : report.raportStrainasi(request.year, Settings(data).Citeste_Ini(QStringLiteral("CONSTANTE"), QStringLiteral("JUDET")));
    if (!result.output)
        throw Error(QStringLiteral("Registrul nu a fost scris (modelul nu a putut fi deschis)."));
    return result.rows;
}

}
