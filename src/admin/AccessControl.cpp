#include "admin/AccessControl.h"

#include "core/ErrorReport.h"
#include "core/Paths.h"

#include "data/dbf/CodePage1250.h"
#include "services/AppContext.h"
#include "core/Interaction.h"
#include "services/RegistryStore.h"
#include "services/ServiceError.h"

namespace velmor {

namespace {

// The scrambling's own generator: R := R * 134775813 + 1 (mod 2^32), draw = floor(R * n / 2^32).
class Generator {
public:
    explicit Generator(quint32 seed)
        : m_state(seed)
    {
    }
    quint32 next(quint32 n)
    {
        m_state = m_state * 134775813u + 1u;
        return quint32((quint64(m_state) * n) >> 32);
    }

private:
    quint32 m_state;
};

QByteArray toCp1250(const QString& text)
{
    QByteArray bytes;
    if (dbf::cp1250::tryEncode(text, bytes))
        return bytes;
    // Characters the code page lacks become "?", as an 8-bit Windows text would hold them.
    QString replaced;
    replaced.reserve(text.size());
    for (QChar c : text)
        replaced += dbf::cp1250::canEncode(QStringView(&c, 1)) ? c : QLatin1Char('?');
    return dbf::cp1250::encode(replaced);
}

}

QByteArray CodeazaBytes(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (char c : bytes)
        sum += quint8(c);
    Generator random(sum);
    QByteArray s = bytes;

    const quint32 k = random.next(30) + 6;
    for (quint32 step = 0; step < k; ++step) {
        const quint32 pos = random.next(quint32(s.size())) + 1; // position drawn before the character
        const quint32 c = random.next(150) + 32;
        s.insert(qsizetype(pos - 1), char(c));
    }

    const quint32 m = random.next(50) + 50;
    s.prepend(' ');
    for (quint32 step = 0; step < m; ++step) {
        const quint32 i = random.next(quint32(s.size() - 2)) + 2;
        const quint32 j = random.next(quint32(s.size() - 2)) + 2;
        // 1-based positions i and j exchange their characters through position 1.
        s[0] = s[qsizetype(i - 1)];
        s[qsizetype(i - 1)] = s[qsizetype(j - 1)];
        s[qsizetype(j - 1)] = s[0];
    }
    return s;
}

QString CodeazaStr(const QString& text)
{
    return dbf::cp1250::decode(CodeazaBytes(toCp1250(text)));
}

AccessControl::AccessControl(AppContext& ctx, InputQuery inputQuery2)
    : m_ctx(ctx)
    , m_inputQuery2(std::move(inputQuery2))
{
}

QString AccessControl::storedPassword() const
{
    return m_ctx.registry ? m_ctx.registry->Citeste_Reg(QString::fromLatin1(PasswordValue)) : QString();
}

void AccessControl::Deblocheaza()
{
    // Read-only: only the administrator's take-over of the lock lets the register be changed.
    if (m_ctx.readOnly && m_ctx.takeOverLock && !m_ctx.takeOverLock())
        return;
    m_ctx.setUnlocked(true);
}

AccessControl::Outcome AccessControl::Administrare(const std::function<void()>& openAdministration)
{
    const QString stored = storedPassword();
    if (m_ctx.unlocked()) {
        if (openAdministration)
            openAdministration();
        return Outcome::Opened;
    }
    Interaction& ui = *m_ctx.interaction;
    if (!stored.isEmpty()) {
        QString entered;
        if (!m_inputQuery2 || !m_inputQuery2(QStringLiteral("IDENTIFICARE ADMIN"), QStringLiteral("PAROLA :"), entered))
            return Outcome::Cancelled;
        const QString scrambled = CodeazaStr(entered);
        // The stored value is read again, as the main window's button does.
        if (scrambled != storedPassword()) {
            ui.Mesaj(QStringLiteral("Verificare parola"), QStringLiteral("PAROLA INCORECTA !"), KindError, ButtonsOk);
            return Outcome::WrongPassword;
        }
        Deblocheaza();
        return m_ctx.unlocked() ? Outcome::Unlocked : Outcome::Cancelled;
    }
    ui.Mesaj(QStringLiteral("Deblocare program"), QStringLiteral("ATENTIE!") + CR + QStringLiteral("Nu aveti nici o parola!"),
             KindWarning, ButtonsOk);
    Deblocheaza();
    return m_ctx.unlocked() ? Outcome::Unlocked : Outcome::Cancelled;
}

AccessControl::ChangeOutcome AccessControl::SchimbaParola(const QString& newPassword, const QString& again)
{
    Interaction& ui = *m_ctx.interaction;
    const QString title = QStringLiteral("Schimbare parola");
    if (newPassword != again) {
        ui.Mesaj(title, QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"), KindError, ButtonsOk);
        return ChangeOutcome::Mismatch;
    }
    try {
        if (!newPassword.isEmpty()) {
            m_ctx.registry->Scrie_Reg(QString::fromLatin1(PasswordValue), CodeazaStr(newPassword));
            ui.Mesaj(title, QStringLiteral("Parola a fost schimbata cu succes!"), KindInformation, ButtonsOk);
            return ChangeOutcome::Changed;
        }
        const int answer = ui.Mesaj(QStringLiteral("Dezactivare parola"),
                                    QStringLiteral("ATENTIE !") + CR
                                        + QStringLiteral("Doriti sa dezactivati parola de administrator?"),
                                    KindWarning, ButtonsDaNu);
        if (answer != ResultDa)
            return ChangeOutcome::Kept;
        m_ctx.registry->Scrie_Reg(QString::fromLatin1(PasswordValue), QString());
        return ChangeOutcome::Cleared;
    } catch (const ServiceError& e) {
        showError(ui, e, title);
        return ChangeOutcome::Failed;
    }
}

}
