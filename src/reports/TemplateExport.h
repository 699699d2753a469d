#pragma once

#include <QString>

#include <optional>

namespace velmor {
class Interaction;
struct AppContext;
namespace engine {
class Engine;
}
}

namespace velmor::reports {

// Where a template report runs and what it reads.
struct TemplateExportSetup {
    engine::Engine* engine = nullptr;
    QString dataDirectory;
    QString programDirectory;  // work table RapAP.dbf and the outputs Rap<n>.xls
    Interaction* interaction = nullptr;
};

// What a report did.
struct TemplateReportResult {
    bool templateOpened = false;
    int rows = 0;
    std::optional<QString> output; // the file written; nullopt when nothing was saved
};

// The main window's "Raport 1 APIA" and "Raport Strainasi": each makes the data-directory copy of
// its built-in template when missing, fills a copy from the register and opens it.
class TemplateExport {
public:
    explicit TemplateExport(TemplateExportSetup setup);
    // From the run's context (engine, directories, interaction).
    static TemplateExportSetup setupFrom(const AppContext& context);

    // With `templateFile` that file is used as the template copy instead of Rap.xls / Macheta.xls
    // of the data directory; with `outputFile` the result goes there and is not opened.
    void setTemplateFile(const QString& path) { m_templateFile = path; }
    void setOutputFile(const QString& path) { m_outputFile = path; }

    // Heads of household with bovine, ovine, caprine or cabaline at the start of the year.
    TemplateReportResult raport1Apia(const QString& workingYear);
    // Heads of households of register type 2 (domiciled elsewhere), with the county constant.
    TemplateReportResult raportStrainasi(const QString& workingYear, const QString& county);

private:
    QString workTable() const;
    void removeWorkTable() const;

    TemplateExportSetup m_setup;
    QString m_templateFile;
    QString m_outputFile;
};

}
