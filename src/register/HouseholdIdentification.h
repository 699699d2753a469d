#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace velmor {

struct AppContext;
class HouseholdEditor;

// What the identification page shows for a household, by register type: type 1 the street and
// number where it lives; type 2 the permanent domicile (county, locality, SIRUTA code, street,
// number); types 3 and 4 the legal person (unit and subunit name, county, locality, street,
// number, SIRUES code, fiscal code).
struct Identification {
    QString street;
    QString number;
    QString county;
    QString locality;
    QString siruta;
    QString unitName;
    QString subunit;
    QString sirues;
    QString fiscalCode;
    bool operator==(const Identification&) const = default;
};

// A value the page cannot store: the field it concerns and the message for the user.
struct FieldRefusal {
    QString anchor;
    QString text;
};

// The identification page's logic: reads the current household's data, checks and writes them,
// and the county list.
class HouseholdIdentification {
public:
    // Field names of the page, used as balloon anchors.
    static constexpr const char* StreetField = "Strada";
    static constexpr const char* NumberField = "Nr";
    static constexpr const char* CountyField = "Judetul";
    static constexpr const char* LocalityField = "Localitate";
    static constexpr const char* SirutaField = "Siruta";
    static constexpr const char* UnitField = "Denumire";
    static constexpr const char* SubunitField = "Subunitate";
    static constexpr const char* SiruesField = "Sirues";
    static constexpr const char* FiscalField = "CodFiscal";

    // The width of the county column.
    static constexpr int CountyWidth = 20;

    // The 41 counties and the six sectors of Bucharest, as the county lists show them.
    static QStringList countyItems();
    // The county as stored: a sector of Bucharest is kept in the column's 20 characters
    // ("SECTOR 1 - MUNICIPIU"), as existing registers hold it; any other text unchanged.
    static QString storedCounty(const QString& shown);
    // The county as shown: a stored sector of that form is its full list item.
    static QString shownCounty(const QString& stored);

    explicit HouseholdIdentification(HouseholdEditor& editor);

    // The current household's data for the page of its type; empty without a current household.
    Identification read() const;
    // The register type of the current household (0 without one).
    int currentType() const;

    // The columns STRADA, NR, JUDET, LOC, SIRUTA, STR2, NR2, DENUMIRE, SUBUNIT, SIRUES, CODFISCAL
    // written for a household of `type`: every value trimmed with single blanks; columns the type
    // does not use empty. Type 1 takes the council's county and its village as locality.
    static QStringList columnValues(int type, const Identification& data, const QString& councilCounty,
                                    const QString& village);
    // The first value of `data` too wide for its column, for the fields of `type`.
    static std::optional<FieldRefusal> refusal(int type, const Identification& data);

    // Writes the current household's data (closing and reopening the editor's list, which keeps
    // the household current). Nothing is written when a value is refused; the refusal is returned.
    std::optional<FieldRefusal> save(const Identification& data);

private:
    HouseholdEditor& m_editor;
};

}
