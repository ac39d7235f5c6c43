// Geographic reference, its side file, and contour import from OGR sources.
#include "gis/gis.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <memory>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <ogrsf_frmts.h>
#include <gdal_priv.h>
#include "core/filext.h"
#include "core/msg.h"
#include "core/msg_why.h"
#include "curves/crv.h"
#include "formats/outfile.h"
#include "gis/gis_int.h"
#include "scene/scene.h"
#include "terrain/trn.h"

// Helpers shared by the GIS files.

void GisInit() {
    static bool done = false;
    if (done) return;
    GDALAllRegister();
    done = true;
}


std::string GisFmt(const char* fmt, ...) {
    char buf[1024];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    return buf;
}

void GisErr(const std::string& text) { DspErrMsg(MsgOwnErr, text.c_str()); }

std::string GisLastErr() {
    const char* m = CPLGetLastErrorMsg();
    return m && *m ? std::string(m) : std::string();
}

std::string GisExt(const std::string& path) {
    std::string e = FileExt(path);
    for (char& c : e) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return e;
}

// Side file.

void GisClear() { GisRef = GisRefRec(); }

bool GisSaveSide(const char* scnPath) {
    std::string side = std::string(scnPath) + GisSideExt;
    if (!GisRef.known) {
        // A side file left from an earlier save would give the local document a false origin.
        if (std::remove(side.c_str()) != 0 && errno != ENOENT) {
            DspErrMsgWhy(MsgFilWrt, side.c_str(), std::strerror(errno));
            return false;
        }
        return true;
    }
    OutFile o;
    if (!OutOpen(o, side)) return false;
    std::string wkt = GisRef.wkt;
    for (char& c : wkt)
        if (c == '\n' || c == '\r') c = ' ';
    char buf[160];
    std::snprintf(buf, sizeof buf, "# Orvane Altimetra geographic reference\norigin %.17g %.17g\n", GisRef.ox,
                  GisRef.oy);
    o.Put(buf);
    if (!wkt.empty()) {
        o.Put("crs ");
        o.Line(wkt);
    }
    return OutCommit(o, side) == 0;
}

bool GisLoadSide(const char* scnPath) {
    GisClear();
    std::string side = std::string(scnPath) + GisSideExt;
    std::ifstream in(side, std::ios::binary);
    if (!in) return true;  // none: local coordinates
    GisRefRec r;
    bool haveOrg = false, bad = false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 7, "origin ") == 0) {
            std::istringstream ss(line.substr(7));
            ss.imbue(std::locale::classic());
            // !(|v| <= max) also refuses NaN and infinities.
            if (!(ss >> r.ox >> r.oy) || !(std::fabs(r.ox) <= GisCrdMax) ||
                !(std::fabs(r.oy) <= GisCrdMax))
                bad = true;
            else
                haveOrg = true;
        } else if (line.compare(0, 4, "crs ") == 0) {
            r.wkt = line.substr(4);
            OGRSpatialReference srs;
            if (srs.importFromWkt(r.wkt.c_str()) != OGRERR_NONE) bad = true;
        }
    }
    if (bad || !haveOrg || in.bad()) {
        DspWrnMsg(MsgOwnWrn, GisFmt(MsgTx("%s の内容が正しくありません。文書はローカル座標で開きます。",
                                    "%s is malformed: the document opens in local coordinates."),
                              side.c_str())
                           .c_str());
        return false;
    }
    r.known = true;
    GisRef = r;
    return true;
}

// Listing.

