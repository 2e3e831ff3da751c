#pragma once
// The engines' texts are UTF-8 std::strings; the widgets take QStrings.
#include <QString>
#include <string>

namespace korvane::ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace korvane::ui
