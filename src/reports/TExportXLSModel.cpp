#include "reports/TExportXLSModel.h"

#include "core/Interaction.h"
#include "data/engine/DataSet.h"
#include "domain/TextCase.h"
#include "reports/OutputSlots.h"
#include "workbook/WorkbookError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <variant>
#include <vector>

namespace velmor::reports {

namespace {

QString key(const QString& text) { return upperAZ(text.trimmed()).trimmed(); }

// What one column of the template row receives.
struct ColumnFill {
    int column = 0;
    int field = -1; // -1: the running number
};

// Days since 30.12.1899, the date serial of the spreadsheet.
double dateSerial(const QDate& date)
{
    return date.isValid() ? double(QDate(1899, 12, 30).daysTo(date)) : 0.0;
}

}

TExportXLSModel::TExportXLSModel(Interaction& ui, QString outputDirectory)
    : m_ui(ui)
    , m_outputDirectory(std::move(outputDirectory))
{
}

bool TExportXLSModel::openTemplate(const QString& path)
{
    m_workbook.reset();
    if (!QFileInfo(path).isFile())
        return false;
    m_workbook.emplace(path);
    m_workbook->selectSheet(1);
    return true;
}

void TExportXLSModel::replaceHeader(const QString& name, const QString& value)
{
    if (!m_workbook)
        return;
    const QString wanted = upperAZ(name);
    const int rows = m_workbook->lastRow();
    const int columns = m_workbook->lastColumn();
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            if (m_workbook->cell(r, c).kind == workbook::CellValue::Kind::Text && key(m_workbook->text(r, c)) == wanted)
                m_workbook->setText(r, c, value);
        }
    }
}

int TExportXLSModel::fill(engine::DataSet& data)
{
    if (!data.active())
        return 0;
    if (!m_workbook)
        throw workbook::WorkbookError(QStringLiteral("Nu este deschis niciun registru Excel."));
    workbook::Workbook& book = *m_workbook;

    // 1. The template row: the last row holding "#DBF"; that cell of every such row is emptied.
    const int rows = book.lastRow();
    const int columns = book.lastColumn();
    int templateRow = 0;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            if (book.cell(r, c).kind == workbook::CellValue::Kind::Text && key(book.text(r, c)) == QLatin1String("#DBF")) {
                book.clearCell(r, c);
                templateRow = r;
                break;
            }
        }
    }
    if (templateRow == 0)
        return 0;

    // What each placeholder of the template row receives (every copy has the same placeholders).
    const QStringList names = data.fieldNames();
    std::vector<ColumnFill> fills;
    for (int c = 1; c <= columns; ++c) {
        if (book.cell(templateRow, c).kind != workbook::CellValue::Kind::Text)
            continue;
        const QString text = key(book.text(templateRow, c));
        if (text == QLatin1String("%NRCRT")) {
            fills.push_back({c, -1});
            continue;
        }
        for (int f = 0; f < names.size(); ++f) {
            if (QLatin1Char('#') + upperAZ(names[f]) == text) {
                fills.push_back({c, f});
                break;
            }
        }
    }

    // 2-3. One copy of the template row per record, from the current record to the end.
    const int remembered = data.recNo();
    int written = 0;
    int row = templateRow;
    for (; !data.eof(); data.next()) {
        book.insertRowCopies(row, row, row, 1);
        ++written;
        for (const ColumnFill& f : fills) {
            if (f.field < 0) {
                book.setNumber(row, f.column, written);
                continue;
            }
            engine::FieldRef field = data.field(f.field);
            switch (field.type()) {
            case engine::FieldType::Text:
            case engine::FieldType::Memo:
                book.setText(row, f.column, field.asString());
                break;
            case engine::FieldType::Date:
                book.setNumber(row, f.column, dateSerial(field.asDate()));
                break;
            case engine::FieldType::Boolean:
                book.setNumber(row, f.column, std::holds_alternative<bool>(field.value()) && std::get<bool>(field.value()) ? 1 : 0);
                break;
            default: {
                // Computed columns carry no declared type: a value's own kind decides.
                const dbf::Value value = field.value();
                if (const QString* text = std::get_if<QString>(&value))
                    book.setText(row, f.column, *text);
                else
                    book.setNumber(row, f.column, field.isNull() ? 0.0 : field.asFloat());
                break;
            }
            }
        }
        ++row;
        m_ui.processEvents();
    }

    // 4. The template row, now below the last filled row, goes.
    book.deleteRows(row, 1);

    // 5. Back to the remembered record.
    data.first();
    for (int k = 1; k < remembered && !data.eof(); ++k)
        data.next();
    return written;
}

std::optional<QString> TExportXLSModel::saveAndShow()
{
    if (!m_workbook)
        return std::nullopt;
    std::optional<workbook::Workbook> book = std::move(m_workbook);
    m_workbook.reset();

    if (!m_fixedOutput.isEmpty()) {
        book->saveAs(m_fixedOutput);
        m_outputName = m_fixedOutput;
        return m_outputName;
    }

    // Written in full under a temporary name first; an older output is replaced only then.
    QDir().mkpath(m_outputDirectory);
    QTemporaryFile staged(QDir(m_outputDirectory).filePath(QStringLiteral(".Rap.XXXXXX.xls")));
    if (!staged.open())
        throw workbook::WorkbookError(QStringLiteral("Nu pot scrie in %1: %2")
                                          .arg(QDir::toNativeSeparators(m_outputDirectory), staged.errorString()));
    staged.close();
    // Only the name is kept: the workbook is written as a new file (the usual permissions).
    QFile::remove(staged.fileName());
    book->saveAs(staged.fileName());

    const OutputSlots outputs(m_outputDirectory, QStringLiteral("Rap"), QStringLiteral(".xls"));
    const std::optional<QString> placed = outputs.place(staged.fileName());
    if (!placed) {
        m_outputName.clear();
        m_ui.Mesaj(QStringLiteral("Eroare"),
                   QStringLiteral("Raportul nu a fost salvat: fisierele Rap0.xls ... Rap100.xls din %1 sunt toate in folosinta.\r"
                                  "Inchideti-le in programul de calcul tabelar si repetati comanda.")
                       .arg(QDir::toNativeSeparators(m_outputDirectory)),
                   KindError, ButtonsOk);
        return std::nullopt;
    }
    staged.setAutoRemove(false);
    m_outputName = *placed;
    m_ui.openFile(m_outputName);
    return m_outputName;
}

}
