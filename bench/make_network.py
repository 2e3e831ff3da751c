#!/usr/bin/env python3
"""Writes the large network files the bounded-work benchmark adjusts
(UTF-8, LF; observations with normal errors from a fixed seed):

  chain N     a connecting traverse of N new points between two known pairs:
              an angle at every station and every side measured, the sides
              100 to 300 m, the walk turning by up to 40 degrees a station;
  weak N      a grid of about N new points below a row of known points
              (distances and angles as in network_bench), with one point
              more, "Z", held by a fixed azimuth and a 2 m distance only:
              well determined, yet its normal equations mix weights nine
              orders apart;
  tiny N      the same with Z 1 cm from its station: the normal equations
              cannot hold Z in double precision (the QR of the design can);
  set N       one direction set of N directions at a known point to N new
              points, each with its distance;
  repeat N    the same set with one of its targets read twice;
  junction N  a lattice of junction points 1.2 km apart, each pair of
              neighbours joined by a traverse of four legs (three new points),
              the four corner junctions known with a known point to orient
              on: about N new points, an angle at every station and every
              side measured;
  grid N      the grid of weak without Z: a sound network;
  grid2 N     the same grid whose distances were simulated with twice the
              deviation PARAM gives them (the variance components of the
              distance group should come out near 2).

usage: make_network.py chain|weak|tiny|set|repeat|junction|grid|grid2 N OUT.net
"""
import math
import random
import sys

RHO = 180 * 3600 / math.pi


