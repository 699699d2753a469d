#pragma once

#include <QSettings>
#include <QString>

#include <memory>

namespace velmor {

// The registry store of this computer: QSettings("Quorvik", "19"), string values.
class RegistryStore {
public:
    static constexpr const char* Organization = "Quorvik";
    static constexpr const char* Application = "19";

    // The real store of the user, or the file set with redirectDefault().
    RegistryStore();
    // An INI file at the given path instead (tests, portable use).
    explicit RegistryStore(const QString& iniFilePath);
    ~RegistryStore();

    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Value of the store, empty when absent.
    QString Citeste_Reg(const QString& name) const;
    // Writes the value; raises ServiceError when the store cannot be written.
    void Scrie_Reg(const QString& name, const QString& value);

    QString location() const;

    // Makes every default-constructed store of this process use the INI file instead of the
    // user's store (tests); an empty path undoes it.
    static void redirectDefault(const QString& iniFilePath);
    static QString redirectedDefault();

private:
    std::unique_ptr<QSettings> m_settings;
};

}
