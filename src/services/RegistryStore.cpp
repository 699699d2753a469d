#include "services/RegistryStore.h"

#include "services/ServiceError.h"

#include <QDir>

namespace velmor {

namespace {

QString& defaultOverride()
{
    static QString path;
    return path;
}

}

RegistryStore::RegistryStore()
    : m_settings(defaultOverride().isEmpty()
                     ? std::make_unique<QSettings>(QString::fromLatin1(Organization), QString::fromLatin1(Application))
                     : std::make_unique<QSettings>(defaultOverride(), QSettings::IniFormat))
{
}

void RegistryStore::redirectDefault(const QString& iniFilePath)
{
    defaultOverride() = iniFilePath;
}

QString RegistryStore::redirectedDefault()
{
    return defaultOverride();
}

RegistryStore::RegistryStore(const QString& iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{
}

RegistryStore::~RegistryStore() = default;

QString RegistryStore::Citeste_Reg(const QString& name) const
{
    return m_settings->value(name).toString();
}

void RegistryStore::Scrie_Reg(const QString& name, const QString& value)
{
    if (name.isEmpty())
        throw ServiceError(QStringLiteral("Numele valorii din registru lipseste."));
    m_settings->setValue(name, value);
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        throw ServiceError(QStringLiteral("Nu pot scrie valoarea %1 in registru (%2).")
                               .arg(name, QDir::toNativeSeparators(location())));
    }
}

QString RegistryStore::location() const
{
    return m_settings->fileName();
}

}