def dms(rad):
    sec = round((rad % (2 * math.pi)) * RHO, 2)
    if sec >= 1296000:
        sec -= 1296000
    d = int(sec // 3600)
    m = int((sec - d * 3600) // 60)
    s = sec - d * 3600 - m * 60
    return "%d.%02d%04d" % (d, m, round(s * 100))


def az(p, q):
    return math.atan2(q[1] - p[1], q[0] - p[0]) % (2 * math.pi)


def dist(p, q):
    return math.hypot(q[0] - p[0], q[1] - p[1])


class Writer:
    def __init__(self, seed):
        self.rnd = random.Random(seed)
        self.lines = ["PARAM, 2, 2.8, 2, 2"]
        self.xy = {}
        self.distance_noise = 1  # the simulated deviation of a distance over PARAM's

    def known(self, name):
        x, y = self.xy[name]
        self.lines.append("POINT, %s, %.4f, %.4f" % (name, x, y))

    def angle(self, st, back, fore):
        a = az(self.xy[st], self.xy[fore]) - az(self.xy[st], self.xy[back])
        a += self.rnd.gauss(0, 2.8) / RHO
        self.lines.append("ANGLE, %s, %s, %s, %s" % (st, back, fore, dms(a)))

    def distance(self, a, b):
        s = dist(self.xy[a], self.xy[b])
        s += self.rnd.gauss(0, self.distance_noise * (2 + 2 * s / 1000)) / 1000
        self.lines.append("DIST, %s, %s, %.4f" % (a, b, s))

    def azimuth(self, a, b):
        self.lines.append("AZI, %s, %s, %s" % (a, b, dms(az(self.xy[a], self.xy[b]))))

    def write(self, path):
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(self.lines) + "\n")


def chain(n, w):
    names = ["K0"] + ["P%d" % i for i in range(n + 2)] + ["K1"]
    heading, x, y = 0.3, 50000.0, 50000.0
    for name in names:
        w.xy[name] = (x, y)
        heading += w.rnd.uniform(-0.7, 0.7)
        step = w.rnd.uniform(100, 300)
        x, y = x + step * math.cos(heading), y + step * math.sin(heading)
    for name in (names[0], names[1], names[-2], names[-1]):
        w.known(name)
    for i in range(1, len(names) - 1):
        w.angle(names[i], names[i - 1], names[i + 1])
    for i in range(1, len(names) - 2):
        w.distance(names[i], names[i + 1])


def grid(n, w):
    cols = max(2, int(math.sqrt(n)))
    rows = n // cols + 1
    name = lambda i, j: "%d-%d" % (i, j)
    for i in range(rows):
        for j in range(cols):
            w.xy[name(i, j)] = (1000 + 200.0 * i + 20 * math.sin(0.7 * j + i),
                                5000 + 200.0 * j + 20 * math.cos(0.9 * i - j))
    for j in range(cols):
        w.known(name(0, j))
    for i in range(rows):
        for j in range(cols):
            if i + 1 < rows:
                w.distance(name(i, j), name(i + 1, j))
            if j + 1 < cols and i > 0:
                w.distance(name(i, j), name(i, j + 1))
            if j > 0 and i + 1 < rows:
                w.angle(name(i, j), name(i, j - 1), name(i + 1, j))
            if i > 0 and j + 1 < cols:
                w.angle(name(i, j), name(i - 1, j), name(i, j + 1))
    return name(0, 0)


def weak(n, w, offset=1.4142):
    corner = grid(n, w)
    cx, cy = w.xy[corner]
    w.xy["Z"] = (cx - offset, cy - offset)
    w.azimuth(corner, "Z")
    w.lines.append("DIST, %s, Z, %.4f" % (corner, math.hypot(offset, offset)))


def tiny(n, w):
    weak(n, w, 0.01 / math.sqrt(2))


def direction_set(n, w, repeat=False):
    w.xy["S"] = (50000.0, 50000.0)
    w.xy["R"] = (51000.0, 50000.0)
    w.known("S")
    w.known("R")
    w.lines.append("SET, S")
    w.lines.append("DIR, S, R, 0")
    for i in range(n):
        t = "T%d" % i
        a = 2 * math.pi * (i + 0.5) / n
        w.xy[t] = (50000 + 500 * math.cos(a), 50000 + 500 * math.sin(a))
        w.lines.append("DIR, S, %s, %s" % (t, dms(az(w.xy["S"], w.xy[t]) + w.rnd.gauss(0, 2) / RHO)))
    if repeat:
        w.lines.append("DIR, S, T%d, 0" % (n // 2))
    for i in range(n):
        w.distance("S", "T%d" % i)


def repeat(n, w):
    direction_set(n, w, True)


def junction(n, w):
    k = max(2, int(math.sqrt(n / 7.0)) + 1)
    jn = lambda i, j: "J%d_%d" % (i, j)
    for i in range(k):
        for j in range(k):
            w.xy[jn(i, j)] = (20000 + 1200.0 * i + 60 * math.sin(1.3 * j + i),
                              30000 + 1200.0 * j + 60 * math.cos(0.7 * i - j))
    neighbours = {jn(i, j): [] for i in range(k) for j in range(k)}
    legs = []

    def link(a, b, tag):
        ax, ay = w.xy[a]
        bx, by = w.xy[b]
        stations = [a]
        for m in (1, 2, 3):
            name = "%s_%d" % (tag, m)
            wiggle = w.rnd.uniform(-25, 25)
            w.xy[name] = (ax + (bx - ax) * m / 4 - (by - ay) / 1200 * wiggle,
                          ay + (by - ay) * m / 4 + (bx - ax) / 1200 * wiggle)
            stations.append(name)
        stations.append(b)
        neighbours[a].append(stations[1])
        neighbours[b].append(stations[3])
        legs.append(stations)

    for i in range(k):
        for j in range(k):
            if i + 1 < k:
                link(jn(i, j), jn(i + 1, j), "V%d_%d" % (i, j))
            if j + 1 < k:
                link(jn(i, j), jn(i, j + 1), "H%d_%d" % (i, j))
    for ci, cj in ((0, 0), (0, k - 1), (k - 1, 0), (k - 1, k - 1)):
        c = jn(ci, cj)
        o = "O%d_%d" % (ci, cj)
        x, y = w.xy[c]
        w.xy[o] = (x + (-900 if ci == 0 else 900), y + (-700 if cj == 0 else 700))
        w.known(c)
        w.known(o)
        neighbours[c].insert(0, o)
    for stations in legs:
        for m in (1, 2, 3):
            w.angle(stations[m], stations[m - 1], stations[m + 1])
        for m in range(4):
            w.distance(stations[m], stations[m + 1])
    for c, around in neighbours.items():
        around.sort(key=lambda t: az(w.xy[c], w.xy[t]))
        for m in range(len(around) - 1):
            w.angle(c, around[m], around[m + 1])


def twice_noisy_grid(n, w):
    w.distance_noise = 2
    grid(n, w)


def main():
    kind, n, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    w = Writer(20261209)
    {"chain": chain, "weak": weak, "tiny": tiny, "set": direction_set, "repeat": repeat,
     "junction": junction, "grid": grid, "grid2": twice_noisy_grid}[kind](n, w)
    w.write(out)


if __name__ == "__main__":
    main()
