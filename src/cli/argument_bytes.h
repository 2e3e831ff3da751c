#pragma once
// Arguments carried through the option parser byte for byte. A file name
// written on a Chinese Windows disk arrives in GBK bytes, which are not
// UTF-8; Qt's own conversions would turn them into U+FFFD for good, so that
// two such names would open one file. Here every byte that is not part of a
// valid UTF-8 character becomes the private code point U+10FF00 + byte on
// the way in, and ArgBytes gives the original bytes back.
#include <QString>
#include <string>
#include <string_view>

namespace korvane::cli {

QString ArgText(std::string_view bytes);
// The argument's bytes as given on the command line (a file name to open).
std::string ArgBytes(const QString& text);

}  // namespace korvane::cli
