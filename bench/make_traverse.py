#!/usr/bin/env python3
"""Writes a traverse data file and its start-data file of a given kind and
station count: a square walk whose legs turn left by a right angle at every
station (every other angle typed as a right angle with a minus), distances
of 100 to 101 m in eighths of a metre, level sights observed both ways. The known end
data are computed from the walk, so every kind closes within its limits.

With "short" after the file names every field is as short as it can be
("A,270,1,0,0,0,0,0,0"): one-letter names, whole-degree angles, legs of 1 m
(the first 9 m) and one-way sights from marks at ground level, so that the
file is as small as a traverse of that many stations can be.

usage: make_traverse.py KIND(F|B|Z|W) STATIONS DATA.dat START.ini [short]
"""
import math
import struct
import sys

START_X, START_Y, START_H = 5000.0, 3000.0, 64.0
START_AZIMUTH = 180.0
DEGREE = 0.017453292  # the engines' degree-to-radian factor


def single(v):
    """The value as the engines hold a 32-bit distance."""
    return struct.unpack("f", struct.pack("f", v))[0]


def distance(i, short=False):
    if short:
        return 9.0 if i == 1 else 1.0
    # Opposite sides of every square are equal and every distance is a whole
    # number of eighths of a metre, so the walk keeps coming back near its
    # start and the engines' 32-bit sums stay exact over a million legs; the
    # longer first leg keeps the end point away from the start point.
    loop, side = (i - 1) // 4, (i - 1) % 2
    return 100 + ((loop * 5 + side * 3) % 8) / 8 + (50 if i == 1 else 0)


def dms(degrees):
    """Degrees as ddd.mmss with tenths of seconds."""
    tenths = round(degrees * 36000) % (360 * 36000)
    d, rest = divmod(tenths, 36000)
    m, rest = divmod(rest, 600)
    return f"{d}.{m:02d}{rest // 10:02d}{rest % 10}"


def start_record(values):
    out = b""
    for v in values:
        text = v.encode("gbk")
        out += struct.pack("<H", len(text)) + text + b"\0" * (126 - len(text))
    return out


def main():
    kind, n, data_path, start_path = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    short = len(sys.argv) > 5 and sys.argv[5] == "short"
    legs = {"F": n - 1, "B": n - 1, "Z": n, "W": n}[kind]
    lines = [f"{kind},END"]
    x, y = START_X, START_Y
    sx = sy = 0.0
    # The no-orientation kind first runs the traverse from an assumed
    # orientation of one degree; its end point is put where that run ends.
    azimuth = 1.0 if kind == "W" else START_AZIMUTH
    for i in range(1, n + 1):
        left = 90.0 if i == 1 else 270.0
        d = distance(i, short)
        angle = "90.0000" if i == 1 else ("-90.0000" if i % 2 else "270.0000")
        if short:
            angle = angle.split(".")[0]
        if kind == "B" and i >= n - 1:
            # The closed traverse's last leg returns to the start point, and
            # its last station (the start point again) closes the angles.
            closing = 0.0 if i == n else math.degrees(math.atan2(START_Y - y, START_X - x)) % 360
            left = (closing - azimuth - 180) % 360
            angle = dms(left)
            left = float(angle.split(".")[0]) + int(angle.split(".")[1][:2]) / 60 + float(angle.split(".")[1][2:]) / 36000
            d = 0.0 if i == n else math.hypot(START_X - x, START_Y - y)
        azimuth = (azimuth + 180 + left) % 360
        if i <= legs:
            dx = single(d) * math.cos(azimuth * DEGREE)
            dy = single(d) * math.sin(azimuth * DEGREE)
            # The connecting and closed kinds sum the increments in 32 bits.
            sx, sy = (single(sx + dx), single(sy + dy)) if kind in "FB" else (sx + dx, sy + dy)
            x, y = START_X + sx, START_Y + sy
        v = back = "0"  # level sights: every sight line lies on the projection plane
        if short:
            text = f"{d:.3f}".rstrip("0").rstrip(".")
            lines.append(f"A,{angle},{text},0,0,{v},0,0,{back}")
            continue
        name = "P1" if kind == "B" and i == n else f"P{i}"
        lines.append(f"{name},{angle},{d:.3f},1.500,1.500,{v},1.500,1.500,{back}")
    with open(data_path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))
    records = [f"{START_X:.3f}", f"{START_Y:.3f}", f"{START_H:.3f}"] + [""] * 10
    records[10], records[11], records[12] = f"{START_H + 1.45:.3f}", "3", "2"
    if kind in "FBZ":
        records[3], records[4] = f"{START_AZIMUTH:.4f}", "0"
    if kind in "FW":
        records[5], records[6], records[7] = f"{x:.3f}", f"{y:.3f}", f"{START_H:.3f}"
    if kind == "F":
        records[8] = f"{azimuth:.4f}"
    with open(start_path, "wb") as f:
        f.write(start_record(records))


if __name__ == "__main__":
    main()
