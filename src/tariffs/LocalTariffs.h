#pragma once

#include <QString>

#include <array>

namespace velmor {

class Settings;

// The sixteen local tariffs and the council decision they rest on, kept in section CONST of the
// settings file under "Tariful1" .. "Tariful16" and "HOTARARE".
class LocalTariffs {
public:
    static constexpr int Count = 16;
    static constexpr const char* Section = "CONST";
    static constexpr const char* DecisionKey = "HOTARARE";
    static constexpr int DecisionLength = 40;

    struct Values {
        std::array<double, Count> tariffs {}; // index n - 1 for tariff n
        QString hotarare;
    };

    explicit LocalTariffs(Settings& settings);

    // "Tariful" + n.
    static QString key(int n);
    // Row label, column ("Intravilan", "Extravilan" or empty for animals) and unit of tariff n.
    static QString label(int n);
    static QString column(int n);
    static QString unit(int n);

    // A stored text as a number: a decimal with a point; anything else (and a non-finite value) is 0.
    static double parseStored(const QString& text);
    // As shown in a field: up to four decimals, no trailing zeros ("12.5", "0").
    static QString formatForField(double value);
    // As stored: rounded to four decimals, a point, no trailing zeros.
    static QString formatForStore(double value);

    Values load() const;
    // Writes the sixteen tariffs and the decision. Raises ServiceError.
    void save(const Values& values);

private:
    Settings& m_settings;
};

}
