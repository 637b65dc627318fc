"""Tessellating a curved patch: a grid of control points, read as
biquadratic Bezier pieces over each 3 x 3 block that shares its edge rows
with its neighbours."""


def _weights(t):
    s = 1.0 - t
    return (s * s, 2.0 * s * t, t * t)


def _blend(w, a, b, c):
    # At t = 0 or 1 two weights are exactly zero, so a piece's edge is its
    # control points to the bit and neighbouring pieces meet without gaps.
    return tuple(w[0] * a[i] + w[1] * b[i] + w[2] * c[i] for i in range(3))


def _evaluate(block, u, v):
    wu, wv = _weights(u), _weights(v)
    rows = [_blend(wu, *row) for row in block]
    return _blend(wv, *rows)


def _blocks(grid, width, height):
    """Each 3 x 3 block of the control grid (row-major, width columns)."""
    for top in range(0, height - 2, 2):
        for left in range(0, width - 2, 2):
            yield [[grid[(top + r) * width + left + c] for c in range(3)] for r in range(3)]


def tessellate(positions, normals, width, height, level):
    """Triangles (a, b, c, normal_at_centre) of the patch, level steps per
    piece side. The corner order is one fixed order per piece; the caller
    decides the front from the returned normal."""
    if width < 3 or height < 3 or width % 2 == 0 or height % 2 == 0:
        return []
    triangles = []
    for block, nblock in zip(_blocks(positions, width, height), _blocks(normals, width, height)):
        step = 1.0 / level
        points = [[_evaluate(block, i * step, j * step) for i in range(level + 1)]
                  for j in range(level + 1)]
        for j in range(level):
            for i in range(level):
                a, b = points[j][i], points[j][i + 1]
                c, d = points[j + 1][i + 1], points[j + 1][i]
                for tri, (cu, cv) in (((a, b, c), (i + 2 / 3, j + 1 / 3)),
                                      ((a, c, d), (i + 1 / 3, j + 2 / 3))):
                    normal = _evaluate(nblock, cu * step, cv * step)
                    triangles.append((*tri, normal))
    return triangles
