#pragma once

// The windows of other subsystems that the program entry creates and wires. Each is used only
// when its header is part of this build.

#include <QString>

#include <vector>

#if __has_include("admin/TForm4.h")
#include "admin/TForm4.h"
#define VELMOR_HAVE_TFORM4 1
#else
#define VELMOR_HAVE_TFORM4 0
#endif

#if __has_include("admin/TForm5.h")
#include "admin/TForm5.h"
#define VELMOR_HAVE_TFORM5 1
#else
#define VELMOR_HAVE_TFORM5 0
#endif

#if __has_include("admin/TForm21.h")
#include "admin/TForm21.h"
#define VELMOR_HAVE_TFORM21 1
#else
#define VELMOR_HAVE_TFORM21 0
#endif

#if __has_include("register/TFTarife.h")
#include "register/TFTarife.h"
#define VELMOR_HAVE_TFTARIFE 1
#else
#define VELMOR_HAVE_TFTARIFE 0
#endif

namespace velmor {

// A model document placed in the program home when missing, from a built-in resource.
struct DeliveredModel {
    QString fileName;
    QString resourceType;
    QString resourceName;
};

inline std::vector<DeliveredModel> deliveredModels()
{
    return {
        {QStringLiteral("Adv.rtf"), QStringLiteral("models"), QStringLiteral("Adv.rtf")},
        {QStringLiteral("RAGR2.rtf"), QStringLiteral("models"), QStringLiteral("RAGR2.rtf")},
    };
}

}
