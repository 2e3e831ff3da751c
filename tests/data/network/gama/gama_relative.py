#!/usr/bin/env python3
"""Extracts from GNU Gama's text results (gama-local 1.18b, NAME.gama.txt of the
network acceptance set) the figures the relative accuracy is compared with:
the standard deviation of every adjusted distance (the relative covariance of
its two points projected on the side) and the mean error ellipse of every
adjusted point (the relative ellipse of a side whose other end is fixed).

usage: gama_relative.py ACCEPTANCE_FOLDER NAME... > relative_utf8.txt
"""
import re
import sys

def parse(path, name):
    rows = []
    fixed = set()
    section = None
    stand = None
    for raw in open(path, encoding="utf-8"):
        line = raw.rstrip("\n")
        if line.startswith("Fixed points"):
            section = "fixed"
        elif line.startswith("Adjusted coordinates"):
            section = None
        elif line.startswith("Mean errors and parameters of error ellipses"):
            section = "ellipse"
        elif line.startswith("Maximal mean position error"):
            section = None
        elif line.startswith("Adjusted observations"):
            section = "obs"
        elif line.startswith("Residuals and analysis"):
            section = None
        t = line.split()
        if section == "fixed" and len(t) == 3 and not t[0].startswith("="):
            try:
                float(t[1]); fixed.add(t[0])
            except ValueError:
                pass
        if section == "ellipse" and len(t) == 9:
            try:
                vals = [float(v) for v in t[1:]]
            except ValueError:
                continue
            rows.append("%s ellipse %s %.1f %.1f %.1f" % (name, t[0], vals[2], vals[3], vals[4]))
        if section == "obs" and t and t[0].isdigit():
            kinds = ("dir.", "angle", "dist.", "azim.")
            k = next((i for i, v in enumerate(t) if v in kinds), None)
            head = t[1:k] if k is not None else t[1:]
            if len(head) == 2:
                stand = head[0]
            target = head[-1] if head else None
            if k is not None and t[k] == "dist.":
                rows.append("%s side %s %s %s" % (name, stand, target, t[-2]))
    return fixed, rows

folder = sys.argv[1]
print("# From GNU Gama's text results (gama-local 1.18b) of the network acceptance set, made by")
print("# gama_relative.py: the standard deviation of each adjusted distance in mm (NAME side FROM TO")
print("# SIGMA) and each adjusted point's mean error ellipse a, b in mm and its azimuth in degrees")
print("# (NAME ellipse POINT A B ALPHA), both with Gama's a-posteriori σ0 and printed to 0.1 mm.")
print("# Fixed points of each network: NAME fixed POINT...")
for name in sys.argv[2:]:
    fixed, rows = parse("%s/%s.gama.txt" % (folder, name), name)
    print("%s fixed %s" % (name, " ".join(sorted(fixed))) if fixed else "%s fixed" % name)
    for r in rows:
        print(r)
