// Exports through GDAL: the terrain grid as a georeferenced raster, the contours as vector lines.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include "core/msg.h"
#include "curves/crv.h"
#include "gis/gis.h"
#include "formats/gld.h"
#include "formats/outfile.h"
#include "gis/gis_int.h"
#include "terrain/trn.h"
#include "terrain/trn_err.h"

namespace {

struct DsClose {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
using DsPtr = std::unique_ptr<GDALDataset, DsClose>;

// What a raster export reads: R x C posts, post k (row-major from the lower-left) at
// z[zst * id[k]] (id null: k), its columns at xs and rows at ys (mm from the georeference's
// origin), gap (may be null) marking posts without a height, itv the interval (mm).
struct GridSrc {
    int R = 0, C = 0;
    const float* z = nullptr;
    long long zst = 1;
    const int32_t* id = nullptr;
    const uint8_t* gap = nullptr;
    std::vector<float> xs, ys;
    double itv = 0;
    long long At(int r, int c) const {
        const long long k = static_cast<long long>(r) * C + c;
        return id ? id[k] : k;
    }
};

// The document's terrain grid as a source; false without one.
bool TrnGridSrc(GridSrc* g) {
    if (!TrnSrf || !TrnGrd || !TrnSrf->v || !TrnGrd->vtx_id) return false;
    const int R = TrnGrd->rows, C = TrnGrd->cols;
    if (R < 1 || C < 1 || static_cast<long long>(R) * C > TrnSrf->nv) return false;
    g->R = R;
    g->C = C;
    g->z = TrnSrf->v + 2;
    g->zst = 3;
    g->id = TrnGrd->vtx_id;
    g->gap = TrnGapOf();
    g->itv = MshItv;
    g->xs.resize(static_cast<size_t>(C));
    g->ys.resize(static_cast<size_t>(R));
    for (int k = 0; k < C; k++) g->xs[static_cast<size_t>(k)] = TrnSrf->v[3 * g->At(0, k)];
    for (int r = 0; r < R; r++) g->ys[static_cast<size_t>(r)] = TrnSrf->v[3 * g->At(r, 0) + 1];
    return true;
}

// The whole grid's block, less an irregular outer row or column.
void SrcBlk(const GridSrc& g, GisBlk* b) {
    const int R = g.R, C = g.C;
    auto X = [&](int k) { return g.xs[static_cast<size_t>(k)]; };
    auto Y = [&](int r) { return g.ys[static_cast<size_t>(r)]; };
    b->c0 = 0;
    b->c1 = C;
    b->r0 = 0;
    b->r1 = R;
    // The region's edges make the outer intervals irregular: drop such a row or column so that
    // the block has one spacing. Under three columns (rows) there is nothing to compare. Float
    // noise is no irregularity: a region from post to post keeps every post (GrdIrreg).
    const double mx = std::max(std::fabs(X(0)), std::fabs(X(C - 1)));
    const double my = std::max(std::fabs(Y(0)), std::fabs(Y(R - 1)));
    if (C >= 3) {
        if (GrdIrreg(X(0), X(1), X(2), mx)) b->c0 = 1;
        if (GrdIrreg(X(C - 3), X(C - 2), X(C - 1), mx)) b->c1 = C - 1;
    }
    if (R >= 3) {
        if (GrdIrreg(Y(0), Y(1), Y(2), my)) b->r0 = 1;
        if (GrdIrreg(Y(R - 3), Y(R - 2), Y(R - 1), my)) b->r1 = R - 1;
    }
    b->dropped = b->c0 != 0 || b->c1 != C || b->r0 != 0 || b->r1 != R;
}

// Temporary name beside the target, keeping the extension so that drivers recognise it and name
// their side files (.prj, .aux.xml) after it.
std::string TmpName(const std::string& path) {
    std::string ext = GisExt(path);
    std::string stem = ext.empty() ? path : path.substr(0, path.size() - ext.size() - 1);
    std::string name = stem + ".part" + std::to_string(getpid());
    if (!ext.empty()) {
        name += '.';
        name += path.substr(path.size() - ext.size());  // the extension as the user wrote it
    }
    return name;
}

// Driver for the extension: raster (DCAP_RASTER) or vector (DCAP_VECTOR) that can write.
GDALDriver* DrvByExt(const std::string& ext, bool raster) {
    if (ext.empty()) return nullptr;
    GDALDriverManager* m = GetGDALDriverManager();
    auto named = [&](const char* n) { return m->GetDriverByName(n); };
    if (raster) {
        if (ext == "tif" || ext == "tiff") return named("GTiff");
        if (ext == "asc") return named("AAIGrid");
        if (ext == "xyz") return named("XYZ");
    } else {
        if (ext == "gpkg") return named("GPKG");
        if (ext == "shp") return named("ESRI Shapefile");
    }
    for (int i = 0; i < m->GetDriverCount(); i++) {
        GDALDriver* d = m->GetDriver(i);
        if (!d->GetMetadataItem(raster ? GDAL_DCAP_RASTER : GDAL_DCAP_VECTOR)) continue;
        bool canWrite = d->GetMetadataItem(GDAL_DCAP_CREATE) ||
                        (raster && d->GetMetadataItem(GDAL_DCAP_CREATECOPY));
        if (!canWrite) continue;
        const char* exts = d->GetMetadataItem(GDAL_DMD_EXTENSIONS);
        if (!exts) continue;
        char** list = CSLTokenizeString(exts);
        bool hit = CSLFindString(list, ext.c_str()) >= 0;
        CSLDestroy(list);
        if (hit) return d;
    }
    return nullptr;
}

// The temporary name up to its ".part<pid>", the root every file of the dataset shares.
std::string TmpRoot(const std::string& tmp) {
    const std::string tag = ".part" + std::to_string(getpid());
    const size_t at = tmp.rfind(tag);
    return at == std::string::npos ? tmp : tmp.substr(0, at + tag.size());
}

// Removes every file of a temporary dataset: the files named like it (tmp with its extension
// changed or extended: .dbf, .shx, .prj, .aux.xml, -journal, -wal) in its folder. Drivers
// cannot always delete a dataset they failed to finish (a GeoPackage cut by a full disk).
void RmTmp(GDALDriver* drv, const std::string& tmp) {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDeleteDataset(drv, tmp.c_str());
    CPLPopErrorHandler();
    const std::string stem = TmpRoot(tmp);
    const size_t slash = stem.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : stem.substr(0, slash);
    const std::string root = slash == std::string::npos ? stem : stem.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d) {
        std::remove(tmp.c_str());
        return;
    }
    std::vector<std::string> gone;
    while (const dirent* e = readdir(d)) {
        const std::string n = e->d_name;
        if (n.compare(0, root.size(), root) != 0) continue;
        if (n.size() == root.size() || n[root.size()] == '.' || n[root.size()] == '-')
            gone.push_back(dir + "/" + n);
    }
    closedir(d);
    for (const std::string& f : gone) std::remove(f.c_str());
}

// Moves the finished temporary dataset onto the target; false (temporary removed) on failure.
// Every file of the dataset (side files such as .prj, .shx, .dbf included) is synced and renamed
// from the temporary stem to the target's, all together.
bool Commit(GDALDriver* drv, const std::string& tmp, const std::string& path) {
    CPLErrorReset();
    GDALDataset* ds = static_cast<GDALDataset*>(
        GDALOpenEx(tmp.c_str(), GDAL_OF_RASTER | GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    std::vector<std::string> files;
    if (ds) {
        char** list = ds->GetFileList();
        for (char** f = list; f && *f; f++) files.emplace_back(*f);
        CSLDestroy(list);
        GDALClose(ds);
    }
    if (files.empty()) files.push_back(tmp);
    const std::string tmpStem = tmp.substr(0, tmp.size() - GisExt(tmp).size());
    const std::string stem = path.substr(0, path.size() - GisExt(path).size());
    OutSet set;
    // The main file last: until it is in place the target keeps its previous content.
    for (const std::string& f : files) {
        if (f == tmp || f.compare(0, tmpStem.size(), tmpStem) != 0) continue;
        set.Adopt(f, stem + f.substr(tmpStem.size()));
    }
    set.Adopt(tmp, path);
    if (set.Commit()) return true;
    // Files of the dataset the listing missed, and what a driver left of a dataset it could not
    // finish (a GeoPackage cut by a full disk).
    RmTmp(drv, tmp);
    CPLError(CE_Failure, CPLE_FileIO, "%s", set.Reason().c_str());
    return false;
}

// Reads a finished temporary dataset back: some drivers (GeoJSON) do not report writes that a
// full disk cut short, and a cut file must never replace the old one. false with a GDAL error
// set when it does not hold what was written.
bool VecBack(const std::string& tmp, int want) {
    CPLErrorReset();
    DsPtr ds(static_cast<GDALDataset*>(
        GDALOpenEx(tmp.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
    OGRLayer* l = ds ? ds->GetLayerByName("contours") : nullptr;
    if (!l && ds && ds->GetLayerCount() == 1) l = ds->GetLayer(0);  // drivers that name it after the file
    int got = 0;
    if (l)
        for (auto& f : *l) {
            if (CPLGetLastErrorType() >= CE_Failure || !f->GetGeometryRef()) break;
            got++;
        }
    if (got == want && CPLGetLastErrorType() < CE_Failure) return true;
    if (GisLastErr().empty()) CPLError(CE_Failure, CPLE_FileIO, "the written file cannot be read back");
    return false;
}

// Whether every block of GeoTIFF band b lies within the file tmp: a file cut short loses its last
// bytes, and the blocks say where they end without decompressing them all again.
bool TifWhole(GDALRasterBand* b, const std::string& tmp) {
    VSIStatBufL st;
    if (VSIStatL(tmp.c_str(), &st) != 0) return false;
    int bx = 0, by = 0;
    b->GetBlockSize(&bx, &by);
    if (bx <= 0 || by <= 0) return false;
    const int nx = (b->GetXSize() + bx - 1) / bx, ny = (b->GetYSize() + by - 1) / by;
    for (int y = 0; y < ny; y++)
        for (int x = 0; x < nx; x++) {
            const std::string at = std::to_string(x) + "_" + std::to_string(y);
            const char* off = b->GetMetadataItem(("BLOCK_OFFSET_" + at).c_str(), "TIFF");
            const char* len = b->GetMetadataItem(("BLOCK_SIZE_" + at).c_str(), "TIFF");
            if (!off || !len) return false;
            const unsigned long long o = std::strtoull(off, nullptr, 10), n = std::strtoull(len, nullptr, 10);
            if (o == 0 || n == 0 || o + n > static_cast<unsigned long long>(st.st_size)) return false;
        }
    return true;
}

bool RstBack(const std::string& tmp, int nc, int nr) {
    CPLErrorReset();
    DsPtr ds(static_cast<GDALDataset*>(
        GDALOpenEx(tmp.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr)));
    bool ok = ds && ds->GetRasterXSize() == nc && ds->GetRasterYSize() == nr && ds->GetRasterCount() >= 1;
    const bool tif = ok && ds->GetDriver() && std::string(ds->GetDriver()->GetDescription()) == "GTiff";
    if (tif) {
        ok = TifWhole(ds->GetRasterBand(1), tmp) && CPLGetLastErrorType() < CE_Failure;
        if (!ok && GisLastErr().empty()) CPLError(CE_Failure, CPLE_FileIO, "the written file cannot be read back");
        return ok;
    }
    std::vector<float> row(static_cast<size_t>(nc));
    for (int k = 0; ok && k < nr; k++)
        ok = ds->GetRasterBand(1)->RasterIO(GF_Read, 0, k, nc, 1, row.data(), nc, 1, GDT_Float32, 0, 0) == CE_None;
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    if (!ok && GisLastErr().empty()) CPLError(CE_Failure, CPLE_FileIO, "the written file cannot be read back");
    return ok;
}

void WriteFail(const std::string& path) {
    std::string why = GisLastErr();
    std::string text = GisFmt(MsgTx("%s ファイルの書き込み中にエラーが発生しました。",
                                    "%s file write failed."),
                              path.c_str());
    if (!why.empty()) text += "\n" + why;
    GisErr(text);
}

OGRSpatialReference* MkSrs() {
    if (!GisRef.known || GisRef.wkt.empty()) return nullptr;
    auto* s = new OGRSpatialReference();
    s->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (s->importFromWkt(GisRef.wkt.c_str()) != OGRERR_NONE) {
        s->Release();
        return nullptr;
    }
    return s;
}

}  // namespace

bool GisGridBlk(GisBlk* b) {
    GridSrc g;
    if (!TrnGridSrc(&g)) return false;
    SrcBlk(g, b);
    return true;
}

namespace {
// Block b of the grid to path through drv (temporary name, read back, renamed). 0, or -1 after a
// message.
int WriteRst(const std::string& path, GDALDriver* drv, const GridSrc& g, const GisBlk& b, const float* err = nullptr);

// The expected-error map of the grid, or null after a message.
const float* ErrOrMsg() {
    const float* e = TrnErrOf();
    // A grid no contour reached at all is nodata throughout, its error as well.
    static const float none = 0;
    const uint8_t* gap = TrnGapOf();
    if (!e && gap && TrnSrf && std::all_of(gap, gap + TrnSrf->nv, [](uint8_t g) { return g != 0; }))
        return &none;
    if (!e)
        GisErr(MsgTx("この地形の予想誤差を求められません。", "The expected error of this terrain cannot be computed."));
    return e;
}
}  // namespace

namespace {
// The whole grid's block and the raster driver for path (driver's name, or by the extension);
// null, with the message shown, when there is no terrain or no format.
GDALDriver* RstTarget(const std::string& path, const char* driver, GridSrc* g, GisBlk* b) {
    GisInit();
    if (!g->z && !TrnGridSrc(g)) {
        GisErr(MsgTx("地形が作成されていません。", "No terrain has been made."));
        return nullptr;
    }
    SrcBlk(*g, b);
    GDALDriver* drv = driver ? GetGDALDriverManager()->GetDriverByName(driver)
                             : DrvByExt(GisExt(path), true);
    if (!drv)
        GisErr(GisFmt(MsgTx("%s: 拡張子に合うラスター形式がありません(.tif, .asc, .xyz など)。",
                            "%s: no raster format for this extension (.tif, .asc, .xyz, ...)."),
                      path.c_str()));
    return drv;
}

// Whether block b lies within the terrain (message shown when not).
bool BlkInside(GridSrc* g, const GisBlk& b) {
    GisInit();
    if (!g->z && !TrnGridSrc(g)) {
        GisErr(MsgTx("地形が作成されていません。", "No terrain has been made."));
        return false;
    }
    if (!(0 <= b.c0 && b.c0 < b.c1 && b.c1 <= g->C && 0 <= b.r0 && b.r0 < b.r1 && b.r1 <= g->R)) {
        GisErr(MsgTx("書き出す範囲が地形の外にあります。", "The block to write lies outside the terrain."));
        return false;
    }
    return true;
}
}  // namespace

namespace {
// path from g (whole, less irregular outer rows and columns, or block blk as GeoTIFF): 0, or -1
// after a message.
int ExpSrc(const char* pathC, const char* driver, GridSrc& g, const GisBlk* blk, bool err) {
    const std::string path = pathC;
    GisBlk b;
    GDALDriver* drv = nullptr;
    if (blk) {
        if (!BlkInside(&g, *blk)) return -1;
        b = *blk;
        drv = GetGDALDriverManager()->GetDriverByName("GTiff");
    } else if (!(drv = RstTarget(path, driver, &g, &b))) {
        return -1;
    }
    const float* e = nullptr;
    if (err && !(e = ErrOrMsg())) return -1;
    if (WriteRst(path, drv, g, b, e) < 0) return -1;
    if (!blk && !err && b.dropped)
        PutMsg(GisFmt(MsgTx("間隔の異なる外周の行・列を除き %d x %d 点を書き出しました。",
                            "Irregular outer rows or columns dropped: %d x %d posts written."),
                      b.c1 - b.c0, b.r1 - b.r0)
                   .c_str());
    return 0;
}
}  // namespace

int ExpGisRst(const char* path, const char* driver) {
    GridSrc g;
    return ExpSrc(path, driver, g, nullptr, false);
}

std::string GisRstDrv(const char* path) {
    GisInit();
    const GDALDriver* d = DrvByExt(GisExt(path), true);
    return d ? d->GetDescription() : "";
}

int ExpGisRstBlk(const char* path, const GisBlk& b) {
    GridSrc g;
    return ExpSrc(path, nullptr, g, &b, false);
}

int ExpGisErr(const char* path, const char* driver) {
    GridSrc g;
    return ExpSrc(path, driver, g, nullptr, true);
}

int ExpGisErrBlk(const char* path, const GisBlk& b) {
    GridSrc g;
    return ExpSrc(path, nullptr, g, &b, true);
}

int ExpGisRstPlain(const char* path, const GisPlain& p, const GisBlk* blk) {
    GridSrc g;
    g.R = p.R;
    g.C = p.C;
    g.z = p.z;
    g.itv = p.itv;
    g.xs.assign(p.xs, p.xs + p.C);
    g.ys.assign(p.ys, p.ys + p.R);
    return ExpSrc(path, nullptr, g, blk, false);
}

namespace {

// The block of the grid as a read-only raster whose rows are made as they are read (north first),
// so that a copy into a format needs no second copy of the heights (4 bytes a post).
class GridRst : public GDALDataset {
public:
    GridRst(const GridSrc& g, const GisBlk& b, const double* gt, OGRSpatialReference* srs, const float* err);
    ~GridRst() override {
        if (srs_) srs_->Release();
    }
    CPLErr GetGeoTransform(double* t) override {
        std::copy(gt_, gt_ + 6, t);
        return CE_None;
    }
    const OGRSpatialReference* GetSpatialRef() const override { return srs_; }

private:
    double gt_[6];
    OGRSpatialReference* srs_;
};

class GridBand : public GDALRasterBand {
public:
    // err: the expected error of each vertex (mm) written instead of its height.
    GridBand(GridRst* ds, const GridSrc& g, const GisBlk& b, const float* err) : g_(g), b_(b), err_(err) {
        poDS = ds;
        nBand = 1;
        eDataType = GDT_Float32;
        nRasterXSize = nBlockXSize = b.c1 - b.c0;
        nRasterYSize = b.r1 - b.r0;
        nBlockYSize = 1;
    }
    double GetNoDataValue(int* has) override {
        if (has) *has = TRUE;
        return GisNoData;
    }

protected:
    CPLErr IReadBlock(int, int k, void* data) override {
        const int nc = b_.c1 - b_.c0;
        const int r = b_.r1 - 1 - k;
        float* row = static_cast<float*>(data);
        for (int c = 0; c < nc; c++) {
            const long long i = g_.At(r, b_.c0 + c);
            const float v = (err_ ? err_[i] : g_.z[g_.zst * i]) * 0.001f;
            row[c] = (g_.gap && g_.gap[i]) || std::isnan(v) ? static_cast<float>(GisNoData) : v;
        }
        return CE_None;
    }

private:
    const GridSrc& g_;
    GisBlk b_;
    const float* err_;
};

GridRst::GridRst(const GridSrc& g, const GisBlk& b, const double* gt, OGRSpatialReference* srs, const float* err)
    : srs_(srs) {
    std::copy(gt, gt + 6, gt_);
    nRasterXSize = b.c1 - b.c0;
    nRasterYSize = b.r1 - b.r0;
    eAccess = GA_ReadOnly;
    SetBand(1, new GridBand(this, g, b, err));
}

int WriteRst(const std::string& path, GDALDriver* drv, const GridSrc& g, const GisBlk& b, const float* err) {
    const int nc = b.c1 - b.c0, nr = b.r1 - b.r0;
    const double ox = GisRef.known ? GisRef.ox : 0, oy = GisRef.known ? GisRef.oy : 0;
    // Pixel size: the grid's interval (a block of one row or column has only that).
    const double d = g.itv * 0.001;
    const double xw = ox + g.xs[static_cast<size_t>(b.c0)] * 0.001, yn = oy + g.ys[static_cast<size_t>(b.r1 - 1)] * 0.001;
    double gt[6] = {xw - d / 2, d, 0, yn + d / 2, 0, -d};

    CPLErrorReset();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GridRst src(g, b, gt, MkSrs(), err);
    bool ok = true;
    std::string drvName = drv->GetDescription();
    CPLStringList opts;
    if (drvName == "GTiff") {
        opts.AddString("COMPRESS=DEFLATE");
        opts.AddString("PREDICTOR=3");
        // Terrain heights after the predictor: the fastest level packs them as well as the default.
        opts.AddString("ZLEVEL=1");
        // Compression on every core: the write is otherwise a good part of a fine grid's run.
        opts.AddString("NUM_THREADS=ALL_CPUS");
        // Strips of some 256 KB: a strip of one row of a fine grid leaves each compression job
        // too small to share among the threads.
        const int rows = std::clamp(262144 / std::max(1, 4 * nc), 1, std::max(1, nr));
        opts.AddString(("BLOCKYSIZE=" + std::to_string(rows)).c_str());
    }
    const std::string tmp = TmpName(path);
    if (ok) {
        CPLErrorReset();
        // The copy reads each block once: with a small block cache the blocks' memory is used
        // again, where a large one takes fresh pages for the whole grid twice over (a tenth of a
        // fine grid's run, in page faults).
        const GIntBig cache = GDALGetCacheMax64();
        GDALSetCacheMax64(std::min<GIntBig>(cache, GIntBig{16} << 20));
        GDALDataset* out = drv->CreateCopy(tmp.c_str(), &src, FALSE, opts.List(), nullptr, nullptr);
        ok = out != nullptr;
        if (out) GDALClose(out);
        GDALSetCacheMax64(cache);
        // Errors of the final flush (a full disk) are only reported, not returned.
        if (ok && CPLGetLastErrorType() >= CE_Failure) ok = false;
        if (ok && !RstBack(tmp, nc, nr)) ok = false;
        if (!ok) {
            std::string why = GisLastErr();
            RmTmp(drv, tmp);
            CPLError(CE_Failure, CPLE_AppDefined, "%s", why.c_str());
        } else {
            ok = Commit(drv, tmp, path);
        }
    }
    CPLPopErrorHandler();
    if (!ok) {
        WriteFail(path);
        return -1;
    }
    return 0;
}

}  // namespace

int ExpGisVec(const char* pathC, const char* driver) {
    GisInit();
    const std::string path = pathC;
    int n = 0;
    for (int i = 0; CrvPart && i < CrvPart->crvs.n; i++)
        if (CrvPart->crvs.a[i]->n >= 2) n++;
    if (n == 0) {
        GisErr(MsgTx("書き出す等高線がありません。", "There are no contours to write."));
        return -1;
    }
    GDALDriver* drv = driver ? GetGDALDriverManager()->GetDriverByName(driver)
                             : DrvByExt(GisExt(path), false);
    if (!drv) {
        GisErr(GisFmt(MsgTx("%s: 拡張子に合うベクター形式がありません(.gpkg, .shp など)。",
                            "%s: no vector format for this extension (.gpkg, .shp, ...)."),
                      path.c_str()));
        return -1;
    }
    const double ox = GisRef.known ? GisRef.ox : 0, oy = GisRef.known ? GisRef.oy : 0;
    const std::string tmp = TmpName(path);
    CPLErrorReset();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDataset* ds = drv->Create(tmp.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    bool ok = ds != nullptr;
    if (!ok) {
        // Creation may fail after the first bytes (a full disk).
        std::string why = GisLastErr();
        RmTmp(drv, tmp);
        CPLError(CE_Failure, CPLE_AppDefined, "%s", why.c_str());
    }
    if (ok) {
        OGRSpatialReference* srs = MkSrs();
        OGRLayer* l = ds->CreateLayer("contours", srs, wkbLineString25D, nullptr);
        if (srs) srs->Release();
        ok = l != nullptr;
        if (ok) {
            OGRFieldDefn fd("elev", OFTReal);
            ok = l->CreateField(&fd) == OGRERR_NONE;
        }
        if (ok) ok = l->StartTransaction() == OGRERR_NONE;
        for (int i = 0; ok && CrvPart && i < CrvPart->crvs.n; i++) {
            const crv* c = CrvPart->crvs.a[i];
            if (c->n < 2) continue;
            double h = c->p[2] * 0.001;
            OGRLineString ls;
            ls.setNumPoints(c->n);
            for (int k = 0; k < c->n; k++)
                ls.setPoint(k, ox + c->p[3 * k] * 0.001, oy + c->p[3 * k + 1] * 0.001, h);
            OGRFeature f(l->GetLayerDefn());
            f.SetField(0, h);
            f.SetGeometry(&ls);
            ok = l->CreateFeature(&f) == OGRERR_NONE;
        }
        if (l && ok) ok = l->CommitTransaction() == OGRERR_NONE;
        GDALClose(ds);
        if (ok && CPLGetLastErrorType() >= CE_Failure) ok = false;
        if (ok && !VecBack(tmp, n)) ok = false;
        if (!ok) {
            std::string why = GisLastErr();
            RmTmp(drv, tmp);
            CPLError(CE_Failure, CPLE_AppDefined, "%s", why.c_str());
        }
    }
    if (ok) ok = Commit(drv, tmp, path);
    CPLPopErrorHandler();
    if (!ok) {
        WriteFail(path);
        return -1;
    }
    return 0;
}

bool GisGldCrn(const GldBlk& b, GldCrnRec* c) {
    if (!GisRef.known || GisRef.wkt.empty() || !TrnSrf || !TrnGrd || !TrnGrd->vtx_id) return false;
    GisInit();
    GridSrc g;
    if (!TrnGridSrc(&g) || !(0 <= b.c0 && b.c0 < b.c1 && b.c1 <= g.C && 0 <= b.r0 && b.r0 < b.r1 && b.r1 <= g.R))
        return false;
    OGRSpatialReference src, wgs;
    src.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    CPLPushErrorHandler(CPLQuietErrorHandler);
    bool ok = src.importFromWkt(GisRef.wkt.c_str()) == OGRERR_NONE && wgs.importFromEPSG(4326) == OGRERR_NONE;
    std::unique_ptr<OGRCoordinateTransformation> ct(ok ? OGRCreateCoordinateTransformation(&src, &wgs) : nullptr);
    // The south-west and north-east posts of the block, in real-world coordinates.
    const float* v = TrnSrf->v;
    double x[2] = {GisRef.ox + v[3 * g.At(b.r0, b.c0)] * 0.001, GisRef.ox + v[3 * g.At(b.r1 - 1, b.c1 - 1)] * 0.001};
    double y[2] = {GisRef.oy + v[3 * g.At(b.r0, b.c0) + 1] * 0.001, GisRef.oy + v[3 * g.At(b.r1 - 1, b.c1 - 1) + 1] * 0.001};
    ok = ct && ct->Transform(2, x, y) && std::isfinite(x[0] + x[1] + y[0] + y[1]);
    CPLPopErrorHandler();
    if (!ok) return false;
    c->lon0 = x[0] * 3600.0;
    c->lat0 = y[0] * 3600.0;
    c->lon1 = x[1] * 3600.0;
    c->lat1 = y[1] * 3600.0;
    return true;
}
