#pragma once

#include <QIcon>

namespace velmor {

// Pictures of the main window's toolbar buttons, drawn in code.
enum class ToolbarPicture {
    Evidente,
    Totaluri,
    Liste,
    Raportari,
    Parcele,
    Legislatie,
    Locked,   // "Administrare" while the program is locked (picture 1)
    Unlocked, // "Administrare" once unlocked (picture 5)
    Salvare,
    Iesire,
};

QIcon toolbarIcon(ToolbarPicture picture, int size = 32);

}
