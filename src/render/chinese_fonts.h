#pragma once
// The font families the program asks for wherever it writes Chinese: in the
// windows and on the sketches. The first one installed is used.
#include <QStringList>

namespace korvane::render {

// Sans-serif families with Simplified Chinese glyphs.
QStringList ChineseSansFamilies();
// Monospaced families in which a Chinese character is two columns wide.
QStringList ChineseMonoFamilies();
// Brush-script (kai) families for the greetings, sans-serif ones after them.
QStringList ChineseKaiFamilies();

}  // namespace korvane::render
