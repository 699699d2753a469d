#include "output/ExportError.h"
#include "output/ExportWriters.h"
#include "output/RowProgress.h"

#include <QDir>
#include <QHash>

#include <xlsxwriter.h>

#include <cmath>
#include <memory>

namespace velmor::output::writers {

namespace {

constexpr int MaxSheetRows = 1048576;
constexpr int MaxSheetColumns = 16384;
constexpr int MaxCellText = 32767;
constexpr double MaxExactInteger = 9007199254740992.0; // 2^53
constexpr double MaxColumnWidth = 80;

// The workbook until it is closed (which writes the file) or dropped.
struct WorkbookDeleter {
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using WorkbookPtr = std::unique_ptr<lxw_workbook, WorkbookDeleter>;

class SheetWriter {
public:
    SheetWriter(lxw_workbook* workbook, lxw_worksheet* sheet)
        : m_workbook(workbook)
        , m_sheet(sheet)
    {
        m_title = workbook_add_format(workbook);
        format_set_bold(m_title);
        format_set_font_size(m_title, 12);
        m_heading = workbook_add_format(workbook);
        format_set_bold(m_heading);
        format_set_bottom(m_heading, LXW_BORDER_THIN);
        format_set_text_wrap(m_heading);
        m_integer = workbook_add_format(workbook);
        format_set_num_format(m_integer, "0");
        m_date = workbook_add_format(workbook);
        format_set_num_format(m_date, "dd.mm.yyyy");
        m_wrapped = workbook_add_format(workbook);
        format_set_text_wrap(m_wrapped);
        format_set_align(m_wrapped, LXW_ALIGN_VERTICAL_TOP);
    }

    void text(int row, int column, const QString& text, lxw_format* format = nullptr)
    {
        if (text.size() > MaxCellText)
            throw ExportError(QStringLiteral("Un text de %1 caractere nu incape intr-o celula Excel (cel mult %2).")
                                  .arg(text.size())
                                  .arg(MaxCellText));
        if (!format && text.contains(QLatin1Char('\n')))
            format = m_wrapped;
        check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(), format));
    }

    void heading(int row, int column, const QString& heading) { text(row, column, heading, m_heading); }
    void title(int row, const QString& title) { text(row, 0, title, m_title); }

    void value(int row, int column, const dbf::Value& value, const ExportColumn& description)
    {
        if (const auto* i = std::get_if<std::int64_t>(&value)) {
            if (std::fabs(double(*i)) > MaxExactInteger) // Excel would round it
                text(row, column, QString::number(*i));
            else
                number(row, column, double(*i), description.kind == ExportColumn::Kind::Real ? realFormat(description.decimals) : m_integer);
        } else if (const auto* d = std::get_if<double>(&value)) {
            if (!std::isfinite(*d))
                text(row, column, QString::number(*d));
            else
                number(row, column, *d, realFormat(description.kind == ExportColumn::Kind::Real ? description.decimals : 0));
        } else if (const auto* date = std::get_if<QDate>(&value)) {
            if (date->isValid() && date->year() >= 1900 && date->year() <= 9999) {
                lxw_datetime when{date->year(), date->month(), date->day(), 0, 0, 0.0};
                check(worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(column), &when, m_date));
            } else if (date->isValid()) {
                // before 1900 Excel has no dates: the text keeps the day
                text(row, column, date->toString(QStringLiteral("dd.MM.yyyy")));
            }
        } else if (!dbf::isNull(value)) {
            const QString shown = cellText(value, description);
            if (!shown.isEmpty())
                text(row, column, shown);
        }
    }

    void width(int column, int characters)
    {
        check(worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column),
                                   std::min(MaxColumnWidth, double(std::max(characters, 4)) + 1), nullptr));
    }

    static void check(lxw_error error)
    {
        if (error != LXW_NO_ERROR)
            throw ExportError(QStringLiteral("Eroare la scrierea fisierului Excel: %1").arg(QString::fromUtf8(lxw_strerror(error))));
    }

private:
    void number(int row, int column, double value, lxw_format* format)
    {
        check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value, format));
    }

    lxw_format* realFormat(int decimals)
    {
        if (lxw_format* known = m_reals.value(decimals))
            return known;
        lxw_format* format = workbook_add_format(m_workbook);
        const QByteArray pattern = decimals > 0 ? "0." + QByteArray(decimals, '0') : QByteArray("0");
        format_set_num_format(format, pattern.constData());
        m_reals.insert(decimals, format);
        return format;
    }

    lxw_workbook* m_workbook;
    lxw_worksheet* m_sheet;
    lxw_format* m_title = nullptr;
    lxw_format* m_heading = nullptr;
    lxw_format* m_integer = nullptr;
    lxw_format* m_date = nullptr;
    lxw_format* m_wrapped = nullptr;
    QHash<int, lxw_format*> m_reals;
};

}

void xlsx(const ExportTable& table, const QString& path, RowProgress* progress)
{
    if (table.rows.size() + 4 > size_t(MaxSheetRows))
        throw ExportError(QStringLiteral("Tabelul are prea multe randuri pentru o foaie Excel (%1).").arg(table.rows.size()));
    if (table.columns.size() > MaxSheetColumns)
        throw ExportError(QStringLiteral("Tabelul are prea multe coloane pentru o foaie Excel (%1).").arg(table.columns.size()));

    const QByteArray fileName = QDir::toNativeSeparators(path).toLocal8Bit();
    WorkbookPtr workbook(workbook_new(fileName.constData()));
    if (!workbook)
        throw ExportError(QStringLiteral("Fisierul Excel %1 nu poate fi creat.").arg(QDir::toNativeSeparators(path)));
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), "Export");
    if (!sheet)
        throw ExportError(QStringLiteral("Foaia Excel nu poate fi creata."));

    const QByteArray title = table.title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.constData());
    SheetWriter::check(workbook_set_properties(workbook.get(), &properties));

    SheetWriter writer(workbook.get(), sheet);
    int row = 0;
    if (!table.title.isEmpty())
        writer.title(row++, table.title);
    const int headingRow = row;
    for (int c = 0; c < table.columns.size(); ++c) {
        writer.heading(row, c, table.columns[c].heading);
        writer.width(c, table.columns[c].width);
    }
    ++row;
    for (const auto& values : table.rows) {
        for (int c = 0; c < table.columns.size(); ++c)
            writer.value(row, c, values[size_t(c)], table.columns[c]);
        ++row;
        if (progress)
            progress->rowDone();
    }
    if (!table.footer.isEmpty())
        writer.text(row++, 0, table.footer);
    writer.text(row, 0, table.exportDateLine());

    worksheet_set_margins(sheet, 0.3, 0.3, 0.3, 0.3);
    SheetWriter::check(worksheet_set_footer(sheet, "&CPagina &P"));
    SheetWriter::check(worksheet_repeat_rows(sheet, lxw_row_t(headingRow), lxw_row_t(headingRow)));
    worksheet_freeze_panes(sheet, lxw_row_t(headingRow + 1), 0);

    const lxw_error closed = workbook_close(workbook.release()); // frees the workbook as well
    SheetWriter::check(closed);
}

}
