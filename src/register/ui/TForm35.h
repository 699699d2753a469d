#pragma once

#include "register/HouseholdPositions.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QPushButton;

namespace velmor {

class TNumericF;

// The position dialog: village, register type, position, volume and role of a household, in add,
// insert or modify mode. Its confirmation ("&MEMOREAZA") is the check it is given; the dialog
// stays open while the check refuses.
class TForm35 : public QDialog {
    Q_OBJECT
public:
    using Check = std::function<bool(PlaceMode, Place&)>;

    explicit TForm35(QWidget* parent = nullptr);

    // Fills the dialog for `mode` without showing it.
    void prepare(PlaceMode mode, const Place& place, const QStringList& villages);
    // Runs the dialog modally; true when confirmed, `place` then holds the values entered.
    bool run(PlaceMode mode, Place& place, const QStringList& villages, Check check);
    bool AdaugareGospodarie(Place& place, const QStringList& villages, Check check)
    {
        return run(PlaceMode::Add, place, villages, std::move(check));
    }
    bool InserareGospodarie(Place& place, const QStringList& villages, Check check)
    {
        return run(PlaceMode::Insert, place, villages, std::move(check));
    }
    bool ModificareGospodarie(Place& place, const QStringList& villages, Check check)
    {
        return run(PlaceMode::Modify, place, villages, std::move(check));
    }

    // The values the fields hold.
    Place place() const;
    PlaceMode mode() const { return m_mode; }

    QComboBox* Localitatea() const { return m_village; }
    QComboBox* Tip() const { return m_type; }
    TNumericF* Pozitia() const { return m_position; }
    TNumericF* Volumul() const { return m_volume; }
    TNumericF* Rol() const { return m_role; }
    QPushButton* Memoreaza() const { return m_save; }
    QPushButton* Renunt() const { return m_cancel; }

public slots:
    void MemoreazaClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setPlaceEditable(bool editable);

    QComboBox* m_village = nullptr;
    QComboBox* m_type = nullptr;
    TNumericF* m_position = nullptr;
    TNumericF* m_volume = nullptr;
    TNumericF* m_role = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    PlaceMode m_mode = PlaceMode::Add;
    Check m_check;
    Place m_result;
};

}
