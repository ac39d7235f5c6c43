// DXF import of contour curves: POLYLINE, LWPOLYLINE and LINE become curves of the curve part,
// TEXT becomes a dimension text; everything else of the drawing is passed over.
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <vector>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>
#include <string_view>

#include "core/alc.h"
#include "core/cmd.h"
#include "core/msg.h"
#include "formats/codepage.h"
#include "formats/dxf.h"
#include "formats/xchg.h"
#include "scene/georef.h"
#include "scene/scene.h"

namespace {

constexpr size_t RdBufSize = 1 << 20;   // file bytes read at a time
constexpr int CodeMax = 100000;         // group codes are below this
constexpr int AcadUtf8Ver = 1021;       // AC1021 (2007) and later store texts in UTF-8
constexpr int PtBufMin = 1024;          // points of the first scratch allocation
constexpr size_t PathShownMax = 160;    // bytes of a path shown whole in a problem message
constexpr size_t SecNamesMax = 48;      // characters of unknown section names kept for the summary

// The box of a curve from its points (empty when it has none).
void PntBox(crv* c) {
    if (c->n == 0) {
        c->box.min[0] = c->box.min[1] = 1e15f;
        c->box.max[0] = c->box.max[1] = -1e15f;
        return;
    }
    for (int a = 0; a < 3; ++a) c->box.min[a] = c->box.max[a] = c->p[a];
    for (int i = 1; i < c->n; ++i)
        for (int a = 0; a < 3; ++a) {
            const float v = c->p[3 * i + a];
            if (v < c->box.min[a]) c->box.min[a] = v;
            if (v > c->box.max[a]) c->box.max[a] = v;
        }
}

// Text encodings of a drawing.
enum DxfEnc { EncSjis = 0, EncUtf8 = 1, EncOther = 2 };

// Lines of the file: CR LF reads as LF, "#" ends a line's content, a line keeps at most
// DxfLineMax characters (the rest is dropped, so the pairs stay in step).
class LineRd {
public:
    explicit LineRd(std::FILE* f) : f_(f), buf_(static_cast<char*>(AlcMem(RdBufSize, "dxf:buf"))) {}
    ~LineRd() { FreeMem(buf_); }
    LineRd(const LineRd&) = delete;
    LineRd& operator=(const LineRd&) = delete;

