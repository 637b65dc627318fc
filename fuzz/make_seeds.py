#!/usr/bin/env python3
"""Writes the seed corpus of the command fuzzer (fuzz/corpus/).

Each seed is a command sequence in the fuzzer's input encoding (see
input_reader.h, generators.h and command_fuzzer.cpp): one operation byte (its
low five bits pick the operation), then one byte per argument. Seeds build
real scenes so that the fuzzer starts from passes that make contacts: small
hand-made ones, and large ones (terrain grids of thousands of triangles, a
crowd of movers walking on them, far coordinates and tiny radii, sawtooth
floors that make long contact chains).
"""
import os
import struct

(MOVE, RUN, FRAMES, NEW, SHAPE, ACT, RADIUS, TRI, GRID, _MOVE2, _RUN2, _NEW2, BLOCK, DEACT, FREE, RULE,
 PEEK, COUNT, QUERY, _QUERY2, STACK, CHECK, CROWD, _GRID2, SYSTEM, ALLOC) = range(26)
NAN, INF = 0x80 + 15, 0x80 + 13
ELLIPSOID, MESH = 1, 2
LENGTHS = [1.0, 0.5, 2.0, 0.25, 4.0, 1.5, 0.125, 8.0, 1e-3, 1e3, 1e-6, 1e6, 3e-4, 0.1, 1e-20, 1e20]
FAR = [0.0, 1e4, -3e5, 1e6, -8388608.5, 1.6e7, -1e9, 1e12]


def raw(v):
    return [0xE0] + list(struct.pack("<f", v))


def f(v):
    """A float argument: one byte for quarters from -16 to 15.75, else raw."""
    b = v * 4 + 64
    return [int(b)] if b == int(b) and 0 <= b < 0x80 else raw(v)


def floats(*values):
    return [byte for v in values for byte in f(v)]


def length(v):
    return [LENGTHS.index(v)]


def offset(v):
    """A coordinate: a far base plus a small whole number, or any float."""
    for i, base in enumerate(FAR):
        k = v - base
        if k == int(k) and -8 <= k <= 7:
            return [(int(k) + 8) << 3 | i]
    return [0x80] + raw(v)  # a byte from 0x80 on: a float argument follows


def move(obj, x, y, z):
    return [MOVE, obj, 0] + floats(x, y, z) + [0, 0, 0, 0]


def move_far(obj, x, y, z):
    return [MOVE, obj, 0xC0] + offset(x) + offset(y) + offset(z) + [0, 0, 0, 0]


def radius(obj, rx, ry, rz):
    return [RADIUS, obj, 0] + floats(rx, ry, rz)


def tri(obj, *corners):
    return [TRI, obj] + floats(*corners)


def grid(obj, style, columns, rows, cell, amplitude, origin, seed=7, negative=False):
    return ([GRID, obj, style, columns - 1, rows - 1] + length(cell) + length(amplitude) + [1 if negative else 0]
            + offset(origin[0]) + offset(origin[1]) + offset(origin[2]) + [seed])


def crowd(count, base_byte, kind, typ, origin, spacing, r):
    return ([CROWD, count - 1, base_byte, kind, typ] + offset(origin[0]) + offset(origin[1]) + offset(origin[2])
            + length(spacing) + length(r))


def frames(count, mode, vx, vy, vz):
    return [FRAMES, count - 1, mode] + floats(vx, vy, vz)


def rule(a, b):
    return [RULE, a, b, 0, 0, 0, 0]


def mesh_object(obj, typ, triangles, at=(0, 0, 0)):
    out = [NEW, obj, typ, SHAPE, obj, MESH]
    for t in triangles:
        out += tri(obj, *t)
    return out + move(obj, *at) + [ACT, obj]


def mover(obj, typ, radii, start):
    return [NEW, obj, typ, SHAPE, obj, ELLIPSOID] + radius(obj, *radii) + move(obj, *start) + [ACT, obj]


FLOOR = (-30, 0, -30, -30, 0, 90, 90, 0, -30)
RAMP = (-14, -12, -30, -14, -12, 90, 50, 36, -30)
WALL = (-30, -30, 3.5, -30, 90, 3.5, 90, -30, 3.5)
QUERIES = [COUNT, 1, QUERY, 1, 0, 1, 2, QUERY, 1, 1, 2, 1, QUERY, 1, 2, 1, QUERY, 1, 3, 2, QUERY, 1, 4, 1, 2, 3,
           PEEK, 1, 0, PEEK, 1, 1, PEEK, 1, 2]


def drop():
    return (rule(1, 2) + mesh_object(2, 2, [FLOOR]) + mover(1, 1, (1, 1, 1), (-1, 5, -1))
            + move(1, -1, -5, -1) + [RUN] + QUERIES
            + [STACK, 1, FREE, 2, STACK, 2, RUN, COUNT, 1])


