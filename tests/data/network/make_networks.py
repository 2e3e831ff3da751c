#!/usr/bin/env python3
"""Builds the network test files from true coordinates.

Each observation is its true value computed from the true coordinates plus an
error drawn from a normal distribution with the file's a-priori deviation
(random.Random with a fixed seed), written to 0.01" or 0.1 mm. The expected
adjusted coordinates come from the least-squares solution computed here by a
small dense Gauss-Newton solve, written independently of the C++ engine.
Run: python3 make_networks.py (rewrites the .net files in this folder).
"""
import math
import random

RHO = 180 * 3600 / math.pi


def az(p, q):
    a = math.atan2(q[1] - p[1], q[0] - p[0])
    return a % (2 * math.pi)


def to_dms(rad):
    sec = round((rad % (2 * math.pi)) * RHO, 2)
    d = int(sec // 3600)
    m = int((sec - d * 3600) // 60)
    s = sec - d * 3600 - m * 60
    return "%d.%02d%04d" % (d, m, round(s * 100))


def from_dms(text):
    d, frac = text.split(".")
    frac = (frac + "000000")[:6]
    return (int(d) + int(frac[:2]) / 60 + int(frac[2:]) / 100 / 3600) * math.pi / 180


def solve(n, rows):
    """Normal equations of rows (coeff dict, misclosure, weight) by Gauss-Jordan."""
    a = [[0.0] * (n + 1) for _ in range(n)]
    for coef, w, p in rows:
        for i, ci in coef.items():
            a[i][n] -= p * ci * w
            for j, cj in coef.items():
                a[i][j] += p * ci * cj
    for c in range(n):
        piv = max(range(c, n), key=lambda r: abs(a[r][c]))
        a[c], a[piv] = a[piv], a[c]
        for r in range(n):
            if r != c and a[r][c] != 0:
                f = a[r][c] / a[c][c]
                for k in range(c, n + 1):
                    a[r][k] -= f * a[c][k]
    return [a[i][n] / a[i][i] for i in range(n)]


def adjust(known, new, obs, sets):
    pts = dict(known)
    pts.update(new)
    names = list(new)
    col = {nm: 2 * i for i, nm in enumerate(names)}
    ncol = 2 * len(names) + len(sets)
    ori = {}
    for s in sets:
        st = s["station"]
        ori[s["id"]] = (az(pts[st], pts[s["dirs"][0][0]]) - from_dms(s["dirs"][0][1])) % (2 * math.pi)
    for _ in range(20):
        rows = []
        def azrow(a, b, sign, coef):
            dx, dy = pts[b][0] - pts[a][0], pts[b][1] - pts[a][1]
            s2 = (dx * dx + dy * dy) * 1000
            for nm, f in ((a, 1), (b, -1)):
                if nm in col:
                    coef[col[nm]] = coef.get(col[nm], 0) + sign * f * RHO * dy / s2
                    coef[col[nm] + 1] = coef.get(col[nm] + 1, 0) - sign * f * RHO * dx / s2
        for o in obs:
            coef = {}
            kind = o[0]
            if kind == "DIST":
                a, b, val, sig = o[1], o[2], o[3], o[4]
                dx, dy = pts[b][0] - pts[a][0], pts[b][1] - pts[a][1]
                s = math.hypot(dx, dy)
                for nm, f in ((a, -1), (b, 1)):
                    if nm in col:
                        coef[col[nm]] = f * dx / s
                        coef[col[nm] + 1] = f * dy / s
                rows.append((coef, (s - val) * 1000, 1 / sig ** 2))
            elif kind == "ANGLE":
                st, bk, fo, val, sig = o[1:]
                azrow(st, fo, 1, coef)
                azrow(st, bk, -1, coef)
                comp = az(pts[st], pts[fo]) - az(pts[st], pts[bk])
                w = math.remainder(comp - val, 2 * math.pi) * RHO
                rows.append((coef, w, 1 / sig ** 2))
            elif kind == "DIR":
                sid, st, tg, val, sig = o[1:]
                azrow(st, tg, 1, coef)
                zc = 2 * len(names) + sid
                coef[zc] = -1
                w = math.remainder(az(pts[st], pts[tg]) - ori[sid] - val, 2 * math.pi) * RHO
                rows.append((coef, w, 1 / sig ** 2))
            elif kind == "AZI":
                a, b, val = o[1:4]
                sig = o[4] if len(o) > 4 else 1e-4
                azrow(a, b, 1, coef)
                w = math.remainder(az(pts[a], pts[b]) - val, 2 * math.pi) * RHO
                rows.append((coef, w, 1 / sig ** 2))
        dx = solve(ncol, rows)
        for nm in names:
            x, y = pts[nm]
            pts[nm] = (x + dx[col[nm]] / 1000, y + dx[col[nm] + 1] / 1000)
        for s in sets:
            ori[s["id"]] += dx[2 * len(names) + s["id"]] / RHO
        if max(abs(v) for v in dx[:2 * len(names)]) < 1e-4:
            break
    return {nm: pts[nm] for nm in names}


def build(title, path, seed, param, known, new, plan, tol_mm=0.5):
    """plan: list of ("DIST", a, b[, own σ mm]) / ("ANGLE", st, back, fore[, own σ″]) /
    ("SET", st, [targets], may repeat one) / ("AZI", a, b[, σ″ of an observed azimuth])."""
    rnd = random.Random(seed)
    true = dict(known)
    true.update(new)
    dsec, asec, a_mm, b_ppm = param
    lines, obs, sets = [], [], []
    for item in plan:
        kind = item[0]
        if kind == "DIST":
            a, b = item[1], item[2]
            s = math.hypot(true[b][0] - true[a][0], true[b][1] - true[a][1])
            sig = item[3] if len(item) > 3 else a_mm + b_ppm * s / 1000
            val = round(s + rnd.gauss(0, sig) / 1000, 4)
            lines.append("DIST, %s, %s, %.4f%s" % (a, b, val, ", %g" % sig if len(item) > 3 else ""))
            obs.append(("DIST", a, b, val, sig))
        elif kind == "ANGLE":
            st, bk, fo = item[1:4]
            sig = item[4] if len(item) > 4 else asec
            tv = az(true[st], true[fo]) - az(true[st], true[bk]) + rnd.gauss(0, sig) / RHO
            text = to_dms(tv)
            lines.append("ANGLE, %s, %s, %s, %s%s" % (st, bk, fo, text, ", %g" % sig if len(item) > 4 else ""))
            obs.append(("ANGLE", st, bk, fo, from_dms(text), sig))
        elif kind == "SET":
            st, targets = item[1], item[2]
            sid = len(sets)
            zero = rnd.uniform(0, 2 * math.pi)
            lines.append("SET, %s" % st)
            dirs = []
            for tg in targets:
                text = to_dms(az(true[st], true[tg]) - zero + rnd.gauss(0, dsec) / RHO)
                lines.append("DIR, %s, %s, %s" % (st, tg, text))
                dirs.append((tg, text))
                obs.append(("DIR", sid, st, tg, from_dms(text), dsec))
            sets.append({"id": sid, "station": st, "dirs": dirs})
        elif kind == "AZI" and len(item) > 3:
            a, b, sig = item[1], item[2], item[3]
            text = to_dms(az(true[a], true[b]) + rnd.gauss(0, sig) / RHO)
            lines.append("AZI, %s, %s, %s, %g" % (a, b, text, sig))
            obs.append(("AZI", a, b, from_dms(text), sig))
        elif kind == "AZI":
            a, b = item[1], item[2]
            text = to_dms(az(true[a], true[b]))
            lines.append("AZI, %s, %s, %s" % (a, b, text))
            obs.append(("AZI", a, b, from_dms(text)))
    result = adjust(known, new, obs, sets)
    with open(path, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("# %s\n" % title)
        f.write("# Generated by make_networks.py: true coordinates (TRUE lines), observations with\n")
        f.write("# normal errors of the PARAM deviations (seed %d), expected adjusted coordinates\n" % seed)
        f.write("# (EXPECT lines) from the script's own dense least-squares solve; tolerance in mm.\n")
        f.write("# TOLERANCE_MM, %g\n" % tol_mm)
        for nm, (x, y) in new.items():
            f.write("# TRUE, %s, %.4f, %.4f\n" % (nm, x, y))
        for nm, (x, y) in result.items():
            f.write("# EXPECT, %s, %.4f, %.4f\n" % (nm, x, y))
        f.write("PARAM, %g, %g, %g, %g\n" % param)
        for nm, (x, y) in known.items():
            f.write("POINT, %s, %.3f, %.3f\n" % (nm, x, y))
        for ln in lines:
            f.write(ln + "\n")


def junction():
    known = {"A": (5200.000, 3100.000), "B": (5000.000, 3000.000), "C": (4200.000, 3950.000),
             "D": (4400.000, 3800.000), "E": (5600.000, 4500.000), "F": (5350.000, 4400.000)}
    new = {"P1": (4920.431, 3245.118), "P2": (4805.226, 3460.904), "J": (4720.515, 3702.337),
           "Q1": (4552.870, 3770.462), "R1": (5180.246, 4227.981), "R2": (4960.112, 4010.653),
           "R3": (4830.947, 3851.226)}
    plan = [("ANGLE", "B", "A", "P1"), ("DIST", "B", "P1"), ("ANGLE", "P1", "B", "P2"), ("DIST", "P1", "P2"),
            ("ANGLE", "P2", "P1", "J"), ("DIST", "P2", "J"),
            ("ANGLE", "D", "C", "Q1"), ("DIST", "D", "Q1"), ("ANGLE", "Q1", "D", "J"), ("DIST", "Q1", "J"),
            ("ANGLE", "F", "E", "R1"), ("DIST", "F", "R1"), ("ANGLE", "R1", "F", "R2"), ("DIST", "R1", "R2"),
            ("ANGLE", "R2", "R1", "R3"), ("DIST", "R2", "R3"), ("ANGLE", "R3", "R2", "J"), ("DIST", "R3", "J"),
            ("ANGLE", "J", "P2", "Q1"), ("ANGLE", "J", "Q1", "R3")]
    build("Junction traverse: three traverses from A-B, C-D, E-F meeting at J", "junction.net", 15, (2, 2.5, 2, 2),
          known, new, plan)


def directions():
    known = {"K1": (3000.000, 1000.000), "K2": (3000.000, 2400.000)}
    new = {"N1": (3900.000, 1250.000), "N2": (4100.000, 2150.000), "N3": (2200.000, 1800.000),
           "N4": (3500.000, 3200.000)}
    plan = [("SET", "K1", ["K2", "N1", "N3"]), ("SET", "K2", ["N4", "N2", "N1", "K1", "N3"]),
            ("SET", "N1", ["K1", "K2", "N2"]), ("SET", "N2", ["N1", "K2", "N4"]),
            ("SET", "N3", ["K2", "K1"]), ("SET", "N4", ["K2", "N2"]), ("SET", "K1", ["N1", "K2"]),
            ("DIST", "K1", "N1"), ("DIST", "K2", "N2"), ("DIST", "N1", "N2"), ("DIST", "K2", "N4"),
            ("DIST", "K1", "N3")]
    build("Network with direction sets (two sets at K1), distances on five lines", "directions.net", 27,
          (1.8, 2.5, 3, 2), known, new, plan)


def azimuth():
    known = {"S": (1000.000, 1000.000)}
    new = {"T1": (1250.300, 1180.450), "T2": (1390.112, 1460.905), "T3": (1260.778, 1720.333),
           "T4": (980.040, 1650.250)}
    plan = [("AZI", "S", "T1"), ("DIST", "S", "T1"), ("ANGLE", "T1", "S", "T2"), ("DIST", "T1", "T2"),
            ("ANGLE", "T2", "T1", "T3"), ("DIST", "T2", "T3"), ("ANGLE", "T3", "T2", "T4"), ("DIST", "T3", "T4"),
            ("ANGLE", "T4", "T3", "S"), ("DIST", "T4", "S"), ("ANGLE", "S", "T4", "T1")]
    build("Closed traverse on one known point held in azimuth by a fixed azimuth S-T1", "fixed_azimuth.net", 41,
          (2, 3, 2, 2), known, new, plan)


def free_start():
    # A connecting traverse between two known points with no orientation at either end.
    known = {"G1": (2000.000, 2000.000), "G2": (2010.000, 2900.000)}
    new = {"U1": (2180.220, 2230.600), "U2": (2150.900, 2480.115), "U3": (2120.400, 2700.700)}
    plan = [("DIST", "G1", "U1"), ("ANGLE", "U1", "G1", "U2"), ("DIST", "U1", "U2"), ("ANGLE", "U2", "U1", "U3"),
            ("DIST", "U2", "U3"), ("ANGLE", "U3", "U2", "G2"), ("DIST", "U3", "G2")]
    build("Traverse between two known points without orientation at either end", "no_orientation.net", 53,
          (2, 2.5, 2, 2), known, new, plan)


def observed_azimuth():
    # One known point; the orientation comes from a gyro azimuth between two
    # new points; own deviations on some distances and angles; a target read
    # twice in a set.
    known = {"S": (1000.000, 1000.000)}
    new = {"T1": (1250.300, 1180.450), "T2": (1390.112, 1460.905), "T3": (1260.778, 1720.333),
           "T4": (980.040, 1650.250)}
    plan = [("DIST", "S", "T1", 1.5), ("ANGLE", "T1", "S", "T2", 1.5), ("DIST", "T1", "T2"),
            ("SET", "T2", ["T1", "T3", "T1"]), ("DIST", "T2", "T3", 4), ("ANGLE", "T3", "T2", "T4"),
            ("DIST", "T3", "T4"), ("ANGLE", "T4", "T3", "S", 5), ("DIST", "T4", "S"), ("ANGLE", "S", "T4", "T1"),
            ("AZI", "T2", "T3", 3)]
    build("Closed traverse on one known point oriented by a gyro azimuth T2-T3 (own deviations, a repeated reading)",
          "observed_azimuth.net", 67, (2, 3, 2, 2), known, new, plan)


if __name__ == "__main__":
    junction()
    directions()
    azimuth()
    free_start()
    observed_azimuth()
