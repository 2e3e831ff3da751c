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
// The families of printed pages and PDF files: those whose text reads back
// from the PDF as it was written (with Qt 6.4 another family's glyphs come
// back as radicals, and its digits not at all). Sans-serif, and monospaced
// for the plain results table.
QStringList PdfSansFamilies();
QStringList PdfMonoFamilies();

}  // namespace korvane::render