def trough_by_block():
    vertices = [FLOOR[i:i + 3] for i in range(0, 9, 3)] + [RAMP[i:i + 3] for i in range(0, 9, 3)] \
        + [WALL[i:i + 3] for i in range(0, 9, 3)]
    block = [BLOCK, 2, 1, 9, 0]  # vertex size 16, nine vertices, decoded coordinates
    for v in vertices:
        block += floats(*v)
    return (rule(1, 2) + [NEW, 2, 2, SHAPE, 2, MESH, SHAPE, 2, MESH] + block + move(2, 0, 0, 0) + [ACT, 2]
            + mover(1, 1, (1, 1, 1), (0, 1.5, 0)) + move(1, 3, -2, 3) + [RUN] + QUERIES + [RUN, CHECK, 1, 1])


def exhaustion():
    return [ALLOC, 9] + drop() + [ALLOC, 0xF0, SYSTEM, 2] + drop()


def hostile_numbers():
    return (rule(1, 2) + mesh_object(2, 2, [FLOOR, WALL]) + mover(1, 1, (1, 2, 1), (0, 3, 0))
            + [MOVE, 1, 0, NAN] + f(-4) + [INF, 0, 0, 0, 0, RUN] + QUERIES
            + [MOVE, 1, 0] + raw(1e-40) + raw(3e38) + raw(-3e38) + [0, 0, 0, 0, RUN]
            + [RADIUS, 1, 0] + raw(1e-38) + f(1) + [NAN] + [RADIUS, 1, 0] + raw(1e-38) + raw(1e30) + f(0.25) + [RUN]
            + [NEW, 0xF0, 1, NEW, 0xF2, 1, FREE, 0xF1, SYSTEM, 4, QUERY, 1, 4, 0, 5, 1, SYSTEM, 0, RUN, STACK, 3])


def walk_and_free():
    out = rule(1, 1)
    for n in range(1, 6):
        out += mesh_object(n, 1, [FLOOR], at=(0, -n, 0)) + [SHAPE, n, 1] + move(n, 0, 4, 0)
    return out + [RUN, STACK, 1, FREE, 2, STACK, 0, DEACT, 3, STACK, 0, FREE, 5, STACK, 2, ACT, 1, STACK, 0, RUN]


def terrain_crowd():
    """Bumpy terrain of 1,152 triangles and 100 movers walking down onto it."""
    return (rule(1, 2) + [NEW, 200 % 8, 2, SHAPE, 200 % 8, MESH]
            + grid(0, 0x03, 24, 24, 1.0, 0.5, (-4, 0, -4)) + move(0, 0, 0, 0) + move(0, 0, 0, 0) + [ACT, 0]
            + crowd(100, 0, 0x00, 1, (0, 2, 0), 2.0, 0.5)
            + frames(8, 0x20 | 0x02, 0.25, -0.5, 0.25) + QUERIES + [COUNT, 0, STACK, 5]
            + frames(4, 0x10, -0.5, -0.25, 0.5))


def far_tiny():
    """A floor far from the origin and movers of tiny and flat radii on it."""
    return (rule(1, 2) + [NEW, 2, 2, SHAPE, 2, MESH]
            + grid(2, 0x00, 40, 40, 0.125, 1.0, (1e6, 0, 1e6)) + move(2, 0, 0, 0) + move(2, 0, 0, 0) + [ACT, 2]
            + [NEW, 1, 1, SHAPE, 1, ELLIPSOID, RADIUS, 1, 0x81] + length(1e-3) + length(1.0)
            + move_far(1, 1e6 + 2, 1, 1e6 + 2) + move_far(1, 1e6 + 2, 1, 1e6 + 2) + [ACT, 1]
            + move_far(1, 1e6 + 3, -1, 1e6 + 2) + [RUN] + QUERIES
            + crowd(16, 1, 0x08, 1, (1e6, 1, 1e6), 0.25, 1e-3) + frames(3, 0x04, 0.25, -0.5, 0))


def sawtooth_chain():
    """A corrugated floor swept fast along its ridges: a long contact chain."""
    return (rule(1, 2) + [NEW, 2, 2, SHAPE, 2, MESH]
            + grid(2, 0x01 | 0x20, 64, 6, 0.25, 0.5, (0, 0, 0)) + move(2, 0, 0, 0) + [ACT, 2]
            + grid(2, 0x04 | 0x40, 8, 8, 0.5, 0.125, (12, -2, -1))
            + mover(1, 1, (0.5, 0.25, 0.5), (0.5, 0.5, 0.75)) + move(1, 15, -1, 1) + [RUN] + QUERIES
            + [RADIUS, 1, 0x85] + length(1.0) + length(0.1) + length(0.25) + move(1, 1, -1, 0.5) + [RUN] + QUERIES)


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(folder, exist_ok=True)
    for name, seed in [("drop", drop()), ("trough_by_block", trough_by_block()), ("exhaustion", exhaustion()),
                       ("hostile_numbers", hostile_numbers()), ("walk_and_free", walk_and_free()),
                       ("terrain_crowd", terrain_crowd()), ("far_tiny", far_tiny()),
                       ("sawtooth_chain", sawtooth_chain())]:
        with open(os.path.join(folder, name), "wb") as out:
            out.write(bytes(seed))


if __name__ == "__main__":
    main()