    // The next line, false at the end of the file.
    bool Next(std::string_view* out) {
        if (!buf_) return false;
        for (;;) {
            char* s = buf_ + pos_;
            size_t left = len_ - pos_;
            char* nl = static_cast<char*>(std::memchr(s, '\n', left));
            if (nl) {
                pos_ += static_cast<size_t>(nl - s) + 1;
                return Done(std::string_view(s, static_cast<size_t>(nl - s)), out);
            }
            if (eof_) {
                if (left == 0) return false;
                pos_ = len_;
                return Done(std::string_view(s, left), out);
            }
            if (left >= DxfLineMax + 1 && pos_ == 0 && len_ == RdBufSize) {
                // A line longer than the whole buffer: keep its start, drop the rest.
                std::memcpy(long_, s, DxfLineMax);
                if (!SkipToNl()) {
                    pos_ = len_;
                }
                return Done(std::string_view(long_, DxfLineMax), out);
            }
            Fill();
        }
    }
    int line = 0;          // number of the last line read, from 1
    bool readErr = false;  // the system reported a read error

private:
    bool Done(std::string_view l, std::string_view* out) {
        ++line;
        if (line == 1 && l.size() >= 3 && std::memcmp(l.data(), "\xEF\xBB\xBF", 3) == 0)
            l.remove_prefix(3);  // byte-order mark
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        size_t h = l.find('#');
        if (h != std::string_view::npos) l = l.substr(0, h);
        if (l.size() > DxfLineMax) l = l.substr(0, DxfLineMax);
        *out = l;
        return true;
    }
    void Fill() {
        if (pos_ > 0) {
            std::memmove(buf_, buf_ + pos_, len_ - pos_);
            len_ -= pos_;
            pos_ = 0;
        }
        size_t n = std::fread(buf_ + len_, 1, RdBufSize - len_, f_);
        if (n == 0) {
            eof_ = true;
            if (std::ferror(f_)) readErr = true;
        }
        len_ += n;
    }
    // Drops bytes up to and including the next line feed; false at the end of the file.
    bool SkipToNl() {
        for (;;) {
            pos_ = len_ = 0;
            Fill();
            if (len_ == 0) return false;
            char* nl = static_cast<char*>(std::memchr(buf_, '\n', len_));
            if (nl) {
                pos_ = static_cast<size_t>(nl - buf_) + 1;
                return true;
            }
        }
    }
    std::FILE* f_;
    char* buf_;
    size_t pos_ = 0, len_ = 0;
    bool eof_ = false;
    char long_[DxfLineMax];
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The first word of a line ("%s").
std::string_view Word(std::string_view s) {
    s = Trim(s);
    size_t e = s.find_first_of(" \t");
    return e == std::string_view::npos ? s : s.substr(0, e);
}

bool ParseInt(std::string_view s, int* out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    int v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr == s.data()) return false;
    *out = v;
    return true;
}

// A real as "%f" reads it (a leading number; the rest of the line is ignored).
bool ParseReal(std::string_view s, double* out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (r.ec != std::errc() || r.ptr == s.data()) return false;
    *out = v;
    return true;
}

// Points of the drawing as read (drawing units, doubles): the curves get their 32-bit
// millimetres once the whole drawing is read, when its unit and local origin are known.
struct PtBuf {
    double* p = nullptr;
    int n = 0, cap = 0;
    ~PtBuf() { FreeMem(p); }
    bool Add(double x, double y, double z) {
        if (n == cap) {
            if (cap > INT_MAX / 2) return false;
            int nc = cap ? cap * 2 : PtBufMin;
            void* q = RealcMem(p, static_cast<long long>(nc) * 3 * static_cast<long long>(sizeof(double)),
                               "RdDxf:pnt");
            if (!q) return false;
            p = static_cast<double*>(q);
            cap = nc;
        }
        double* q = p + 3 * n++;
        q[0] = x; q[1] = y; q[2] = z;
        return true;
    }
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Entity being read in the ENTITIES section (POLYLINE has its own reader).
enum EntState { StIdle = 0, StLw = 2, StLine = 3, StText = 4 };

class DxfRd {
public:
    DxfRd(std::FILE* f, const std::string& path, const DxfRdPrm& prm, DxfRdSum* sum)
        : rd_(f), path_(path), prm_(prm), sum_(*sum) {
        // A box holds a few hundred bytes: a very long path is shown by its file name, so that
        // the line number stays.
        if (path_.size() > PathShownMax) path_ = path_.substr(path_.find_last_of('/') + 1);
    }
    void Run();
    // The curves and texts read get their points: the unit applied, the local origin picked
    // (prm.org) and subtracted, then rounded to 32-bit millimetres.
    void Finish();
    bool ReadErr() const { return rd_.readErr; }
    bool SawEof() const { return sawEof_; }

private:
    // The next code/value pair, comments (999) passed over. False at the end of the file.
    bool Pair();
    void Prob(const char* fmt, int line, const char* name = nullptr);
    void SkipSec(bool header);
    void Entities();
    void Polyline();
    void EndEnt();
    bool Num(double* v);  // the value as a coordinate in drawing units; false: refused, v kept
    crv* NewCrvOf(const char* name);
    void Keep(crv* c);    // the entity's points (from beg_) become the curve's at Finish
    std::string Text(std::string_view raw) const;

    LineRd rd_;
    std::string path_;  // named in every problem message (the file name of a very long path)
    DxfRdPrm prm_;
    DxfRdSum& sum_;
    int code_ = 0;          // last group code read (kept when a code line does not parse)
    int codeLine_ = 0;
    std::string_view val_;  // value line of the pair
    bool eof_ = false;
    bool pushed_ = false;   // the current pair is to be read again
    bool sawEof_ = false;   // the EOF marker was read
    int shown_ = 0;
    DxfEnc enc_ = EncSjis;
    bool encGiven_ = false;  // the header named the version or the code page
    std::string cp_;        // code page name of a drawing in neither Shift-JIS nor UTF-8

