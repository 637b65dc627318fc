"""Reading the parts of a version-46 IBSP level (the Quake 3 format) that
describe the world's visible surfaces: shaders, vertices, mesh indices,
models and draw surfaces."""

import struct
from dataclasses import dataclass

MAGIC = b"IBSP"
VERSION = 46
LUMP_COUNT = 17
SHADERS, MODELS, VERTICES, MESH_INDICES, SURFACES = 1, 7, 10, 11, 13

# Draw surface kinds.
PLANAR, PATCH, TRIANGLE_SOUP, FLARE = 1, 2, 3, 4

# Shader flags that decide what a walker can stand on.
CONTENTS_LAVA, CONTENTS_SLIME, CONTENTS_WATER, CONTENTS_FOG = 8, 16, 32, 64
SURF_SKY, SURF_NONSOLID = 0x4, 0x4000


class BspError(Exception):
    pass


@dataclass
class Shader:
    name: str
    surface_flags: int
    content_flags: int


@dataclass
class Vertex:
    position: tuple
    normal: tuple


@dataclass
class Surface:
    shader: int
    kind: int
    first_vertex: int
    vertex_count: int
    first_index: int
    index_count: int
    patch_size: tuple  # control grid width and height, for patches


@dataclass
class Level:
    shaders: list
    vertices: list
    mesh_indices: list
    world_surfaces: list  # model 0's draw surfaces only


def _records(data, lumps, lump, layout):
    offset, length = lumps[lump]
    size = struct.calcsize(layout)
    if length % size:
        raise BspError(f"lump {lump} is {length} bytes, not a multiple of {size}")
    return [struct.unpack_from(layout, data, offset + i * size) for i in range(length // size)]


def _lump_table(data):
    if len(data) < 8 + 8 * LUMP_COUNT or data[:4] != MAGIC:
        raise BspError("not an IBSP file")
    version = struct.unpack_from("<i", data, 4)[0]
    if version != VERSION:
        raise BspError(f"IBSP version {version}, only {VERSION} is read")
    lumps = [struct.unpack_from("<ii", data, 8 + 8 * i) for i in range(LUMP_COUNT)]
    for offset, length in lumps:
        if offset < 0 or length < 0 or offset + length > len(data):
            raise BspError("a lump lies outside the file")
    return lumps


def read_level(data):
    lumps = _lump_table(data)
    shaders = [Shader(r[0].split(b"\0")[0].decode("latin-1"), r[1], r[2])
               for r in _records(data, lumps, SHADERS, "<64sii")]
    # position, two texture coordinates, normal, colour
    vertices = [Vertex(r[0:3], r[7:10]) for r in _records(data, lumps, VERTICES, "<3f4f3f4B")]
    mesh_indices = [r[0] for r in _records(data, lumps, MESH_INDICES, "<i")]
    models = _records(data, lumps, MODELS, "<6f4i")
    surfaces = [Surface(r[0], r[2], r[3], r[4], r[5], r[6], (r[24], r[25]))
                for r in _records(data, lumps, SURFACES, "<12i12f2i")]
    if not models:
        raise BspError("the level has no world model")
    first, count = models[0][6], models[0][7]
    return Level(shaders, vertices, mesh_indices, surfaces[first:first + count])
