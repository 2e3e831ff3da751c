#pragma once
// The refusals of the geodetic tools: a notice titled 提示 with the
// information icon, as every geodetic window shows its input errors.
#include <string>
#include <utility>

#include "core/message.h"

namespace korvane::geodesy {

inline Message Notice(std::string text) { return Message{std::move(text), "提示", MessageIcon::Information}; }

}  // namespace korvane::geodesy
