// GLD export: block choice, default corners, angle conversions and the file.
#include "formats/gld.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "formats/codepage.h"
#include "formats/outfile.h"
#include "scene/scene.h"

GldCrnRec GldCrn = {GldLat0Def, GldLon0Def, GldLat0Def, GldLon0Def};
uint8_t GldFixDst = 1;
uint8_t GldCrnGiven = 0;

namespace {

constexpr double MmToM = 0.001;
constexpr int SecPerDeg = 3600, SecPerMin = 60;
constexpr double DegToRad = M_PI / 180.0;
constexpr int GrdType = 5;
constexpr int NumWid = 10, ItvPrec = 3;           // "%10d", "%10.3lf"
constexpr int DegWid = 3, MinWid = 2, SecWid = 8, SecPrec = 5;  // "%3d%2d%8.5lf"
constexpr int HgtWid = 8, HgtPrec = 3;            // "%8.3lf"
constexpr int NrmWid = 8, NrmPrec = 5;            // "%8.5lf"
// Lead bytes of Shift-JIS double-byte characters.
constexpr unsigned char SjisLead1 = 0x81, SjisLead1End = 0x9F, SjisLead2 = 0xE0, SjisLead2End = 0xFC;

float X(int i) { return TrnSrf->v[3 * i]; }
float Y(int i) { return TrnSrf->v[3 * i + 1]; }

}  // namespace

// The outer interval differs from its neighbour's. A fixed tolerance is finer than floats hold
// far from the origin (beyond about 130 m), where a regular grid's intervals differ by a few
// units in the last place of its largest coordinate (the centre the posts are laid from): the
// tolerance follows the interval and that magnitude.
bool GrdIrreg(double a, double b, double c, double mag) {
    mag = std::max({mag, std::fabs(a), std::fabs(b), std::fabs(c)});
    const double tol = GldRegRel * std::fabs(b - a) + 2.0 * FLT_EPSILON * mag;
    return std::fabs((c - b) - (b - a)) >= tol;
}

bool GldBlock(GldBlk* b) {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    if (!s || !g || g->type != GrdType || !s->v) return false;
    const int R = g->rows, C = g->cols;
    if (R < 1 || C < 1 || s->nv < R * C) return false;
    int c0 = 0, c1 = C, r0 = 0, r1 = R;
    const double mx = std::max(std::fabs(X(0)), std::fabs(X(C - 1)));
    const double my = std::max(std::fabs(Y(0)), std::fabs(Y((R - 1) * C)));
    if (C >= 3) {
        c0 = GrdIrreg(X(0), X(1), X(2), mx) ? 1 : 0;
        c1 = GrdIrreg(X(C - 3), X(C - 2), X(C - 1), mx) ? C - 1 : C;
    }
    if (R >= 3) {
        r0 = GrdIrreg(Y(0), Y(C), Y(2 * C), my) ? 1 : 0;
        r1 = GrdIrreg(Y((R - 3) * C), Y((R - 2) * C), Y((R - 1) * C), my) ? R - 1 : R;
    }
    if (c1 - c0 < r1 - r0) r1 = r0 + (c1 - c0);
    if (r1 - r0 < c1 - c0) c1 = c0 + (r1 - r0);
    int n = c1 - c0;
    if (n < 2) return false;
    b->c0 = c0;
    b->c1 = c1;
    b->r0 = r0;
    b->r1 = r1;
    b->n = n;
    b->itv = (static_cast<double>(X(c0 + 1)) - X(c0)) * MmToM;
    b->ext = b->itv * (n - 1);
    return true;
}

double GldDLat(double ext) { return ext * GldArcSecCirc / GldEarthCirc; }

double GldDLon(double ext, double lat) {
    return GldDLat(ext) / std::cos(lat / SecPerDeg * DegToRad);
}

GldCrnRec GldDefCrn(const GldBlk& b) {
    GldCrnRec c;
    c.lat0 = GldLat0Def;
    c.lon0 = GldLon0Def;
    c.lat1 = GldLat0Def + GldDLat(b.ext);
    c.lon1 = GldLon0Def + GldDLon(b.ext, c.lat1);
    return c;
}

void GldDms(double a, int* deg, int* min, double* sec) {
    // Angles beyond any map are kept off the integer conversion's limits.
    double t = std::trunc(a);
    long long s = std::fabs(t) < 1e15 ? static_cast<long long>(t) : 0;
    *deg = static_cast<int>(s / SecPerDeg);
    *min = static_cast<int>((s % SecPerDeg) / SecPerMin);
    *sec = a - static_cast<double>(*deg) * SecPerDeg - static_cast<double>(*min) * SecPerMin;
}

double GldSec(int deg, int min, double sec) {
    return static_cast<double>(deg) * SecPerDeg + static_cast<double>(min) * SecPerMin + sec;
}

int WrGld(const std::string& path, const GldBlk& b, const GldCrnRec& crn) {
    const srf* s = TrnSrf;
    const pgn* g = TrnGrd;
    if (!s || !g) return -1;
    const int C = g->cols;
    OutFile o;
    if (!OutOpen(o, path)) return -1;
    // The title field is 128 bytes of the file's code page, padded with blanks.
    std::string ttl;
    Utf8ToSjis(std::string("Orvane Altimetra : ") + (s->name ? s->name : ""), &ttl);
    if (ttl.size() > GldTtlWid) {
        // A long name is cut to the field, never inside a double-byte character.
        size_t k = 0;
        while (k < ttl.size()) {
            unsigned char ch = static_cast<unsigned char>(ttl[k]);
            size_t w = (ch >= SjisLead1 && ch <= SjisLead1End) || (ch >= SjisLead2 && ch <= SjisLead2End) ? 2 : 1;
            if (k + w > GldTtlWid) break;
            k += w;
        }
        ttl.resize(k);
    }
    if (ttl.size() < GldTtlWid) ttl.append(GldTtlWid - ttl.size(), ' ');
    o.Put(ttl);
    o.Int(b.n, NumWid);
    o.Fix(b.itv, ItvPrec, NumWid);
    o.Put('C');
    const double a[4] = {crn.lat0, crn.lon0, crn.lat1, crn.lon1};
    for (double v : a) {
        int d, m;
        double sec;
        GldDms(v, &d, &m, &sec);
        o.Int(d, DegWid);
        o.Int(m, MinWid);
        o.Fix(sec, SecPrec, SecWid);
    }
    o.Put("YY\r\n");
    for (int rr = b.r1 - 1; rr >= b.r0; --rr) {
        for (int c = b.c0; c < b.c1; ++c) {
            double z = s->v[3 * (rr * C + c) + 2] * MmToM;
            // A height that is not a number is written as the lowest value of the field.
            if (!(z >= GldHgtMin)) z = GldHgtMin;
            if (z > GldHgtMax) z = GldHgtMax;
            o.Fix(z, HgtPrec, HgtWid);
        }
        o.Put("\r\n");
    }
    static const float up[3] = {0, 0, 1};
    for (int rr = b.r1 - 1; rr >= b.r0; --rr) {
        for (int c = b.c0; c < b.c1; ++c) {
            const float* nv = s->nrm ? s->nrm + 3 * (rr * C + c) : up;
            for (int k = 0; k < 3; ++k) o.Fix(nv[k], NrmPrec, NrmWid);
        }
        o.Put("\r\n");
    }
    return OutCommit(o, path);
}
