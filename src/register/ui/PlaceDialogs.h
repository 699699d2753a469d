#pragma once

#include "register/HouseholdPositions.h"

class QWidget;

namespace velmor {

struct AppContext;
class HouseholdEditor;
class TForm35;
class TForm36;

// The position operations' dialogs in the program: TForm35 and TForm36, created once.
class PlaceDialogs : public PositionDialogs {
public:
    PlaceDialogs(AppContext& ctx, HouseholdEditor& editor, QWidget* parent);
    ~PlaceDialogs() override;

    void setPositions(HouseholdPositions* positions) { m_positions = positions; }

    bool runPlace(PlaceMode mode, Place& place) override;
    int Stergere() override;

    TForm35* Form35() const { return m_form35; }
    TForm36* Form36() const { return m_form36; }

private:
    AppContext& m_ctx;
    HouseholdEditor& m_editor;
    HouseholdPositions* m_positions = nullptr;
    TForm35* m_form35 = nullptr;
    TForm36* m_form36 = nullptr;
};

}
