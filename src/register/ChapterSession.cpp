#include "register/ChapterSession.h"

#include "register/ChapterRules.h"

#include "core/ErrorReport.h"
#include "core/Interaction.h"
#include "data/dbf/ValueConversions.h"
#include "services/AppContext.h"

#include <QDate>

#include <cmath>

namespace velmor {

namespace {

const QString CheckTitle = QStringLiteral("Verificare date");

}

QString keptDuplicatesMessage(const QList<KeptDuplicates>& kept)
{
    QStringList lines;
    for (const KeptDuplicates& k : kept) {
        lines << QStringLiteral("CAP.%1: linia cod %2 apare de %3 ori cu date diferite de zero.")
                     .arg(k.chapter)
                     .arg(dbf::decimalText(k.code, 1))
                     .arg(k.rows);
    }
    if (lines.isEmpty())
        return QString();
    return lines.join(QLatin1Char('\r')) + QLatin1Char('\r') + QStringLiteral("Verificati si stergeti valorile in plus !");
}

ChapterSession::ChapterSession(AppContext& ctx, int chapter, QObject* parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_chapter(chapter)
    , m_rows(chapter, {})
    , m_currentYear(QDate::currentDate().year())
{
    ChapterLayout::of(chapter); // refuses a chapter outside 2..11
}

void ChapterSession::open(qint64 codid)
{
    if (m_open)
        StopCap();
    m_codid = codid;
    m_open = true;
    m_pendingIndex = -1;
    m_completion = CompletionReport {};
    m_year = m_ctx.workingYear().toLongLong();
    const ChapterStore store(*m_ctx.engine, m_ctx.tablePath(layout().tableFile), m_chapter, m_year);
    QString message;
    try {
        ChapterCompletion completion(*m_ctx.engine, m_ctx.dataDirectory, m_ctx.programDirectory, *m_ctx.interaction);
        m_completion = completion.complete(m_chapter, codid, m_year);
        m_rows = m_completion.rows;
        ChapterRows computed = m_rows;
        message = applyLoadRules(*m_ctx.engine, m_ctx.dataDirectory, m_chapter, codid, m_year, computed);
        const QString overflow = overflowMessage(m_rows, computed);
        if (overflow.isEmpty()) {
            writeChanges(store, codid, m_rows, computed);
            m_rows = computed;
        } else {
            message = message.isEmpty() ? overflow : message + QLatin1Char('\r') + overflow;
        }
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
        try {
            m_rows = store.load(codid);
        } catch (const std::exception&) {
            m_rows = ChapterRows(m_chapter, {});
        }
    }
    emit rowsChanged();
    if (!message.isEmpty())
        m_ctx.interaction->Mesaj(CheckTitle, message, KindError, ButtonsOk);
    const QString duplicates = keptDuplicatesMessage(m_completion.kept);
    if (!duplicates.isEmpty())
        m_ctx.interaction->Mesaj(CheckTitle, duplicates, KindWarning, ButtonsOk);
}

void ChapterSession::StopCap()
{
    if (!m_open)
        return;
    if (hasPending())
        post();
    m_pendingIndex = -1;
    m_open = false;
    m_rows = ChapterRows(m_chapter, {});
    emit rowsChanged();
}

const ChapterRow& ChapterSession::row(int index) const
{
    if (index == m_pendingIndex)
        return m_pending;
    return m_rows.rows()[index];
}

bool ChapterSession::isComputedRow(int index) const
{
    return index >= 0 && index < m_rows.size() && layout().isComputedCode(m_rows.rows()[index].codeTenths());
}

bool ChapterSession::canEdit(int index, const QString& field, bool tellUser)
{
    if (!m_open || !m_unlocked || index < 0 || index >= m_rows.size())
        return false;
    const ChapterColumn* column = layout().column(field);
    if (!column || !column->editable)
        return false;
    if (isComputedRow(index)) {
        if (tellUser && m_chapter == 7 && m_rows.rows()[index].codeTenths() == 10)
            m_ctx.interaction->ArataProblema(QStringLiteral("Linia Cod 1 se completeaza automat !"), gridName());
        return false;
    }
    return true;
}

QString ChapterSession::refusal(const ChapterColumn& column, const dbf::Value& value)
{
    if (dbf::isNull(value))
        return QString();
    if (!column.isNumeric()) {
        const QString text = std::holds_alternative<QString>(value) ? std::get<QString>(value) : QString();
        return text.size() > column.typedDigits ? QStringLiteral("Textul are mai mult de %1 caractere.").arg(column.typedDigits)
                                                : QString();
    }
    double number = 0;
    if (const auto* i = std::get_if<std::int64_t>(&value))
        number = double(*i);
    else if (const auto* d = std::get_if<double>(&value))
        number = *d;
    else if (const auto* s = std::get_if<QString>(&value)) {
        bool ok = false;
        number = s->trimmed().isEmpty() ? 0 : s->trimmed().toDouble(&ok);
        if (!s->trimmed().isEmpty() && !ok)
            return QStringLiteral("Valoarea nu este un numar.");
    } else {
        return QStringLiteral("Valoarea nu este un numar.");
    }
    if (!std::isfinite(number) || number < 0)
        return QStringLiteral("Valoarea nu poate fi negativa.");
    if (number > column.typedMax + 1e-9)
        return QStringLiteral("Valoarea maxima este %1.").arg(dbf::decimalText(column.typedMax, column.typedDecimals));
    const double scaled = number * std::pow(10.0, column.typedDecimals);
    if (std::abs(scaled - std::round(scaled)) > 1e-6)
        return column.typedDecimals == 0 ? QStringLiteral("Valoarea nu poate avea zecimale.")
                                         : QStringLiteral("Valoarea poate avea cel mult %1 zecimale.").arg(column.typedDecimals);
    return QString();
}

bool ChapterSession::setValue(int index, const QString& field, const dbf::Value& value)
{
    if (!canEdit(index, field))
        return false;
    const ChapterColumn* column = layout().column(field);
    const QString refused = refusal(*column, value);
    if (!refused.isEmpty()) {
        m_ctx.interaction->ArataProblema(refused, gridName());
        return false;
    }
    if (hasPending() && m_pendingIndex != index) {
        if (!post())
            return false;
    }
    if (!hasPending()) {
        m_pending = m_rows.rows()[index];
        m_pendingIndex = index;
    }
    if (column->isNumeric()) {
        const double number = dbf::toReal(value);
        // Every value of a row is required: a cleared cell holds zero.
        m_pending.setNumber(column->field, number);
    } else {
        m_pending.values[column->field] = dbf::isNull(value) ? dbf::Value(QString()) : value;
    }
    return true;
}

void ChapterSession::cancel()
{
    m_pendingIndex = -1;
    emit rowsChanged();
}

QStringList ChapterSession::afterSave(ChapterRows& rows, int saved, QString& message)
{
    switch (m_chapter) {
    case 2:
        return chapter_rules::afterSaveCap2(rows, saved);
    case 3:
        message = chapter_rules::VerificaCAP3(rows);
        break;
    case 4:
        chapter_rules::CalculeazaCAP4Intern(rows);
        break;
    case 5:
        chapter_rules::CalculeazaCAP5Intern(rows);
        break;
    case 6:
        chapter_rules::afterSaveCap6(rows, saved);
        break;
    case 7:
        chapter_rules::CalculeazaCAP7Intern(rows);
        break;
    case 10:
        return chapter_rules::checkCap10(rows.rows()[saved], m_currentYear);
    default:
        break;
    }
    return {};
}

bool ChapterSession::post()
{
    if (!hasPending())
        return true;
    const int saved = m_pendingIndex;
    ChapterRows after = m_rows;
    after.rows()[saved] = m_pending;
    m_pendingIndex = -1;
    QString message;
    const QStringList warnings = afterSave(after, saved, message);
    const QString overflow = overflowMessage(m_rows, after);
    if (!overflow.isEmpty()) {
        m_ctx.interaction->Mesaj(CheckTitle, overflow, KindError, ButtonsOk);
        emit rowsChanged();
        return false;
    }
    const ChapterStore store(*m_ctx.engine, m_ctx.tablePath(layout().tableFile), m_chapter, m_year);
    try {
        writeChanges(store, m_codid, m_rows, after);
        m_rows = after;
    } catch (const std::exception& error) {
        m_ctx.interaction->Mesaj(CheckTitle,
                                 QStringLiteral("Linia cod %1 nu a putut fi salvata:").arg(dbf::decimalText(m_pending.code, 1))
                                     + QLatin1Char('\r') + errorMessage(error),
                                 KindError, ButtonsOk);
        reload();
        emit rowsChanged();
        return false;
    }
    emit rowsChanged();
    showWarnings(warnings);
    // The zeros a chapter 3 check wrote are reported now as well as at the next opening.
    if (!message.isEmpty())
        m_ctx.interaction->Mesaj(CheckTitle, message, KindError, ButtonsOk);
    return true;
}

void ChapterSession::showWarnings(const QStringList& warnings)
{
    for (const QString& warning : warnings)
        m_ctx.interaction->ArataProblema(warning, gridName());
}

void ChapterSession::reload()
{
    try {
        m_rows = ChapterStore(*m_ctx.engine, m_ctx.tablePath(layout().tableFile), m_chapter, m_year).load(m_codid);
    } catch (const std::exception& error) {
        showError(*m_ctx.interaction, error);
    }
}

}
