#pragma once

#include <QString>

namespace velmor {

// The settings file Velmor.ini of the data directory and the next-identifier counters kept in
// its INDEX section. The file is read again on every call, so computers sharing a network data
// directory see each other's writes.
class Settings {
public:
    static constexpr const char* FileName = "Velmor.ini";
    static constexpr const char* CounterSection = "INDEX";

    explicit Settings(QString dataDir = QString());

    QString dataDir() const { return m_dataDir; }
    // A register opened only for reading: every write raises ServiceError.
    void setReadOnly(bool on) { m_readOnly = on; }
    void setDataDir(const QString& dataDir) { m_dataDir = dataDir; }
    // data directory + "/Velmor.ini"; an existing file whose name differs only in letter case
    // is used instead. Raises ServiceError while no data directory is set.
    QString iniPath() const;

    // Value of the settings file, empty when the file, section or key is absent.
    QString Citeste_Ini(const QString& section, const QString& key) const;
    // Writes the value, creating file, section and key as needed. Raises ServiceError.
    void Scrie_Ini(const QString& section, const QString& key, const QString& value);

    // Takes the next identifier of the counter INDEX/key: returns the stored text ("1" when
    // absent or empty) and stores that number plus one. A stored value that is not an integer
    // raises ServiceError and leaves the counter unchanged.
    QString CodNou(const QString& key);
    // As CodNou, but never below `floor` (the first identifier no row holds): takes
    // max(counter, floor) and stores that plus one.
    qint64 CodNou(const QString& key, qint64 floor);
    // The counter's value, or "1" when absent or empty; nothing is changed.
    QString CodExistent(const QString& key) const;
    // Stores text + 1 when the text is an integer, otherwise "1".
    void SetCod(const QString& key, const QString& text);

private:
    void checkWritable() const;

    QString m_dataDir;
    bool m_readOnly = false;
};

// Integer in decimal (optional sign, blanks around allowed) within 64 bits.
bool parseInteger(const QString& text, qint64& value);

}
