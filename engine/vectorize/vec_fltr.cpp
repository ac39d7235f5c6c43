// Outline filters: the area test, smoothing and thinning of one outline in place.
#include <cmath>
#include <cstring>
#include "core/alc.h"
#include "vectorize/vec.h"

namespace {
double Dst(const float* a, const float* b) { return std::hypot(a[0] - b[0], a[1] - b[1]); }
}  // namespace

bool AreaFltr(int n, const float* p, int minArea) {
    if (n <= 0) return false;
    float x0 = p[0], x1 = p[0], y0 = p[1], y1 = p[1];
    for (int i = 1; i < n; ++i) {
        x0 = std::fmin(x0, p[3 * i]);
        x1 = std::fmax(x1, p[3 * i]);
        y0 = std::fmin(y0, p[3 * i + 1]);
        y1 = std::fmax(y1, p[3 * i + 1]);
    }
    return !((static_cast<double>(x1) - x0) * (static_cast<double>(y1) - y0) < minArea);
}

void AveFltr(int n, float* p, int k) {
    if (n <= 0 || k <= 0) {
        for (int i = 0; i < n; ++i) p[3 * i + 2] = 0;
        return;
    }
    // A closed outline repeats its first point at the end; wrapping skips the repeat, so it runs
    // over the n - 1 distinct points. With fewer than 2 of them there is nothing to wrap over.
    const bool closed = n >= 3 && Dst(p, p + 3 * (n - 1)) < 0.001;
    float* src = static_cast<float*>(AlcMem(12LL * n, "AveFltr:pnt"));
    std::memcpy(src, p, 12LL * n);
    const int ring = n - 1;
    for (int i = 0; i < n; ++i) {
        double sx = 0, sy = 0;
        for (int j = i - k; j <= i + k; ++j) {
            int q;
            if (closed)
                q = j < 0 || j >= n ? ((j % ring) + ring) % ring : j;
            else
                q = j < 0 ? 0 : j >= n ? n - 1 : j;
            sx += src[3 * q];
            sy += src[3 * q + 1];
        }
        p[3 * i] = static_cast<float>(sx / (2 * k + 1));
        p[3 * i + 1] = static_cast<float>(sy / (2 * k + 1));
        p[3 * i + 2] = 0;
    }
    if (closed) std::memcpy(p + 3 * (n - 1), p, 12);
    FreeMem(src);
}

void DstFltr(int* np, float* p, double c0, double d) {
    const int n = *np;
    if (n <= 2) return;
    int out = 1;          // points kept so far (the first stays)
    const float* l = p;   // last point kept
    for (int i = 1; i <= n - 2; ++i) {
        const float* pi = p + 3 * i;
        const float* nx = p + 3 * (i + 1);
        const double dp = Dst(pi, l);
        const double dn = i == n - 2 ? Dst(pi, nx) : 2 * d;
        const double ax = nx[0] - pi[0], ay = nx[1] - pi[1];
        const double bx = l[0] - pi[0], by = l[1] - pi[1];
        const double ab = std::hypot(ax, ay) * std::hypot(bx, by);
        const double c = ab > 0.001 ? (ax * bx + ay * by) / ab : -1;
        const bool drop = (c <= c0 - 0.0001 && (dp <= d || dn <= d)) || dp <= 0.1 || dn <= 0.1;
        if (drop) continue;
        // Kept points move down in place; i >= out, so nothing unread is overwritten.
        float* dst = p + 3 * out;
        if (dst != pi) std::memcpy(dst, pi, 12);
        l = dst;
        ++out;
    }
    std::memcpy(p + 3 * out, p + 3 * (n - 1), 12);
    *np = out + 1;
}
