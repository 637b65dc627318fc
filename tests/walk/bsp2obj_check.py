#!/usr/bin/env python3
"""Converts a tiny IBSP level written here and checks the OBJ files: the
floor, wound clockwise as the games store it, faces +Y; a curved patch whose
grid runs the other way faces +Y too; the sky goes to the sky file; water
and a brush entity's face are left out.
  bsp2obj_check.py BSP2OBJ.py SCRATCH_DIR"""

import os
import struct
import subprocess
import sys

SOLID, SKY, WATER = 0, 1, 2
WATER_Y = 7.0  # height (y after conversion) that only the water face has


def vertex(x, y, z, normal=(0, 0, 1)):
    return struct.pack("<3f4f3f4B", x, y, z, 0, 0, 0, 0, *normal, 255, 255, 255, 255)


def surface(shader, kind, first_vertex, vertex_count, first_index=0, index_count=0, size=(0, 0)):
    return struct.pack("<12i12f2i", shader, -1, kind, first_vertex, vertex_count, first_index, index_count,
                       0, 0, 0, 0, 0, *([0.0] * 12), *size)


def square(z, clockwise_from_above):
    """Four corners of a 10 x 10 square at height z, and the indices of its
    two triangles, clockwise seen from above when asked to be."""
    corners = [vertex(0, 0, z), vertex(10, 0, z), vertex(10, 10, z), vertex(0, 10, z)]
    # Counter-clockwise from above (+z): 0 1 2, 0 2 3.
    return corners, ([0, 2, 1, 0, 3, 2] if clockwise_from_above else [0, 1, 2, 0, 2, 3])


def level_bytes():
    shaders = b"".join(struct.pack("<64sii", name, flags, contents) for name, flags, contents in
                       ((b"floor", 0, 1), (b"sky", 0x4, 1), (b"water", 0, 32)))
    vertices, indices, surfaces = [], [], []
    for shader, z, kind in ((SOLID, 0, 1), (SKY, 50, 1), (WATER, WATER_Y, 1), (SOLID, 20, 3), (SOLID, 30, 1)):
        corners, tri = square(z, clockwise_from_above=True)
        surfaces.append(surface(shader, kind, len(vertices), 4, len(indices), 6))
        vertices += corners
        indices += tri
    # A flat 3 x 3 patch at z = 5 whose rows run so that the plain grid
    # order faces down; its normals say up.
    patch = [vertex(10 - 5 * i, 5 * j, 5) for j in range(3) for i in range(3)]
    surfaces.insert(4, surface(SOLID, 2, len(vertices), 9, size=(3, 3)))
    vertices += patch
    # Model 0 has the first five surfaces (the face at z = 30 is a door's).
    model = struct.pack("<6f4i", 0, 0, 0, 10, 10, 50, 0, 5, 0, 0)
    lumps = {1: shaders, 7: model, 10: b"".join(vertices), 11: struct.pack(f"<{len(indices)}i", *indices),
             13: b"".join(surfaces)}
    header_size = 8 + 17 * 8
    table, body = [], b""
    for lump in range(17):
        data = lumps.get(lump, b"")
        table.append(struct.pack("<ii", header_size + len(body), len(data)))
        body += data
    return b"IBSP" + struct.pack("<i", 46) + b"".join(table) + body


def read_obj(path):
    points, triangles = [], []
    for line in open(path):
        words = line.split()
        if words and words[0] == "v":
            points.append(tuple(float(w) for w in words[1:4]))
        elif words and words[0] == "f":
            triangles.append(tuple(points[int(w) - 1] for w in words[1:4]))
    return triangles


def front_y(tri):
    a, b, c = tri
    u = [b[i] - a[i] for i in range(3)]
    v = [c[i] - a[i] for i in range(3)]
    return u[2] * v[0] - u[0] * v[2]


def main():
    converter, scratch = sys.argv[1], sys.argv[2]
    os.makedirs(scratch, exist_ok=True)
    bsp = os.path.join(scratch, "tiny.bsp")
    with open(bsp, "wb") as f:
        f.write(level_bytes())
    subprocess.run([sys.executable, converter, "--subdivision", "2", "--out", scratch, bsp], check=True)
    solid = read_obj(os.path.join(scratch, "tiny.obj"))
    sky = read_obj(os.path.join(scratch, "tiny-sky.obj"))
    heights = sorted({round(t[0][1], 3) for t in solid})
    failures = []
    if heights != [0.0, 5.0, 20.0]:
        failures.append(f"solid heights {heights}, want the floor, the patch and the soup (0, 5, 20)")
    if len(solid) != 2 + 2 + 2 * 2 * 2:
        failures.append(f"{len(solid)} solid triangles, want 12")
    if any(front_y(t) <= 0 for t in solid):
        failures.append("a floor triangle faces down")
    if len(sky) != 2 or any(t[0][1] != 50 for t in sky):
        failures.append(f"sky file: {sky}")
    if any(abs(p[2]) > 10 or p[2] > 0 for t in solid for p in t):
        failures.append("z is not -y of the level (the rotation about x)")
    for failure in failures:
        print("FAIL:", failure)
    print("bsp2obj check:", "ok" if not failures else f"{len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
