#!/usr/bin/env python3
"""Reads every drawing of tests/data/dxf_cases.txt back with ezdxf.

Each case runs korvane-cli with "--dxf FILE" added and compares the drawing
with the adjusted results the case lists: the layers, the number of entities
on each, every point's place (survey X north is CAD Y, survey Y east is CAD X)
to 0.001 m with its symbol, name and height, the legs, and the ellipses
(closed polylines of 72 vertices around new points) with the magnification
in the title.

Usage: dxf_readback.py KORVANE_CLI CASES EXAMPLES DATA SCRATCH
"""
import math
import os
import subprocess
import sys

import ezdxf

LAYERS = ["0", "已知点", "待定点", "点名", "高程", "导线边", "误差椭圆", "相对误差椭圆", "标题"]
TOLERANCE = 0.0005
TEXT_STYLE = "KST32B"


def read_cases(path):
    cases = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            parts = [p.strip() for p in line.split("|")]
            if parts[0] == "drawing":
                cases.append({"name": parts[1], "args": parts[2].split(), "lines": int(parts[3]),
                              "ellipses": int(parts[4]), "magnification": parts[5],
                              "relative": int(parts[6]) if len(parts) > 6 else 0, "points": []})
            elif parts[0] == "point":
                cases[-1]["points"].append({"name": parts[1], "x": float(parts[2]), "y": float(parts[3]),
                                            "h": None if parts[4] == "-" else parts[4], "role": parts[5]})
    return cases


def near(a, b):
    return abs(a[0] - b[0]) <= TOLERANCE and abs(a[1] - b[1]) <= TOLERANCE


