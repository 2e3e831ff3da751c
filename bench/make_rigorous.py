#!/usr/bin/env python3
"""Writes a data file of the weighted adjustment with the shortest lines a
traverse of that many stations can have: a straight traverse due north with
legs of 1 m, every angle 180°, level one-way sights from marks at ground
level, one-letter names ("a,180,1,0,0,0,0,0,0"). It closes exactly, so no
question about a gross misclosure is asked.

usage: make_rigorous.py STATIONS DATA.dat
"""
import sys


def main():
    n, path = int(sys.argv[1]), sys.argv[2]
    lines = [f"{n - 1},0,0,0,0", "A,-1,0,0", "B,0,0,0", f"C,{n - 1},0,0", f"D,{n},0,0"]
    for i in range(n):
        lines.append(f"a,180,{1 if i < n - 1 else 0},0,0,0,0,0,0")
    with open(path, "wb") as out:
        out.write(("\r\n".join(lines) + "\r\n\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
