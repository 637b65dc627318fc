#include "geometry.h"

namespace walk {

bool crossesFrontToBack(D3 p, D3 q, const Tri& t) {
    const D3 n = t.normal();
    const double dp = dot(n, p - t.a);
    const double dq = dot(n, q - t.a);
    if (!(dp > 0 && dq <= 0) || dp == dq) return false;
    const D3 x = p + (q - p) * (dp / (dp - dq));
    const D3 corners[3] = {t.a, t.b, t.c};
    for (int i = 0; i < 3; ++i) {
        const D3 from = corners[i], to = corners[(i + 1) % 3];
        if (dot(cross(to - from, x - from), n) < 0) return false;
    }
    return true;
}

double rayHit(D3 origin, D3 dir, double limit, const Tri& t) {
    // Moller-Trumbore, without culling either side.
    const D3 e1 = t.b - t.a, e2 = t.c - t.a;
    const D3 h = cross(dir, e2);
    const double det = dot(e1, h);
    if (det == 0) return -1;
    const D3 s = origin - t.a;
    const double u = dot(s, h) / det;
    if (u < 0 || u > 1) return -1;
    const D3 qv = cross(s, e1);
    const double v = dot(dir, qv) / det;
    if (v < 0 || u + v > 1) return -1;
    const double along = dot(e2, qv) / det;
    return along >= 0 && along <= limit ? along : -1;
}

D3 closestPoint(D3 p, const Tri& t) {
    // Ericson, Real-Time Collision Detection, 5.1.5: by Voronoi regions.
    const D3 ab = t.b - t.a, ac = t.c - t.a, ap = p - t.a;
    const double d1 = dot(ab, ap), d2 = dot(ac, ap);
    if (d1 <= 0 && d2 <= 0) return t.a;
    const D3 bp = p - t.b;
    const double d3 = dot(ab, bp), d4 = dot(ac, bp);
    if (d3 >= 0 && d4 <= d3) return t.b;
    const double vc = d1 * d4 - d3 * d2;
    if (vc <= 0 && d1 >= 0 && d3 <= 0) return t.a + ab * (d1 / (d1 - d3));
    const D3 cp = p - t.c;
    const double d5 = dot(ab, cp), d6 = dot(ac, cp);
    if (d6 >= 0 && d5 <= d6) return t.c;
    const double vb = d5 * d2 - d1 * d6;
    if (vb <= 0 && d2 >= 0 && d6 <= 0) return t.a + ac * (d2 / (d2 - d6));
    const double va = d3 * d6 - d5 * d4;
    if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0)
        return t.b + (t.c - t.b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    const double denom = 1 / (va + vb + vc);
    return t.a + ab * (vb * denom) + ac * (vc * denom);
}

}  // namespace walk