    EntState state_ = StIdle;
    double x_ = 0, y_ = 0, z_ = 0;  // current coordinates, shared by the entity kinds
    bool bad_ = false;              // a coordinate of the vertex (or text) being read was refused
    crv* cur_ = nullptr;
    PtBuf pts_;
    int beg_ = 0;                   // first point of the entity being read
    struct PendCrv {
        crv* c;
        int beg, n;
    };
    struct PendTxt {
        siz* z;
        double x, y, h;
    };
    std::vector<PendCrv> crvs_;     // curves read, their points in pts_
    std::vector<PendTxt> txts_;     // texts read, their positions
    int lwCnt_ = 0;                 // LWPOLYLINE vertex count (code 90), 0: not given
    bool lwClosed_ = false;         // LWPOLYLINE flag bit 1: the first vertex closes it
    double ln_[6] = {};             // LINE start and end
    bool lnHas_[2] = {}, lnBad_[2] = {};  // LINE start / end: given, refused
    std::string txt_;
};

void DxfRd::Prob(const char* fmt, int line, const char* name) {
    ++sum_.prob;
    if (shown_ >= DxfMsgMax) return;
    ++shown_;
    char buf[DxfLineMax + 128];
    if (name) std::snprintf(buf, sizeof buf, fmt, name, line);
    else std::snprintf(buf, sizeof buf, fmt, line);
    // The file is named too: the user may have several drawings open in other programs.
    std::string text = path_ + " " + buf;
    DspErrMsg(MsgOwnErr, text.c_str());
}

bool DxfRd::Pair() {
    if (pushed_) {
        pushed_ = false;
        return true;
    }
    for (;;) {
        std::string_view l;
        if (!rd_.Next(&l)) {
            eof_ = true;
            return false;
        }
        codeLine_ = rd_.line;
        int c;
        if (ParseInt(l, &c) && c >= 0 && c < CodeMax) code_ = c;
        else Prob("codeが読めない:line %d", codeLine_);
        if (!rd_.Next(&val_)) {
            val_ = std::string_view();
            eof_ = true;
            return false;
        }
        if (code_ != DxfCmt) return true;
    }
}

bool DxfRd::Num(double* v) {
    double d;
    if (!ParseReal(val_, &d)) {
        Prob("数値が読めない:line %d", rd_.line);
        return false;
    }
    // Beyond a float, or beyond what a terrain in millimetres can hold after the unit factor.
    if (!std::isfinite(d) || std::fabs(d) > FLT_MAX || !std::isfinite(d * prm_.fct) ||
        std::fabs(d * prm_.fct) > DxfNumMax) {
        Prob("数値が大きすぎる:line %d", rd_.line);
        return false;
    }
    *v = d;  // drawing units: the unit is applied once the whole drawing is read (Finish)
    return true;
}

std::string DxfRd::Text(std::string_view raw) const {
    std::string out;
    // A drawing that does not declare its code page may still be UTF-8: Shift-JIS text is
    // rarely valid UTF-8.
    if (enc_ == EncUtf8 || (!encGiven_ && IsUtf8(raw))) return std::string(raw);
    if (enc_ == EncSjis) {
        SjisToUtf8(raw, &out);
        return out;
    }
    // Another Windows code page: "ANSI_1252" reads as CP1252.
    std::string from = "CP" + cp_.substr(cp_.find('_') + 1);
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == (iconv_t)-1) {
        SjisToUtf8(raw, &out);
        return out;
    }
    std::string in(raw);
    char* src = in.data();
    size_t left = in.size();
    char buf[4 * DxfLineMax + 16];
    char* dst = buf;
    size_t room = sizeof buf;
    while (left > 0 && iconv(cd, &src, &left, &dst, &room) == (size_t)-1) {
        if (room < 4) break;
        ++src;  // an unconvertible byte is dropped
        --left;
    }
    iconv_close(cd);
    return std::string(buf, static_cast<size_t>(dst - buf));
}

// Passes over a section up to its ENDSEC; the header tells the drawing's version and code page.
void DxfRd::SkipSec(bool header) {
    int var = 0;  // 1 after $ACADVER, 2 after $DWGCODEPAGE, 3 after $INSUNITS
    std::string ver, cp;
    while (Pair()) {
        if (code_ == DxfEnt && Word(val_) == "ENDSEC") break;
        if (!header) continue;
        if (code_ == DxfVar) {
            std::string_view w = Word(val_);
            var = w == "$ACADVER" ? 1 : w == "$DWGCODEPAGE" ? 2 : w == "$INSUNITS" ? 3 : 0;
        } else if (var == 1 && code_ == DxfTxt) {
            ver = std::string(Word(val_));
            var = 0;
        } else if (var == 2 && code_ == DxfName3) {
            cp = std::string(Word(val_));
            var = 0;
        } else if (var == 3 && code_ == DxfFlag) {
            int u;
            if (ParseInt(val_, &u) && u >= 0) sum_.insUnits = u;
            var = 0;
        }
    }
    if (!header) return;
    // The drawing's own unit wins over the one chosen for drawings that do not say.
    if (prm_.insUnits && DxfUnitFct(sum_.insUnits) > 0) prm_.fct = DxfUnitFct(sum_.insUnits);
    encGiven_ = !ver.empty() || !cp.empty();
    int v = 0;
    if (ver.size() > 2 && (ver[0] == 'A' || ver[0] == 'a') && ParseInt(ver.substr(2), &v) &&
        v >= AcadUtf8Ver) {
        enc_ = EncUtf8;
    } else if (cp.empty() || cp == "ANSI_932" || cp == "ansi_932" || cp.find('_') == std::string::npos) {
        enc_ = EncSjis;
    } else {
        enc_ = EncOther;
        cp_ = cp;
    }
    sum_.utf8 = enc_ == EncUtf8;
}

void DxfRd::Run() {
    for (;;) {
        if (!Pair()) return;
        if (code_ != DxfEnt) Prob("codeが0でない:line %d", codeLine_);
        std::string_view name = Word(val_);
        if (name == "EOF") {
            sawEof_ = true;
            return;
        }
        if (name != "SECTION") Prob("nameがSECTIONでない:line %d", rd_.line);
        bool sound = code_ == DxfEnt && name == "SECTION";
        if (!Pair()) return;
        if (code_ != DxfName) Prob("codeが2でない:line %d", codeLine_);
        sound = sound && code_ == DxfName;
        std::string sec(Word(val_));
        if (sec == "ENTITIES") {
            Entities();
        } else if (sec == "HEADER") {
            SkipSec(true);
        } else if (sec == "CLASSES" || sec == "TABLES" || sec == "BLOCKS" || sec == "OBJECTS" ||
                   sec == "ACDSDATA" || sec == "THUMBNAILIMAGE") {
            SkipSec(false);
        } else {
            // A well-formed unknown section is passed over whole, so that its content is not
            // taken for sections of its own, and named once in the summary; after a broken
            // section start the reading goes on with the next line.
            std::string shown = sec.substr(0, 64);
            if (sound) {
                if (sum_.secSkip++ == 0) sum_.secNames = shown.substr(0, SecNamesMax);
                else if (sum_.secNames.size() + shown.size() < SecNamesMax) sum_.secNames += " " + shown;
                SkipSec(false);
            } else {
                Prob("name[%s]がサポートされてない:line %d", rd_.line, shown.c_str());
            }
        }
        if (eof_) return;
    }
}

crv* DxfRd::NewCrvOf(const char* name) {
    if (!prm_.part) return nullptr;
    crv* c = NewCrvObj(name);
    if (!c) return nullptr;
    if (AtchCrvPrt(prm_.part, c) < 0) {
        FreeCrvObj(c, false);
        return nullptr;
    }
    return c;
}

void DxfRd::Keep(crv* c) {
    if (c && pts_.n > beg_) crvs_.push_back({c, beg_, pts_.n - beg_});
    else pts_.n = beg_;
    beg_ = pts_.n;
}

void DxfRd::Finish() {
    const double f = prm_.fct;
    sum_.fct = f;
    double lo[2] = {HUGE_VAL, HUGE_VAL}, hi[2] = {-HUGE_VAL, -HUGE_VAL};
    auto extend = [&](double x, double y) {
        lo[0] = std::fmin(lo[0], x * f);
        lo[1] = std::fmin(lo[1], y * f);
        hi[0] = std::fmax(hi[0], x * f);
        hi[1] = std::fmax(hi[1], y * f);
    };
    for (const PendCrv& k : crvs_)
        for (int i = k.beg; i < k.beg + k.n; ++i) extend(pts_.p[3 * i], pts_.p[3 * i + 1]);
    for (const PendTxt& t : txts_) extend(t.x, t.y);
    double ox = 0, oy = 0;
    if (lo[0] <= hi[0]) {
        sum_.ext = true;
        sum_.x0 = lo[0];
        sum_.y0 = lo[1];
        sum_.x1 = hi[0];
        sum_.y1 = hi[1];
        const double far = std::fmax(std::fmax(std::fabs(lo[0]), std::fabs(hi[0])),
                                     std::fmax(std::fabs(lo[1]), std::fabs(hi[1])));
        if (prm_.known) {
            sum_.org = true;
            sum_.ox = prm_.ox;
            sum_.oy = prm_.oy;
            ox = sum_.ox * 1000.0;
            oy = sum_.oy * 1000.0;
        } else if (prm_.org && far > LocCrdMax) {
            sum_.org = true;
            sum_.ox = OrgPickM(lo[0]);
            sum_.oy = OrgPickM(lo[1]);
            ox = sum_.ox * 1000.0;
            oy = sum_.oy * 1000.0;
        }
    }
    // Without an origin x * f - 0 is x * f: a local drawing keeps the floats it always had.
    for (const PendCrv& k : crvs_) {
        long long bytes = static_cast<long long>(k.n) * 3 * static_cast<long long>(sizeof(float));
        float* p = static_cast<float*>(AlcMem(bytes, "crv:p"));
        if (!p) continue;
        for (int i = 0; i < k.n; ++i) {
            const double* q = pts_.p + 3 * (k.beg + i);
            p[3 * i] = static_cast<float>(q[0] * f - ox);
            p[3 * i + 1] = static_cast<float>(q[1] * f - oy);
            p[3 * i + 2] = static_cast<float>(q[2] * f);
        }
        FreeMem(k.c->p);
        k.c->p = p;
        k.c->n = k.n;
        PntBox(k.c);
        ++sum_.crv;
        sum_.pnt += k.n;
    }
    for (const PendTxt& t : txts_) {
        if (!t.z->pts) continue;
        float p[3] = {static_cast<float>(t.x * f - ox), static_cast<float>(t.y * f - oy),
                      static_cast<float>(t.h * f)};
        std::memcpy(t.z->pts, p, sizeof p);
        std::memcpy(t.z->pts + 3, p, sizeof p);
    }
    crvs_.clear();
    txts_.clear();
    pts_.n = beg_ = 0;
}

// Ends the entity being read (a new entity name or the end of the section).
void DxfRd::EndEnt() {
    switch (state_) {
    case StLw:
        if (lwClosed_ && pts_.n - beg_ > 1) {
            const double first[3] = {pts_.p[3 * beg_], pts_.p[3 * beg_ + 1], pts_.p[3 * beg_ + 2]};
            pts_.Add(first[0], first[1], first[2]);
        }
        Keep(cur_);
        break;
    case StLine:
        // Only the ends the entity gives: a missing end is not the origin.
        pts_.n = beg_;
        for (int k = 0; k < 2; ++k)
            if (lnHas_[k] && !lnBad_[k]) pts_.Add(ln_[3 * k], ln_[3 * k + 1], ln_[3 * k + 2]);
        Keep(cur_);
        break;
    case StText:
        if (siz* z = !bad_ && prm_.part ? NewSiz(prm_.part) : nullptr) {
            z->pts = static_cast<float*>(AlcMem(6 * static_cast<long long>(sizeof(float)), "siz:pts"));
            if (z->pts) {
                z->n = 1;
                std::memset(z->pts, 0, 6 * sizeof(float));
            }
            txts_.push_back({z, x_, y_, z_});
            z->type = 1;
            z->txt = DupNam(txt_.c_str());
            ++sum_.txt;
        }
        break;
    case StIdle:
        break;
    }
    state_ = StIdle;
    cur_ = nullptr;
}

void DxfRd::Entities() {
    while (Pair()) {
        if (code_ == DxfEnt) {
            EndEnt();
            std::string_view name = Word(val_);
            if (name == "ENDSEC") return;
            if (name == "POLYLINE") {
                Polyline();
            } else if (name == "LWPOLYLINE") {
                cur_ = NewCrvOf("LWPOLYLINE");
                z_ = 0;
                lwCnt_ = 0;
                lwClosed_ = false;
                bad_ = false;
                pts_.n = beg_;
                state_ = StLw;
            } else if (name == "LINE") {
                cur_ = NewCrvOf("LINE");
                for (double& v : ln_) v = 0;
                lnHas_[0] = lnHas_[1] = lnBad_[0] = lnBad_[1] = false;
                state_ = StLine;
            } else if (name == "TEXT") {
                txt_.clear();
                bad_ = false;
                state_ = StText;
            } else if (name != "SEQEND" && name != "VERTEX") {
                ++sum_.skip;
            }
            continue;
        }
        switch (state_) {
        case StLw:
            if (code_ == DxfX) {
                if (!Num(&x_)) bad_ = true;
            } else if (code_ == DxfElev) {
                Num(&z_);
            } else if (code_ == DxfFlag) {
                int f;
                if (ParseInt(val_, &f)) lwClosed_ = (f & PlClosed) != 0;
                else Prob("数値が読めない:line %d", rd_.line);
            } else if (code_ == DxfCount) {
                int n;
                if (ParseInt(val_, &n)) lwCnt_ = n;
                else Prob("数値が読めない:line %d", rd_.line);
            } else if (code_ == DxfY) {
                // The y ends a vertex; a refused x or y drops it. Vertices beyond the declared
                // count are not read.
                if (Num(&y_) && !bad_ && (lwCnt_ <= 0 || pts_.n - beg_ < lwCnt_)) pts_.Add(x_, y_, z_);
                bad_ = false;
            }
            break;
        case StLine: {
            static constexpr int lineCodes[6] = {DxfX, DxfY, DxfZ, DxfX2, DxfY2, DxfZ2};
            for (int k = 0; k < 6; ++k)
                if (code_ == lineCodes[k]) {
                    lnHas_[k / 3] = true;
                    if (!Num(&ln_[k])) lnBad_[k / 3] = true;
                }
            break;
        }
        case StText:
            if (code_ == DxfX || code_ == DxfY || code_ == DxfZ) {
                double* v = code_ == DxfX ? &x_ : code_ == DxfY ? &y_ : &z_;
                if (!Num(v)) bad_ = true;
            } else if (code_ == DxfTxt) {
                txt_ = Text(Word(val_));
            }
            break;
        case StIdle:
            break;
        }
    }
    EndEnt();
}

// From the POLYLINE name to its SEQEND. Another entity name or the end of the section also ends
// the polyline (its pair is read again by the section), so a missing SEQEND loses nothing else.
// A 2D polyline (flags without the 3D bit) lies at its elevation, the header's own 30; polygon
// and polyface meshes without the 3D bit are passed over.
void DxfRd::Polyline() {
    crv* c = NewCrvOf("POLYLINE");
    bool closed = false, skip = false, flat = false, have = false;
    double elev = 0;
    int idx = -1;
    double first[3] = {0, 0, 0};
    bool haveFirst = false;
    pts_.n = beg_;
    bad_ = false;
    // The vertex read so far joins the curve unless one of its coordinates was refused.
    auto add = [&]() {
        if (bad_) return;
        const double p[3] = {x_, y_, flat ? elev : z_};
        pts_.Add(p[0], p[1], p[2]);
        if (!haveFirst) {
            std::memcpy(first, p, sizeof p);
            haveFirst = true;
        }
    };
    while (Pair()) {
        if (code_ == DxfEnt) {
            std::string_view name = Word(val_);
            if (name == "VERTEX") {
                // A skipped polyline still counts its vertices, so that their flags are not
                // taken for the polyline's own.
                if (idx >= 0 && !skip) add();
                bad_ = false;
                ++idx;
                continue;
            }
            if (name != "SEQEND") pushed_ = true;
            break;
        }
        if (idx < 0) {
            if (code_ == DxfFlag) {
                int f;
                if (!ParseInt(val_, &f)) {
                    Prob("数値が読めない:line %d", rd_.line);
                } else {
                    closed = (f & PlClosed) != 0;
                    skip = !(f & Pl3D) && (f & (PlMesh | PlFace));
                    flat = !(f & Pl3D) && !skip;
                }
            } else if (code_ == DxfZ) {
                Num(&elev);
            }
        } else if (code_ == DxfX || code_ == DxfY || code_ == DxfZ) {
            double* v = code_ == DxfX ? &x_ : code_ == DxfY ? &y_ : &z_;
            if (!Num(v)) bad_ = true;
        }
    }
    if (idx >= 0 && !skip) {
        add();
        have = pts_.n > beg_;
        if (closed && have) pts_.Add(first[0], first[1], first[2]);
    }
    if (skip) ++sum_.skip2d;
    if (flat && have && c) ++sum_.pl2d;
    bad_ = false;
    Keep(c);
}

}  // namespace

