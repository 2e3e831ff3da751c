#pragma once
// The figures of the computations whose results leave the program as
// drawings and coordinate lists, built from their results as the windows and
// korvane-cli hold them.
#include <string>
#include <vector>

#include "formats/traverse_kind.h"
#include "export/figure.h"
#include "levelling/level_adjust.h"
#include "network/network_adjustment.h"
#include "traverse/rigorous_adjustment.h"
#include "formats/rigorous_table.h"
#include "traverse/simple_adjustment.h"
#include "cogo/intersection.h"
#include "cogo/resection.h"

namespace korvane::exporting {

// The four simple kinds: the stations and legs, the sketch's ellipses, the
// orientation points given by coordinates (drawn, not listed).
Figure SimpleFigure(formats::TraverseKind kind, const traverse::TraversePoints& points);
// The weighted traverse: A, the stations and D, with the point errors of the
// new points as mx, my and mp.
Figure RigorousFigure(const formats::RigorousTable& table, const traverse::RigorousResult& result);
// A network: its points with their standard errors and error ellipses, the
// observed sides.
Figure NetworkFigure(const network::NetworkResult& result);
// Converted points as the Gauss–Krüger tool writes them, one
// "name,X,Y[,more]" line each; a number as the first further field is the
// point's height. Drawn as known points.
Figure GaussFigure(const std::string& title, const std::vector<std::string>& lines);
// Forward intersection from the typed XA, YA, XB, YB (and the rest) and its result.
Figure IntersectionFigure(const std::string& title, const std::vector<std::string>& texts,
                          const cogo::intersection::Result& result);
// Resection from the typed XA, YA, XB, YB, XC, YC (and the angles) and its result.
Figure ResectionFigure(const std::vector<std::string>& texts, const cogo::resection::Result& result);
// A levelling result's points with their heights (and errors in a network).
std::vector<HeightPoint> LevelHeights(const levelling::LevelResult& result);

}  // namespace korvane::exporting
