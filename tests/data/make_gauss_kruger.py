#!/usr/bin/env python3
"""Writes the Gauss–Krüger test table with TransverseMercatorProj (Debian
geographiclib-tools, the exact transverse Mercator):
    python3 make_gauss_kruger.py > gauss_kruger.txt
Forward rows: B, L in DMS notation projected with
    TransverseMercatorProj -e a 1/f -k 1 -l L0 -p 6
which prints easting first: X = northing, Y = easting + 500 km.
Zone-change rows: X, Y of one zone taken back to B, L with the same tool and
-r, then projected in the new zone (inverse, then forward)."""
import random
import subprocess

ELLIPSOIDS = {
    "cgcs2000": ("6378137", "1/298.257222101"),
    "krassovsky": ("6378245", "1/298.3"),
    "iag75": ("6378140", "1/298.257"),
}


def central_meridian(width, zone):
    return 3 * zone if width == 3 else 6 * zone - 3


def tool(name, l0, line, reverse=False):
    a, f = ELLIPSOIDS[name]
    args = ["TransverseMercatorProj", "-e", a, f, "-k", "1", "-l", str(l0), "-p", "6"]
    if reverse:
        args.append("-r")
    out = subprocess.run(args, input=line + "\n", capture_output=True, text=True, check=True).stdout
    return out.split()


def dms(degrees_, minutes, seconds):
    """DMS notation text and decimal degrees of a positive or negative angle."""
    sign = -1 if degrees_ < 0 else 1
    d = abs(degrees_)
    text = "%s%d.%02d%s" % ("-" if sign < 0 else "", d, minutes, ("%08.5f" % seconds).replace(".", ""))
    return text, sign * (d + minutes / 60 + seconds / 3600)


def random_angle(rng, low, high):
    value = rng.uniform(low, high)
    d = int(abs(value))
    rest = (abs(value) - d) * 60
    m = int(rest)
    s = round((rest - m) * 60, 5)
    if s >= 60:
        s = 59.99999
    return dms(d if value >= 0 else -d, m, s)


def forward_rows(rng):
    zones = [(6, 13), (6, 18), (6, 20), (6, 23), (3, 25), (3, 35), (3, 39), (3, 45)]
    for name in ELLIPSOIDS:
        for width, zone in zones:
            l0 = central_meridian(width, zone)
            for lat_range in ((18, 25), (30, 40), (45, 53.5)):
                b_text, b = random_angle(rng, *lat_range)
                l_text, l = random_angle(rng, l0 - width / 2 - 0.5, l0 + width / 2 + 0.5)
                e, n, *_ = tool(name, l0, "%.15f %.15f" % (b, l))
                yield name, width, zone, b_text, l_text, n, "%.6f" % (float(e) + 500000)
        # Beyond the zones of China: the equator, the south and 5.5° out.
        for b_text, b, l_off in ((dms(0, 0, 0.5)) + (1.25,), dms(-33, 52, 7.12345) + (-2.75,),
                                 dms(61, 10, 0) + (5.5,)):
            l0 = central_meridian(6, 20)
            l_text, l = dms(int(l0 + l_off), int(round((l_off % 1) * 60)), 0)
            e, n, *_ = tool(name, l0, "%.15f %.15f" % (b, l))
            yield name, 6, 20, b_text, l_text, n, "%.6f" % (float(e) + 500000)


def zone_rows(rng):
    # Across a 6° zone border, into a 3° zone and back, on every ellipsoid.
    pairs = [((6, 19), (6, 20), 113.8), ((6, 20), (6, 19), 114.3), ((6, 20), (3, 38), 115.2),
             ((3, 38), (6, 20), 112.9), ((3, 39), (3, 40), 118.6), ((6, 18), (3, 35), 106.4)]
    for name in ELLIPSOIDS:
        for (w1, z1), (w2, z2), lon in pairs:
            lat = rng.uniform(22, 48)
            e1, n1, *_ = tool(name, central_meridian(w1, z1), "%.12f %.12f" % (lat, lon))
            x1, y1 = "%.6f" % float(n1), "%.6f" % (float(e1) + 500000)
            b, l, *_ = tool(name, central_meridian(w1, z1), "%s %s" % (float(y1) - 500000, x1), True)
            e2, n2, *_ = tool(name, central_meridian(w2, z2), "%s %s" % (b, l))
            yield name, w1, z1, x1, y1, w2, z2, n2, "%.6f" % (float(e2) + 500000)


def main():
    rng = random.Random(14)
    print(__doc__.replace("\n", "\n# ").join(["# ", ""]).rstrip("# \n"))
    print("# Tolerances: X, Y 0.1 mm; B, L 0.0001\" (the inverse of each forward row).")
    print("kind, ellipsoid, width, zone, B, L, X, Y, width2, zone2, X2, Y2")
    for name, width, zone, b, l, x, y in forward_rows(rng):
        print("forward, %s, %d, %d, %s, %s, %s, %s, , , , " % (name, width, zone, b, l, x, y))
    for name, w1, z1, x1, y1, w2, z2, x2, y2 in zone_rows(rng):
        print("zone, %s, %d, %d, , , %s, %s, %d, %d, %s, %s" % (name, w1, z1, x1, y1, w2, z2, x2, y2))


if __name__ == "__main__":
    main()
