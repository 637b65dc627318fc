#!/usr/bin/env python3
"""Writes the seed corpus of the command fuzzer (fuzz/corpus/).

Each seed is a short command sequence in the fuzzer's input encoding (see
input_reader.h and command_fuzzer.cpp): one opcode byte (the command's ordinal
minus one; 26 makes allocations fail, 27 restores them), then one byte per
argument. Seeds build real scenes so that the fuzzer starts from passes that
make contacts instead of having to find a working scene by chance.
"""
import os
import struct

START, DEBUG, STOP, RULE, NEW, CHECK, SHAPE, ACT, DEACT, RADIUS, TRI, BLOCK, MOVE, RESET, PEEK, RUN = range(16)
PX, PY, PZ, FREE, COUNT, HIT, NORM, OBJHIT, POLY, CORNER, FAIL, RESTORE = range(16, 28)
NAN, INF = 0x80 + 15, 0x80 + 13


def raw(v):
    return [0xE0] + list(struct.pack("<f", v))


def f(v):
    """A float argument: one byte for quarters from -16 to 15.75, else raw."""
    b = v * 4 + 64
    return [int(b)] if b == int(b) and 0 <= b < 0x80 else raw(v)


def floats(*values):
    return [byte for v in values for byte in f(v)]


def tri(obj, *corners):
    return [TRI, obj] + floats(*corners)


def move(obj, x, y, z):
    return [MOVE, obj] + floats(x, y, z) + [0, 0, 0, 0]


def mesh_object(obj, typ, triangles, at=(0, 0, 0)):
    out = [NEW, obj, typ, SHAPE, obj, 2]
    for t in triangles:
        out += tri(obj, *t)
    return out + move(obj, *at) + [ACT, obj]


def mover(obj, typ, radii, start):
    return [NEW, obj, typ, SHAPE, obj, 1, RADIUS, obj] + floats(*radii) + move(obj, *start) + [ACT, obj]


FLOOR = (-30, 0, -30, -30, 0, 90, 90, 0, -30)
RAMP = (-14, -12, -30, -14, -12, 90, 50, 36, -30)
WALL = (-30, -30, 3.5, -30, 90, 3.5, 90, -30, 3.5)
QUERIES = [COUNT, 1, HIT, 1, 1, 2, NORM, 1, 2, 1, OBJHIT, 1, 1, POLY, 1, 2, CORNER, 1, 2, 3, 2, PX, 1, PY, 1, PZ, 1]


def drop():
    return ([START, RULE, 1, 2, 0, 0, 0, 0] + mesh_object(2, 2, [FLOOR]) + mover(1, 1, (1, 1, 1), (-1, 5, -1))
            + move(1, -1, -5, -1) + [RUN] + QUERIES
            + [RESET, PEEK, FREE, 2, PEEK, PEEK, RUN, COUNT, 1])


def trough_by_block():
    vertices = [FLOOR[i:i + 3] for i in range(0, 9, 3)] + [RAMP[i:i + 3] for i in range(0, 9, 3)] \
        + [WALL[i:i + 3] for i in range(0, 9, 3)]
    block = [BLOCK, 2, 1, 9, 0]  # vertex size 16, nine vertices, decoded coordinates
    for v in vertices:
        block += floats(*v)
    return ([RULE, 1, 2, 0, 0, 0, 0, NEW, 2, 2, SHAPE, 2, 2, SHAPE, 2, 2] + block + move(2, 0, 0, 0) + [ACT, 2]
            + mover(1, 1, (1, 1, 1), (0, 1.5, 0)) + move(1, 3, -2, 3) + [RUN] + QUERIES + [RUN, CHECK, 1, 1])


def exhaustion():
    return [FAIL, 9] + drop() + [RESTORE] + drop()


def hostile_numbers():
    return ([RULE, 1, 2, 0, 0, 0, 0] + mesh_object(2, 2, [FLOOR, WALL]) + mover(1, 1, (1, 2, 1), (0, 3, 0))
            + [MOVE, 1, NAN] + f(-4) + [INF, 0, 0, 0, 0, RUN] + QUERIES
            + [MOVE, 1] + raw(1e-40) + raw(3e38) + raw(-3e38) + [0, 0, 0, 0, RUN]
            + [RADIUS, 1] + raw(1e-38) + f(1) + [NAN] + [RADIUS, 1] + raw(1e-38) + raw(1e30) + f(0.25) + [RUN]
            + [NEW, 0xF0, 1, NEW, 0xF2, 1, FREE, 0xF1, DEBUG, CORNER, 1, 0, 5, 1, STOP, RUN, PEEK])


def walk_and_free():
    out = [RULE, 1, 1, 0, 0, 0, 0]
    for n in range(1, 6):
        out += mesh_object(n, 1, [FLOOR], at=(0, -n, 0)) + [SHAPE, n, 1] + move(n, 0, 4, 0)
    return out + [RUN, RESET, PEEK, FREE, 2, PEEK, DEACT, 3, PEEK, FREE, 5, PEEK, PEEK, ACT, 1, PEEK, RUN]


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, seed in [("drop", drop()), ("trough_by_block", trough_by_block()), ("exhaustion", exhaustion()),
                       ("hostile_numbers", hostile_numbers()), ("walk_and_free", walk_and_free())]:
        with open(os.path.join(folder, name), "wb") as out:
            out.write(bytes(seed))


if __name__ == "__main__":
    main()
