#include "output/DataExport.h"

#include "output/ExportError.h"
#include "output/ExportWriters.h"
#include "output/RowProgress.h"
#include "core/StagedFile.h"
#include "output/TableSources.h"

#include "core/Interaction.h"
#include "data/engine/Engine.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace velmor::output {

namespace {

void checkShape(const ExportTable& table)
{
    for (size_t r = 0; r < table.rows.size(); ++r)
        if (table.rows[r].size() != size_t(table.columns.size()))
            throw ExportError(QStringLiteral("Randul %1 al exportului are %2 valori in loc de %3.")
                                  .arg(r + 1)
                                  .arg(table.rows[r].size())
                                  .arg(table.columns.size()));
}

bool isSelect(const QString& statement)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    return select.match(statement).hasMatch();
}

}

QByteArray DataExport::render(const ExportTable& table, ExportFormat format, Interaction* progress)
{
    checkShape(table);
    RowProgress rows(progress, int(table.rows.size()));
    QByteArray content;
    switch (format) {
    case ExportFormat::Csv:
        content = writers::delimited(table, QLatin1Char(','), &rows);
        break;
    case ExportFormat::Tsv:
        content = writers::delimited(table, QLatin1Char('\t'), &rows);
        break;
    case ExportFormat::Html:
        content = writers::html(table, &rows);
        break;
    case ExportFormat::Rtf:
    case ExportFormat::Word:
        content = writers::rtf(table, &rows);
        break;
    case ExportFormat::Text:
        content = writers::alignedText(table, &rows);
        break;
    case ExportFormat::Xlsx:
        throw ExportError(QStringLiteral("Formatul Excel se scrie numai intr-un fisier."));
    }
    rows.finish();
    return content;
}

void DataExport::write(const ExportTable& table, ExportFormat format, const QString& path, Interaction* progress)
{
    checkShape(table);
    if (path.trimmed().isEmpty())
        throw ExportError(QStringLiteral("Nu s-a ales fisierul exportului."));
    try {
        StagedFile file(path);
        if (format == ExportFormat::Xlsx) {
            RowProgress rows(progress, int(table.rows.size()));
            writers::xlsx(table, file.path(), &rows);
            rows.finish();
        } else {
            file.write(render(table, format, progress));
        }
        file.commit();
    } catch (const WriteError& e) {
        throw ExportError(e.message());
    }
}

ExportFormat chosenFormat(const ExportOptions& options, const QString& outPath)
{
    if (options.format)
        return *options.format;
    return formatFromPath(outPath).value_or(ExportFormat::Xlsx);
}

void exportStatement(engine::Engine& engine, const QString& statement, const ExportOptions& options,
                     const QString& outPath)
{
    if (!isSelect(statement))
        throw ExportError(QStringLiteral("Se pot exporta numai rezultatele unei comenzi SELECT."));
    ExportTable table = tableFromResult(engine.select(statement, options.parameters));
    if (options.rowNumbers)
        table = withRowNumbers(table);
    table.title = options.title;
    table.footer = options.footer;
    if (options.exportDate.isValid())
        table.exportDate = options.exportDate;
    DataExport::write(table, chosenFormat(options, outPath), outPath, options.progress);
}

QString exportAsChosen(const ExportTable& table, const ExportChoice& choice, Interaction& ui, const QString& directory)
{
    QString path;
    if (choice.destination == ExportChoice::Destination::File) {
        path = ui.chooseSaveFile(QStringLiteral("Salveaza exportul"), directory, formatFileFilter(choice.format));
        if (path.isEmpty())
            return {};
        path = pathWithExtension(path, choice.format);
        if (QFileInfo::exists(path)
            && ui.Mesaj(QStringLiteral("Export"), QStringLiteral("Fisierul %1 exista deja. Il inlocuiti?").arg(QDir::toNativeSeparators(path)),
                        KindConfirmation, ButtonsDaNu)
                != ResultDa)
            return {};
        DataExport::write(table, choice.format, path, &ui);
        return path;
    }
    // a free name in the temporary folder, kept for the program that shows it
    QTemporaryFile reserved(QDir::tempPath() + QStringLiteral("/Export-XXXXXX.") + formatExtension(choice.format));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        throw ExportError(QStringLiteral("Nu se poate crea un fisier temporar: %1").arg(reserved.errorString()));
    path = reserved.fileName();
    reserved.close();
    try {
        DataExport::write(table, choice.format, path, &ui);
    } catch (...) {
        QFile::remove(path);
        throw;
    }
    if (!ui.openFile(path))
        throw ExportError(QStringLiteral("Fisierul %1 nu poate fi deschis.").arg(QDir::toNativeSeparators(path)));
    return path;
}

}
