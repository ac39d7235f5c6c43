// Segment intersection shared by curve editing, picking and terrain generation.
#include <cmath>
#include "core/isc.h"

namespace {
double Dst(const double p[2], const double q[2]) { return std::hypot(p[0] - q[0], p[1] - q[1]); }
}  // namespace

int IntscSeg(const double a[2], const double b[2], const double c[2], const double d[2],
             double out[2][2]) {
    const double lab = Dst(a, b), lcd = Dst(c, d);
    if (lab < 0.001 || lcd < 0.001) return 0;
    // Touching ends are not crossings: chained segments of one polyline share their ends.
    if (Dst(a, c) < 0.001 || Dst(a, d) < 0.001 || Dst(b, c) < 0.001 || Dst(b, d) < 0.001)
        return -1;

    const double e = 0.0001;
    if (std::fmin(a[0], b[0]) - e > std::fmax(c[0], d[0]) ||
        std::fmax(a[0], b[0]) + e < std::fmin(c[0], d[0]) ||
        std::fmin(a[1], b[1]) - e > std::fmax(c[1], d[1]) ||
        std::fmax(a[1], b[1]) + e < std::fmin(c[1], d[1]))
        return 0;

    const double det = (a[0] - b[0]) * (c[1] - d[1]) - (c[0] - d[0]) * (a[1] - b[1]);
    const double ux = b[0] - a[0], uy = b[1] - a[1];
    if (std::fabs(det) < 0.005) {
        // Parallel: only segments on one line can share points.
        const double dc = std::fabs(ux * (c[1] - a[1]) - uy * (c[0] - a[0])) / lab;
        const double dd = std::fabs(ux * (d[1] - a[1]) - uy * (d[0] - a[0])) / lab;
        if (dc > 0.001 || dd > 0.001) return 0;
        const double l2 = lab * lab;
        double tc = (ux * (c[0] - a[0]) + uy * (c[1] - a[1])) / l2;
        double td = (ux * (d[0] - a[0]) + uy * (d[1] - a[1])) / l2;
        double lo = std::fmax(0.0, std::fmin(tc, td));
        double hi = std::fmin(1.0, std::fmax(tc, td));
        if (lo > hi) return 0;
        out[0][0] = a[0] + lo * ux; out[0][1] = a[1] + lo * uy;
        out[1][0] = a[0] + hi * ux; out[1][1] = a[1] + hi * uy;
        return 2;
    }

    const double t = ((a[0] - c[0]) * (c[1] - d[1]) - (a[1] - c[1]) * (c[0] - d[0])) / det;
    const double u = -((a[0] - b[0]) * (a[1] - c[1]) - (a[1] - b[1]) * (a[0] - c[0])) / det;
    if (t < -0.01 || t > 1.01 || u < -0.01 || u > 1.01) return 0;
    const double x[2] = {a[0] + t * ux, a[1] + t * uy};
    if (Dst(x, a) > lab + 0.001 || Dst(x, b) > lab + 0.001 ||
        Dst(x, c) > lcd + 0.001 || Dst(x, d) > lcd + 0.001)
        return 0;
    out[0][0] = x[0]; out[0][1] = x[1];
    return 1;
}
