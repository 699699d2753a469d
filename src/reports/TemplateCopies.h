#pragma once

#include <QString>

namespace velmor::reports {

// A built-in template: its resource ":/<type>/MODEL" and the name of its copy in the data directory.
struct BuiltInTemplate {
    const char* type;
    const char* copyName;
};

inline constexpr BuiltInTemplate TemplateRap {"RAP", "Rap.xls"};
inline constexpr BuiltInTemplate TemplateMacheta {"MACHETA", "Macheta.xls"};

// The copy's path in the data directory; the built-in template is written there when no file has
// that name. An existing copy (perhaps edited by the user) is never replaced. Returns the path
// whether or not the copy could be made.
QString ensureTemplateCopy(const BuiltInTemplate& which, const QString& dataDirectory);

}
