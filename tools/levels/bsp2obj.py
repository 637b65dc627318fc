#!/usr/bin/env python3
"""Converts the world of Quake 3 format levels (IBSP version 46) to Wavefront
OBJ files for the walk driver: NAME.obj with the solid surfaces and
NAME-sky.obj with the sky, Y up, every triangle's front the side of
(c2 - c1) x (c3 - c1) as the library reads it.

  bsp2obj.py [--subdivision N] [--pk3 FILE]... --out DIR MAP...

A MAP is a .bsp file, or with --pk3 a path inside those archives
(maps/NAME.bsp), looked for in each archive in turn."""

import argparse
import hashlib
import os
import struct
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bezier  # noqa: E402
import ibsp  # noqa: E402

NOT_STANDABLE = ibsp.CONTENTS_LAVA | ibsp.CONTENTS_SLIME | ibsp.CONTENTS_WATER | ibsp.CONTENTS_FOG


def classify(shader):
    """'solid', 'sky', or None for a surface nothing stands on."""
    if shader.content_flags & NOT_STANDABLE or shader.surface_flags & ibsp.SURF_NONSOLID:
        return None
    return "sky" if shader.surface_flags & ibsp.SURF_SKY else "solid"


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def front(a, b, c):
    return cross(sub(b, a), sub(c, a))


def float32(value):
    # +0.0 turns a negative zero into a plain one, so no "-0" is written.
    return struct.unpack("<f", struct.pack("<f", value))[0] + 0.0


def y_up(p):
    """Z up to Y up by a rotation about x (a swap of y and z would mirror the
    level and turn every triangle's front to its back)."""
    return (float32(p[0]), float32(p[2]), float32(-p[1]))


class Stats:
    def __init__(self):
        self.against_normals = 0  # stored triangles whose front disagrees with their vertex normals
        self.stored = 0
        self.degenerate = 0
        self.left_out = 0


def stored_triangles(level, surface, stats):
    """A planar face or triangle soup as stored. These levels wind their
    triangles clockwise seen from the front, so corners 2 and 3 swap."""
    base = surface.first_vertex
    indices = level.mesh_indices[surface.first_index:surface.first_index + surface.index_count]
    for k in range(0, len(indices) - 2, 3):
        corners = [level.vertices[base + indices[k + i]] for i in (0, 2, 1)]
        normal = tuple(sum(v.normal[i] for v in corners) for i in range(3))
        stats.stored += 1
        tri = tuple(v.position for v in corners)
        if dot(front(*tri), normal) < 0:
            stats.against_normals += 1
        yield tri


def patch_triangles(level, surface, subdivision):
    """A curved patch tessellated, each triangle turned to face the way the
    patch's normals there point; where those say nothing useful (a normal
    edge-on or zero) it takes the way most of the patch faces."""
    vertices = level.vertices[surface.first_vertex:surface.first_vertex + surface.vertex_count]
    width, height = surface.patch_size
    if width * height != len(vertices):
        return []
    pieces = bezier.tessellate([v.position for v in vertices], [v.normal for v in vertices],
                               width, height, subdivision)
    votes, decided = 0, []
    for a, b, c, normal in pieces:
        n = front(a, b, c)
        scale = (dot(n, n) * dot(normal, normal)) ** 0.5
        agreement = dot(n, normal) / scale if scale > 0 else 0.0
        sign = 0 if abs(agreement) < 0.05 else (1 if agreement > 0 else -1)
        votes += sign
        decided.append(((a, b, c), sign))
    fallback = -1 if votes < 0 else 1
    return [tri if (sign or fallback) > 0 else (tri[0], tri[2], tri[1]) for tri, sign in decided]


def convert(level, subdivision):
    """(solid triangles, sky triangles, stats), Y up, degenerate ones dropped."""
    out = {"solid": [], "sky": []}
    stats = Stats()
    for surface in level.world_surfaces:
        if not 0 <= surface.shader < len(level.shaders):
            raise ibsp.BspError(f"a surface names shader {surface.shader}")
        kind = classify(level.shaders[surface.shader])
        if kind is None or surface.kind not in (ibsp.PLANAR, ibsp.PATCH, ibsp.TRIANGLE_SOUP):
            stats.left_out += 1
            continue
        if surface.kind == ibsp.PATCH:
            triangles = patch_triangles(level, surface, subdivision)
        else:
            triangles = stored_triangles(level, surface, stats)
        for tri in triangles:
            turned = tuple(y_up(p) for p in tri)
            n = front(*turned)
            if dot(n, n) == 0:
                stats.degenerate += 1
                continue
            out[kind].append(turned)
    return out["solid"], out["sky"], stats


def obj_text(triangles, title):
    index, lines, faces = {}, [f"# {title}\n"], []
    for tri in triangles:
        ids = []
        for p in tri:
            if p not in index:
                index[p] = len(index) + 1
                lines.append("v %.9g %.9g %.9g\n" % p)
            ids.append(index[p])
        faces.append("f %d %d %d\n" % tuple(ids))
    return "".join(lines + faces).encode()


def write_obj(path, triangles, title):
    data = obj_text(triangles, title)
    with open(path, "wb") as f:
        f.write(data)
    return hashlib.sha256(data).hexdigest()


def read_map(name, archives):
    if not archives:
        with open(name, "rb") as f:
            return f.read()
    for archive in archives:
        with zipfile.ZipFile(archive) as z:
            if name in z.namelist():
                return z.read(name)
    raise ibsp.BspError(f"{name} is in none of the archives")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--pk3", action="append", default=[])
    parser.add_argument("--subdivision", type=int, default=6, help="steps per side of a patch piece")
    parser.add_argument("--out", required=True)
    parser.add_argument("maps", nargs="+")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name in args.maps:
        stem = os.path.splitext(os.path.basename(name))[0]
        try:
            level = ibsp.read_level(read_map(name, args.pk3))
        except (ibsp.BspError, OSError) as error:
            sys.exit(f"{name}: {error}")
        solid, sky, stats = convert(level, args.subdivision)
        solid_sum = write_obj(os.path.join(args.out, stem + ".obj"), solid, f"{stem}: solid surfaces")
        sky_sum = write_obj(os.path.join(args.out, stem + "-sky.obj"), sky, f"{stem}: sky surfaces")
        print(f"{stem}: solid {len(solid)} triangles, sky {len(sky)}; {stats.left_out} surfaces left out, "
              f"{stats.degenerate} degenerate triangles dropped, {stats.against_normals} of {stats.stored} "
              f"stored triangles face against their vertex normals")
        print(f"  sha256 {solid_sum}  {stem}.obj")
        print(f"  sha256 {sky_sum}  {stem}-sky.obj")


if __name__ == "__main__":
    main()
