#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace velmor {

struct AppContext;
class HouseholdEditor;

// The place of a household as the position dialog TForm35 shows it: texts of its fields.
struct Place {
    QString village;                  // empty: no village chosen
    QString type = QStringLiteral("1");
    QString position;
    QString volume;
    QString role = QStringLiteral("0");
};

enum class PlaceMode { Add, Insert, Modify };

// The dialogs the position operations ask: TForm35 and TForm36 in the program, scripts in tests.
class PositionDialogs {
public:
    virtual ~PositionDialogs() = default;
    // The position dialog in `mode` over `place`; its confirmation must pass
    // HouseholdPositions::confirmPlace. True when confirmed; `place` holds what was entered.
    virtual bool runPlace(PlaceMode mode, Place& place) = 0;
    // The delete-mode dialog: 0 closed, 1 "Stergem si lasam locul gol", 2 "Stergem si renumerotam
    // localitatea".
    virtual int Stergere() = 0;
};

// A household's slot within its year, village and register type.
struct SlotRow {
    qint64 codid = 0;
    qint64 volume = 0;
    qint64 position = 0;
    bool operator==(const SlotRow&) const = default;
};

// Shifts of the households of one village and type along their slots (ordered by volume, then
// position), given the households from the start slot on in that order. The moves are listed in
// the order they must be written so that an interrupted shift leaves at most an empty slot,
// never two households in one. Each move names the household and its new slot.
// Opening a gap: the last household moves to (its volume, its position + 1), every other takes
// the slot of the one after it.
std::vector<SlotRow> planOpenGap(const std::vector<SlotRow>& fromStart);
// Closing the gap of the deleted household `deleted` (at the start slot): every household after
// it takes the slot of the one before it. Households keeping their slot are not listed.
std::vector<SlotRow> planCloseGap(const std::vector<SlotRow>& fromStart, qint64 deleted);

// Adding, inserting, moving and deleting households of the working year (the list page's four
// position buttons), the shift of the following positions and the removal of a household with all
// its rows. Works on the editor's list and current household; asks through `dialogs` and the
// context's interaction seam.
class HouseholdPositions {
public:
    // Balloon anchors: the list page's buttons and the position dialog's fields.
    static constexpr const char* AddButton = "Adauga";
    static constexpr const char* ModifyButton = "Modifica";
    static constexpr const char* DeleteButton = "Sterge";
    static constexpr const char* VillageField = "Localitatea";
    static constexpr const char* PositionField = "Pozitia";
    static constexpr const char* VolumeField = "Volumul";
    static constexpr const char* RememberSection = "TEMP";

    HouseholdPositions(HouseholdEditor& editor, PositionDialogs& dialogs);

    // Creates the chapter rows of a new household (chapters 2 to 11); the default creates every
    // catalogue row of a household that has none.
    using ChapterRowsMaker = std::function<void(qint64 codid)>;
    void setChapterRowsMaker(ChapterRowsMaker maker) { m_makeChapters = std::move(maker); }

    // The list page's buttons. Each returns the household added or changed (0: nothing done).
    qint64 AdaugaPozitie();
    qint64 InsereazaPozitie();
    qint64 ModificaPozitie();
    // True when a household was deleted.
    bool StergePozitie();

    // The villages of the position dialog: the council's, as the run loaded them (Sate.lst).
    QStringList villages() const;
    // What the dialog proposes for adding: the remembered position + 1 (1 when none), the
    // remembered volume, role 0, the list page's village (none for "TOATE") and type.
    Place proposalForAdd() const;

    // The dialog's confirmation: refuses a missing village, position or volume; a role of 0 or
    // empty becomes "0"; in add and modify modes refuses a slot another household of the year,
    // village and type holds (`self` is the household being modified) and otherwise remembers
    // the place. Refusals are balloons at the dialog's fields; false keeps the dialog open.
    bool confirmPlace(PlaceMode mode, Place& place, qint64 self = 0);
    // A household of the year in the slot, other than `self`; 0 when the slot is free.
    qint64 occupant(const Place& place, qint64 self) const;

    // Moves the households of the year, village and type from the start slot on by one slot:
    // +1 opens a gap at the start slot; -1 deletes `deleted` (the household at the start slot)
    // with all its rows and then closes its gap. Progress "Translatare pozitii...". Returns the
    // number of households moved.
    int MutaPozitii(int direction, qint64 position, const QString& village, qint64 volume, int type,
                     qint64 deleted = 0);
    // Deletes the household with every row that belongs to it: CAP1..CAP11, the pictures of its
    // plots, the plots' holders, its plots, and its Identificare row last.
    void StergeGospodaria(qint64 codid);

    // The whole number of a dialog text (0 when it is none).
    static qint64 number(const QString& text);

private:
    std::vector<SlotRow> slotsFrom(qint64 position, const QString& village, qint64 volume, int type) const;
    void moveTo(const SlotRow& move);
    void insertHousehold(qint64 codid, const Place& place);
    void makeChapterRows(qint64 codid);
    qint64 newCodid();
    QString table(const char* name) const;

    // Runs a household delete (with its renumbering) as a guarded operation: checked first, saved
    // into a temporary archive, marked, and put back from the archive when a step fails.
    template <typename Body>
    void asDeleteOperation(qint64 codid, Body body);

    HouseholdEditor& m_editor;
    AppContext& m_ctx;
    bool m_inDelete = false;
    PositionDialogs& m_dialogs;
    ChapterRowsMaker m_makeChapters;
};

}
