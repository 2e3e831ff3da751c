#!/usr/bin/env python3
"""Writes a levelling junction network for timing `korvane-cli level`.

usage: make_levelling.py SIZE OUT.lev
A grid of SIZE new points (a square of side ceil(sqrt(SIZE))), every point
joined to its east and south neighbours by a section of 0.5 to 2 km, and
four benchmarks at the corners joined to the corner points. Heights and
errors come from a fixed seed (fourth order, distances as weights).
"""
import math
import random
import sys


def main():
    size, out = int(sys.argv[1]), sys.argv[2]
    rnd = random.Random(24)
    side = math.isqrt(size - 1) + 1
    names = [f"P{k}" for k in range(size)]
    height = [50 + 10 * math.sin(k / 37.0) + rnd.uniform(-5, 5) for k in range(size)]
    lines = ["# generated levelling network for timing", "PARAM, L, 四等, 平地"]
    corners = [0, side - 1, (size - 1) // side * side, size - 1]
    for c, k in enumerate(corners):
        lines.append(f"BM, BM{c}, {height[k] + 1.0:.3f}")

    def section(a_name, a_h, b_name, b_h):
        length = rnd.uniform(0.5, 2.0)
        error = rnd.gauss(0, 20 * math.sqrt(length)) / 1000 / 2
        lines.append(f"SEC, {a_name}, {b_name}, {b_h - a_h + error:.4f}, {length:.2f}")

    for c, k in enumerate(corners):
        section(f"BM{c}", height[k] + 1.0, names[k], height[k])
    for k in range(size):
        row, col = divmod(k, side)
        if col + 1 < side and k + 1 < size:
            section(names[k], height[k], names[k + 1], height[k + 1])
        if k + side < size:
            section(names[k], height[k], names[k + side], height[k + side])
    with open(out, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


if __name__ == "__main__":
    main()
