#pragma once

#include "core/Error.h"
#include "tariffs/LocalTariffs.h"
#include "services/CouncilProfile.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <array>

namespace velmor {

class Settings;
namespace engine {
class Engine;
}

namespace search {

// One member of the household a certificate is for.
struct CertificateMember {
    QString name;
    QString cnp;
    int sex = 0; // CODSEX: 1 male, 2 female
    // By the sex code, else by the personal code, else by the name's last letter.
    bool female() const;
};

// The household as the certificate tells it.
struct CertificateHousehold {
    qint64 codid = 0;
    QString village, street, number, company;
    qint64 position = 0, volume = 0, type = 0;
    int year = 0; // the register year the household belongs to
    QList<CertificateMember> members; // in kinship-code order: the head first
};

// What the certificate window holds.
struct CertificateRequest {
    static constexpr int ChapterCount = 14;
    qint64 household = 0;
    int year = 0; // the working year; 0: the latest year that has the household
    std::array<bool, ChapterCount> chapters {}; // the check boxes, position 1 first
    QString destination;
    int model = 1;   // 1..5
    int person = 0;  // index into the household's members
    QString second;  // a typed second person, optional
    QString relation;
    QString clerk;
    double duty = 0;
    QString receipt;
    QString numberText; // the number field as shown
    QStringList mentions;
    QDate date;

    qint64 number() const { return numberText.trimmed().toLongLong(); }
};

// A value the window must not accept; `field` names the control it belongs to.
// The value of a request a refusal is about.
enum class CertificateField {
    Person,       // whom the certificate is for
    Destination,  // what it is for
    SecondPerson, // the second person named
    Receipt,      // the receipt number of the duty paid
    Chapters,     // the chapters it shows
    Clerk,        // who drew it up
};

class CertificateRefusal : public Error {
public:
    CertificateRefusal(const QString& message, CertificateField field)
        : Error(message)
        , m_field(field)
    {
    }
    CertificateField field() const { return m_field; }

private:
    CertificateField m_field;
};

// The certificates of a household: the general one filled into the models Adv.rtf .. Adv5.rtf
// with the chapter summaries, and the heating-aid one filled into AdevCald.rtf. Also the number
// counter, the destination profiles and their list.
class Certificates {
public:
    Certificates(engine::Engine& engine, QString dataDirectory, QString programDirectory, Settings& settings,
                 CouncilConstants council, LocalTariffs::Values tariffs);

    // The household of the year (0: the latest year that has it); every later read of its rows
    // is limited to that year. Throws Error "NU exista nici o persoana inscrisa la aceasta
    // gospodarie !" without members.
    CertificateHousehold household(qint64 codid, int year = 0) const;

    // ---- destinations ----
    // The settings section and file name of a destination: characters a file name cannot hold
    // become "_"; a name of the program's own sections or holding brackets is refused.
    static QString profileName(const QString& destination);
    QStringList destinations() const;
    struct Profile {
        QString state; // 14 characters "0"/"1"
        QString model; // "MODEL 2"
        QString duty;
        QStringList mentions;
    };
    Profile profile(const QString& destination) const;
    // The list, the profile (TIMBRU, STARE, MODEL) and the mentions file (empty when none).
    void saveProfile(const CertificateRequest& request);
    static QString stateString(const std::array<bool, CertificateRequest::ChapterCount>& chapters);
    static std::array<bool, CertificateRequest::ChapterCount> chaptersOf(QString state);

    // ---- the general certificate ----
    // The checks of the window in their order (the number question excepted).
    static void check(const CertificateRequest& request, const CertificateHousehold& household);
    QString modelPath(int model) const;
    // Every placeholder with its value, in the order given to the filler.
    QList<QPair<QString, QString>> generalPairs(const CertificateRequest& request, const CertificateHousehold& household);
    // Checks the model and that the profile and mentions can be stored, writes the certificate to
    // programDirectory/Adeverinta<n>.rtf (or `output`, replaced only by a complete document), then
    // stores the profile and, for a number of 1 or more, the counter last. Throws Error, with
    // nothing written, for a model that cannot be used; `warnings` receives the placeholders the
    // model lacks.
    QString writeGeneral(const CertificateRequest& request, const QString& output = QString(), QStringList* warnings = nullptr);

    // The general certificate's placeholders, [CONTINUT] last.
    static const QStringList& generalPlaceholders();
    // Throws Error "Modelul <file> nu poate fi folosit: <what>." for a model whose groups do not
    // balance, that lacks [CONTINUT] or whose placeholders are broken by formatting; returns the
    // warning for the other placeholders it lacks ("" when none).
    static QString checkModel(const QString& path);

    // ---- the heating-aid certificate ----
    static void checkHeating(const CertificateRequest& request, const CertificateHousehold& household);
    QList<QPair<QString, QString>> heatingPairs(const CertificateRequest& request, const CertificateHousehold& household);
    // Never moves the counter. Throws Error.
    QString writeHeating(const CertificateRequest& request, const QString& output = QString());

    // The next number the counter proposes.
    qint64 proposedNumber() const;

private:
    QString dataFile(const QString& name) const;
    QString fill(const QString& model, const QString& base, const QString& output,
                 const QList<QPair<QString, QString>>& pairs) const;
    // Refuses, before anything is written, a destination or mention the settings and list
    // files cannot hold.
    static void checkStorable(const CertificateRequest& request);

    engine::Engine& m_engine;
    QString m_dataDirectory;
    QString m_programDirectory;
    Settings& m_settings;
    CouncilConstants m_council;
    LocalTariffs::Values m_tariffs;
};

}
}