def check(case, path, problems):
    def fail(text):
        problems.append("%s: %s" % (case["name"], text))

    doc = ezdxf.readfile(path)
    if doc.dxfversion != "AC1009":
        fail("version %s" % doc.dxfversion)
    if doc.header.get("$DWGCODEPAGE") != "ANSI_936":
        fail("code page %s" % doc.header.get("$DWGCODEPAGE"))
    # ezdxf adds the layer "Defpoints" of its own when it reads a drawing.
    layers = [layer.dxf.name for layer in doc.layers if layer.dxf.name != "Defpoints"]
    if layers != LAYERS:
        fail("layers %s" % layers)
    msp = doc.modelspace()
    by_layer = {}
    for e in msp:
        by_layer.setdefault(e.dxf.layer, []).append(e)

    def entities(layer, kind):
        return [e for e in by_layer.get(layer, []) if e.dxftype() == kind]

    expected = case["points"]
    for role, layer in (("known", "已知点"), ("new", "待定点")):
        wanted = [p for p in expected if p["role"] == role]
        points = [(e.dxf.location.x, e.dxf.location.y) for e in entities(layer, "POINT")]
        if len(points) != len(wanted):
            fail("%d points on %s, %d expected" % (len(points), layer, len(wanted)))
        for p in wanted:
            if not any(near(q, (p["y"], p["x"])) for q in points):
                fail("no point %s at CAD (%.3f, %.3f) on %s" % (p["name"], p["y"], p["x"], layer))
        symbols = entities(layer, "POLYLINE" if role == "known" else "CIRCLE")
        if len(symbols) != len(wanted) or len(by_layer.get(layer, [])) != 2 * len(wanted):
            fail("%d symbols on %s" % (len(symbols), layer))
        for s in symbols:
            if role == "new":
                centre = (s.dxf.center.x, s.dxf.center.y)
            else:
                vertices = [v.dxf.location for v in s.vertices]
                if len(vertices) != 3 or not s.is_closed:
                    fail("a triangle of %d vertices" % len(vertices))
                    continue
                centre = (sum(v.x for v in vertices) / 3, sum(v.y for v in vertices) / 3)
            if not any(near(centre, (p["y"], p["x"])) for p in wanted):
                fail("a symbol on %s at %s marks no point" % (layer, centre))
    names = sorted(e.dxf.text for e in entities("点名", "TEXT"))
    if names != sorted(p["name"] for p in expected) or len(by_layer.get("点名", [])) != len(names):
        fail("names %s" % names)
    heights = sorted(e.dxf.text for e in entities("高程", "TEXT"))
    if heights != sorted(p["h"] for p in expected if p["h"]) or len(by_layer.get("高程", [])) != len(heights):
        fail("heights %s" % heights)
    lines = entities("导线边", "LINE")
    if len(lines) != case["lines"] or len(by_layer.get("导线边", [])) != len(lines):
        fail("%d legs" % len(lines))
    places = [(p["y"], p["x"]) for p in expected]
    for line in lines:
        for end in (line.dxf.start, line.dxf.end):
            if not any(near((end.x, end.y), q) for q in places):
                fail("a leg ends at (%.3f, %.3f), on no point" % (end.x, end.y))
    def ellipses(layer, wanted, places, what):
        """The closed 72-vertex polylines of `layer`, each centred on one of `places`."""
        found = entities(layer, "POLYLINE")
        if len(found) != wanted or len(by_layer.get(layer, [])) != len(found):
            fail("%d %s" % (len(found), layer))
        for e in found:
            vertices = [v.dxf.location for v in e.vertices]
            if len(vertices) != 72 or not e.is_closed:
                fail("%s of %d vertices" % (layer, len(vertices)))
                continue
            centre = (sum(v.x for v in vertices) / 72, sum(v.y for v in vertices) / 72)
            if not any(near(centre, q) for q in places):
                fail("%s around (%.3f, %.3f), %s" % (layer, centre[0], centre[1], what))

    ellipses("误差椭圆", case["ellipses"], [(p["y"], p["x"]) for p in expected if p["role"] == "new"], "on no new point")
    # A relative ellipse sits at the middle of the side between two points.
    middles = [((p["y"] + q["y"]) / 2, (p["x"] + q["x"]) / 2) for p in expected for q in expected if p is not q]
    ellipses("相对误差椭圆", case["relative"], middles, "at no side's middle")
    titles = [e.dxf.text for e in entities("标题", "TEXT")]
    if len(titles) != 1 or len(by_layer.get("标题", [])) != 1:
        fail("titles %s" % titles)
    elif case["ellipses"] and ("误差椭圆放大%s倍" % case["magnification"]) not in titles[0]:
        fail("title %s" % titles[0])
    elif not case["ellipses"] and "误差椭圆" in titles[0]:
        fail("title %s" % titles[0])
    if set(by_layer) - set(LAYERS):
        fail("entities on %s" % sorted(set(by_layer) - set(LAYERS)))
    # Every text in a declared style with the Chinese big font; the style
    # named after LibreCAD's font with Chinese characters, which LibreCAD
    # picks by the style's name (any other name draws them as diamonds).
    styles = {style.dxf.name.upper(): style for style in doc.styles}
    for text in msp.query("TEXT"):
        style = styles.get(text.dxf.style.upper())
        if style is None:
            fail("text %s in the undeclared style %s" % (text.dxf.text, text.dxf.style))
        elif (text.dxf.style.upper(), style.dxf.font, style.dxf.bigfont) != (TEXT_STYLE, "txt", "gbcbig.shx"):
            fail("text %s in style %s (%s, %s)" % (text.dxf.text, text.dxf.style, style.dxf.font, style.dxf.bigfont))


def main():
    cli, cases_path, examples, data, scratch = sys.argv[1:6]
    os.makedirs(scratch, exist_ok=True)
    problems = []
    cases = read_cases(cases_path)
    if len(cases) < 9:
        problems.append("only %d cases" % len(cases))
    for number, case in enumerate(cases):
        path = os.path.join(scratch, "drawing%d.dxf" % number)
        if os.path.exists(path):
            os.remove(path)
        args = [a.replace("@EXAMPLES@", examples).replace("@DATA@", data).replace("@OUT@", scratch)
                for a in case["args"]]
        run = subprocess.run([cli, args[0], "--dxf", path] + args[1:], capture_output=True)
        if run.returncode != 0:
            problems.append("%s: status %d, %s" % (case["name"], run.returncode, run.stderr.decode("utf-8", "replace")))
            continue
        check(case, path, problems)
    for p in problems:
        print(p)
    print("%d drawings read back, %d problems" % (len(cases), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