namespace {

bool IsNum(OGRFieldType t) { return t == OFTInteger || t == OFTInteger64 || t == OFTReal; }

bool IsLineType(OGRwkbGeometryType t) {
    switch (wkbFlatten(t)) {
    case wkbUnknown:
    case wkbLineString:
    case wkbMultiLineString:
    case wkbCircularString:
    case wkbCompoundCurve:
    case wkbMultiCurve:
    case wkbGeometryCollection:
        return true;
    default:
        return false;
    }
}

struct DsClose {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
using DsPtr = std::unique_ptr<GDALDataset, DsClose>;

DsPtr OpenVec(const char* path) {
    GisInit();
    CPLErrorReset();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDataset* d = static_cast<GDALDataset*>(
        GDALOpenEx(path, GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    CPLPopErrorHandler();
    return DsPtr(d);
}

OgrLyr Describe(OGRLayer* l) {
    OgrLyr r;
    r.name = l->GetName();
    r.lines = IsLineType(l->GetGeomType());
    r.hasZ = OGR_GT_HasZ(l->GetGeomType());
    r.features = l->GetFeatureCount(FALSE);
    OGRFeatureDefn* d = l->GetLayerDefn();
    for (int pass = 0; pass < 2; pass++)
        for (int i = 0; i < d->GetFieldCount(); i++) {
            OGRFieldDefn* f = d->GetFieldDefn(i);
            bool num = IsNum(f->GetType());
            if (num == (pass == 0)) r.fields.push_back({f->GetNameRef(), num});
        }
    return r;
}

}  // namespace

bool OgrList(const char* path, std::vector<OgrLyr>* out, std::string* err) {
    out->clear();
    DsPtr ds = OpenVec(path);
    if (!ds) {
        if (err) *err = GisLastErr();
        return false;
    }
    for (int i = 0; i < ds->GetLayerCount(); i++) out->push_back(Describe(ds->GetLayer(i)));
    return true;
}

int OgrPickFld(const OgrLyr& l) {
    static const char* const exact[] = {"elev", "elevation", "height", "z", "contour", "hoehe",
                                        "altitude", "alt", "h", "level", "value"};
    static const char* const part[] = {"elev", "height", "contour", "alt", "hgt", "hoeh"};
    for (const char* want : exact)
        for (size_t i = 0; i < l.fields.size(); i++)
            if (l.fields[i].numeric && EQUAL(l.fields[i].name.c_str(), want))
                return static_cast<int>(i);
    for (const char* want : part)
        for (size_t i = 0; i < l.fields.size(); i++) {
            std::string n = l.fields[i].name;
            for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (l.fields[i].numeric && n.find(want) != std::string::npos)
                return static_cast<int>(i);
        }
    return -1;
}

int OgrPickLyr(const std::vector<OgrLyr>& ls) {
    for (size_t i = 0; i < ls.size(); i++)
        if (ls[i].lines) return static_cast<int>(i);
    return -1;
}

// Import.

namespace {


// Appends the line parts of g; false when g is not a line geometry.
bool LineParts(const OGRGeometry* g, std::vector<const OGRLineString*>* parts,
               std::vector<std::unique_ptr<OGRGeometry>>* keep) {
    switch (wkbFlatten(g->getGeometryType())) {
    case wkbLineString:
        parts->push_back(g->toLineString());
        return true;
    case wkbCircularString:
    case wkbCompoundCurve: {
        keep->emplace_back(g->toCurve()->getLinearGeometry());
        if (!keep->back()) return false;
        return LineParts(keep->back().get(), parts, keep);
    }
    case wkbMultiLineString:
    case wkbMultiCurve:
    case wkbGeometryCollection: {
        const OGRGeometryCollection* c = g->toGeometryCollection();
        bool any = false;
        for (int i = 0; i < c->getNumGeometries(); i++)
            any = LineParts(c->getGeometryRef(i), parts, keep) || any;
        return any;
    }
    default:
        return false;
    }
}

std::string UnreadTx(const std::string& path, int n) {
    return GisFmt(MsgTx("%s: %d 個の地物が読めませんでした(ファイルが途中で切れているか壊れています)。",
                        "%s: %d features could not be read (the file is cut short or damaged)."),
                  path.c_str(), n);
}

// Whether l holds a feature: the driver's cheap count, else the first feature read.
bool HasFeature(OGRLayer* l) {
    const GIntBig n = l->GetFeatureCount(FALSE);
    if (n >= 0) return n > 0;
    l->ResetReading();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    OGRFeature* f = l->GetNextFeature();
    CPLPopErrorHandler();
    const bool any = f != nullptr;
    OGRFeature::DestroyFeature(f);
    l->ResetReading();
    return any;
}

// The layer of p in ds, the index of its height field (-1: the z of the lines) and its CRS as WKT
// (empty without one); null after a message.
OGRLayer* PickLayer(GDALDataset* ds, const OgrImpPrm& p, int* fldOut, std::string* wkt) {
    OGRLayer* l = nullptr;
    if (!p.layer.empty()) {
        l = ds->GetLayerByName(p.layer.c_str());
        if (!l) {
            GisErr(GisFmt(MsgTx("%s にレイヤー \"%s\" がありません。", "%s has no layer \"%s\"."),
                          p.path.c_str(), p.layer.c_str()));
            return nullptr;
        }
    } else {
        for (int i = 0; i < ds->GetLayerCount() && !l; i++)
            if (IsLineType(ds->GetLayer(i)->GetGeomType())) l = ds->GetLayer(i);
        if (!l) {
            GisErr(GisFmt(MsgTx("%s に線のレイヤーがありません。", "%s has no layer of lines."),
                          p.path.c_str()));
            return nullptr;
        }
    }
    int fld = -1;
    if (!p.field.empty()) {
        fld = l->GetLayerDefn()->GetFieldIndex(p.field.c_str());
        if (fld < 0) {
            GisErr(GisFmt(MsgTx("レイヤー \"%s\" にフィールド \"%s\" がありません。",
                                "Layer \"%s\" has no field \"%s\"."),
                          l->GetName(), p.field.c_str()));
            return nullptr;
        }
        if (!IsNum(l->GetLayerDefn()->GetFieldDefn(fld)->GetType())) {
            GisErr(GisFmt(MsgTx("フィールド \"%s\" は数値ではありません。高さには数値のフィールドを選んでください。",
                                "Field \"%s\" is not numeric: choose a numeric field for the heights."),
                          p.field.c_str()));
            return nullptr;
        }
    }
    const OGRSpatialReference* srs = l->GetSpatialRef();
    wkt->clear();
    // GeoPackage marks a layer without a CRS with its "Undefined geographic SRS".
    if (srs && srs->GetName() && std::strstr(srs->GetName(), "Undefined")) srs = nullptr;
    // An empty layer says so before anything else: GeoJSON gives every layer, even an empty one,
    // longitude and latitude.
    if (!HasFeature(l)) {
        GisErr(GisFmt(MsgTx("%s: レイヤー \"%s\" に地物がありません。", "%s: layer \"%s\" holds no features."),
                      p.path.c_str(), l->GetName()));
        return nullptr;
    }
    if (srs) {
        if (srs->IsGeographic()) {
            GisErr(GisFmt(MsgTx("レイヤー \"%s\" は経緯度(地理座標系)です。投影座標系に変換してから読み込んでください。",
                                "Layer \"%s\" is in longitude and latitude: reproject it to a projected coordinate system first."),
                          l->GetName()));
            return nullptr;
        }
        char* w = nullptr;
        const char* opts[] = {"FORMAT=WKT2_2019", "MULTILINE=NO", nullptr};
        if (srs->exportToWkt(&w, opts) == OGRERR_NONE && w) *wkt = w;
        CPLFree(w);
    }
    *fldOut = fld;
    return l;
}

// The dataset of p, opened into ds, and its layer as PickLayer gives it; null after a message.
OGRLayer* OpenLayer(const OgrImpPrm& p, DsPtr* ds, int* fld, std::string* wkt) {
    *ds = OpenVec(p.path.c_str());
    if (!*ds) {
        DspErrMsg(MsgFilOpn, p.path.c_str());
        return nullptr;
    }
    return PickLayer(ds->get(), p, fld, wkt);
}

// Reads the layer into curves (CRS units), only the features meeting rect when it is given; -1
// after a message.
int ReadLayer(const OgrImpPrm& p, std::vector<OgrCrv>* out, OgrImpRes* res, std::string* wkt,
              const double* rect) {
    DsPtr ds;
    int fld = -1;
    OGRLayer* l = OpenLayer(p, &ds, &fld, wkt);
    if (!l) return -1;
    if (rect) l->SetSpatialFilterRect(rect[0], rect[1], rect[2], rect[3]);

    int lineFeat = 0;
    l->ResetReading();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    for (;;) {
        // A feature the driver fails on (a .shp shorter than its index) still comes back,
        // without its geometry: count it apart from the features that are not lines.
        CPLErrorReset();
        std::unique_ptr<OGRFeature> f(l->GetNextFeature());
        if (!f) break;
        if (CPLGetLastErrorType() >= CE_Failure) {
            res->unread++;
            continue;
        }
        const OGRGeometry* g = f->GetGeometryRef();
        std::vector<const OGRLineString*> parts;
        std::vector<std::unique_ptr<OGRGeometry>> keep;
        if (!g || !LineParts(g, &parts, &keep)) {
            res->others++;
            continue;
        }
        lineFeat++;
        bool haveH = false;
        double h = 0;
        if (fld >= 0) {
            if (f->IsFieldSetAndNotNull(fld)) {
                h = f->GetFieldAsDouble(fld);
                haveH = std::isfinite(h);
            }
        }
        for (const OGRLineString* ls : parts) {
            int n = ls->getNumPoints();
            double ph = h;
            bool ok = n >= 2;
            if (ok && fld < 0) {
                ok = ls->Is3D() && std::isfinite(ls->getZ(0));
                ph = ok ? ls->getZ(0) : 0;
            } else if (ok) {
                ok = haveH;
            }
            if (!ok) {
                res->skipped++;
                continue;
            }
            OgrCrv c;
            c.h = ph;
            c.xy.reserve(2 * static_cast<size_t>(n));
            // !(|v| <= max) also catches NaN.
            bool sane = std::fabs(ph) <= GisCrdMax;
            for (int i = 0; sane && i < n; i++) {
                double x = ls->getX(i), y = ls->getY(i);
                sane = std::fabs(x) <= GisCrdMax && std::fabs(y) <= GisCrdMax;
                c.xy.push_back(x);
                c.xy.push_back(y);
            }
            if (!sane) {
                res->absurd++;
                continue;
            }
            out->push_back(std::move(c));
        }
    }
    CPLPopErrorHandler();
    // A tile's rectangle may hold no contour at all: that tile is empty, not the input wrong.
    if (out->empty() && rect && !res->absurd) return 0;
    if (out->empty()) {
        std::string text;
        if (res->absurd)
            text = GisFmt(MsgTx("レイヤー \"%s\" の線はどれも座標か高さが有限でないか大きすぎます(%d 本)。",
                                "Every line of layer \"%s\" has a coordinate or height that is not finite or too large (%d lines)."),
                          l->GetName(), res->absurd);
        else if (lineFeat == 0)
            text = GisFmt(MsgTx("レイヤー \"%s\" に線がありません。", "Layer \"%s\" holds no lines."),
                          l->GetName());
        else
            text = GisFmt(MsgTx("レイヤー \"%s\" の線に高さがありません(%d 本)。高さのフィールドを選んでください。",
                                "No line of layer \"%s\" has a height (%d lines): choose the height field."),
                          l->GetName(), res->skipped);
        if (res->unread) text += "\n" + UnreadTx(p.path, res->unread);
        GisErr(text);
        return -1;
    }
    return 0;
}

// Makes the curves in the terrain part; false when memory ran out (message shown).
bool MkCurves(const std::vector<OgrCrv>& cs, double ox, double oy, float ext[4]) {
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (const OgrCrv& c : cs) {
        crv* k = NewCrv();
        if (!k) return false;
        float z = static_cast<float>(c.h * 1000.0);
        for (size_t i = 0; i + 1 < c.xy.size(); i += 2) {
            double x = (c.xy[i] - ox) * 1000.0, y = (c.xy[i + 1] - oy) * 1000.0;
            AddPnt(k, static_cast<float>(x), static_cast<float>(y), z);
            lo[0] = std::min(lo[0], x);
            lo[1] = std::min(lo[1], y);
            hi[0] = std::max(hi[0], x);
            hi[1] = std::max(hi[1], y);
        }
        SetCrvHgt(k, z);
    }
    ext[0] = static_cast<float>(lo[0]);
    ext[1] = static_cast<float>(lo[1]);
    ext[2] = static_cast<float>(hi[0]);
    ext[3] = static_cast<float>(hi[1]);
    return true;
}

}  // namespace

int OgrRdCrv(const OgrImpPrm& p, OgrCrvs* rd, OgrImpRes* res, const OgrClip* clip) {
    OgrImpRes r;
    r.path = p.path;
    rd->crvs.clear();
    rd->wkt.clear();
    if (ReadLayer(p, &rd->crvs, &r, &rd->wkt, clip ? clip->rect : nullptr) < 0) {
        if (res) *res = r;
        return -1;
    }
    if (clip) {
        r.ox = clip->ox;
        r.oy = clip->oy;
        if (res) *res = r;
        return 0;
    }
    double mx = 1e300, my = 1e300;
    for (const OgrCrv& c : rd->crvs)
        for (size_t i = 0; i + 1 < c.xy.size(); i += 2) {
            mx = std::min(mx, c.xy[i]);
            my = std::min(my, c.xy[i + 1]);
        }
    // Whole kilometres below the lower-left corner: the engine works near zero.
    r.ox = std::floor(mx / 1000.0) * 1000.0;
    r.oy = std::floor(my / 1000.0) * 1000.0;
    if (res) *res = r;
    return 0;
}

int OgrLyrExt(const OgrImpPrm& p, double ext[4], double org[2], std::string* wkt) {
    DsPtr ds;
    int fld = -1;
    OGRLayer* l = OpenLayer(p, &ds, &fld, wkt);
    if (!l) return -1;
    OGREnvelope e;
    CPLPushErrorHandler(CPLQuietErrorHandler);
    const bool got = l->GetExtent(&e, TRUE) == OGRERR_NONE;
    CPLPopErrorHandler();
    if (!got || !(e.MinX <= e.MaxX && e.MinY <= e.MaxY) || !(std::fabs(e.MinX) <= GisCrdMax) ||
        !(std::fabs(e.MaxX) <= GisCrdMax) || !(std::fabs(e.MinY) <= GisCrdMax) ||
        !(std::fabs(e.MaxY) <= GisCrdMax)) {
        GisErr(GisFmt(MsgTx("レイヤー \"%s\" に線がありません。", "Layer \"%s\" holds no lines."),
                      l->GetName()));
        return -1;
    }
    ext[0] = e.MinX;
    ext[1] = e.MinY;
    ext[2] = e.MaxX;
    ext[3] = e.MaxY;
    // As OgrRdCrv picks it from the contours of the whole layer.
    org[0] = std::floor(e.MinX / 1000.0) * 1000.0;
    org[1] = std::floor(e.MinY / 1000.0) * 1000.0;
    return 0;
}

int OgrMkCrv(const OgrCrvs& rd, OgrImpRes* res) {
    float ext[4];
    if (!MkCurves(rd.crvs, res->ox, res->oy, ext)) return -1;
    res->curves = static_cast<int>(rd.crvs.size());
    UdtCrvBox();
    // The region starts on the contours' extent: the user only picks the interval.
    TrnRgn[0] = ext[0];
    TrnRgn[1] = ext[1];
    TrnRgn[2] = 0;
    TrnRgn[3] = ext[2];
    TrnRgn[4] = ext[3];
    TrnRgn[5] = 0;
    // What was read is said by the import that called (ImpNote), with the file and extent.
    // One warning for everything left out.
    std::string left;
    if (res->skipped)
        left += GisFmt(MsgTx("高さのない線 %d 本は読み込みませんでした。",
                             "%d lines without a height were skipped."),
                       res->skipped);
    if (res->absurd)
        left += (left.empty() ? "" : "\n") +
                GisFmt(MsgTx("座標か高さが有限でないか大きすぎる線 %d 本は読み込みませんでした。",
                             "%d lines with a coordinate or height that is not finite or too large were skipped."),
                       res->absurd);
    if (res->unread) left += (left.empty() ? "" : "\n") + UnreadTx(res->path, res->unread);
    if (!left.empty()) DspWrnMsg(MsgOwnWrn, left.c_str());
    return 0;
}