double DxfUnitFct(int code) {
    switch (code) {
    // Inches (1) are the value of the imperial templates (AutoCAD's, GDAL's DXF writer) whatever
    // the drawing holds: taken as undeclared.
    case 2: return 304.8;         // feet
    case 4: return 1.0;           // millimetres
    case 5: return 10.0;          // centimetres
    case 6: return 1000.0;        // metres
    case 7: return 1.0e6;         // kilometres
    case 10: return 914.4;        // yards
    case 14: return 100.0;        // decimetres
    case 21: return 1200.0 / 3.937;  // US survey feet
    default: return 0.0;          // unitless, and units no survey drawing uses
    }
}

int DxfHdrUnit(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) return -1;
    // Only the HEADER is read: the pairs up to its ENDSEC (or the first entity section).
    LineRd rd(f.get());
    std::string_view code, val;
    bool units = false;
    while (rd.Next(&code) && rd.Next(&val)) {
        int c = -1;
        if (!ParseInt(code, &c)) return -1;
        std::string_view w = Word(val);
        if (c == DxfEnt && (w == "ENDSEC" || w == "EOF")) return -1;
        if (c == DxfName && w != "HEADER") return -1;
        if (c == DxfVar) units = w == "$INSUNITS";
        else if (units && c == DxfFlag) {
            int u;
            return ParseInt(val, &u) && u >= 0 ? u : -1;
        }
    }
    return -1;
}

int DxfRead(const std::string& path, const DxfRdPrm& prm, DxfRdSum* sum) {
    DxfRdSum local;
    DxfRdSum& s = sum ? *sum : local;
    s = DxfRdSum();
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        DspErrMsg(MsgFilOpn, path.c_str());
        return -1;
    }
    int extra = 0;
    {
        DxfRd rd(f.get(), path, prm, &s);
        rd.Run();
        rd.Finish();
        s.early = !rd.SawEof();
        extra = s.prob - DxfMsgMax;
        if (rd.ReadErr()) DspErrMsg(MsgFilRd, path.c_str());
    }
    if (extra > 0) {
        char buf[128];
        std::snprintf(buf, sizeof buf, "ほかに %d 件の問題がありました。", extra);
        DspErrMsg(MsgOwnErr, buf);
    }
    return 0;
}
