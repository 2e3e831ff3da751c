#pragma once
// The sketch of an adjusted traverse with its error ellipses, the known
// points and the orientation lines.
#include "core/sketch.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_table.h"

namespace korvane::traverse {

// Width and height of the picture the report embeds.
inline constexpr int kRigorousSketchWidth = 502;
inline constexpr int kRigorousSketchHeight = 709;

// The ellipses are enlarged by the 1-2-5 step that makes the largest about a
// thirtieth of the shorter side of the picture (kRigorousSketchWidth ×
// kRigorousSketchHeight pixels). The operations go to the sink as
// they are made.
void DrawRigorousSketch(const formats::RigorousTable& table, const RigorousResult& result, const SketchSink& sink);
// How many times the sketch enlarges the ellipses.
double RigorousEllipseMagnification(const formats::RigorousTable& table, const RigorousResult& result);
// The same operations gathered.
Sketch RigorousSketch(const formats::RigorousTable& table, const RigorousResult& result);

}  // namespace korvane::traverse
