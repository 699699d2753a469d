#pragma once

#include <QPixmap>

namespace velmor {

// The 32 by 32 picture of a message kind: 0 warning, 2 information, 3 confirmation, any other error.
QPixmap kindPicture(int kind, int size = 32);

}
