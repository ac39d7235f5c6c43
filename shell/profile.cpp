#include "profile.h"
#include <QSettings>
#include <cmath>
#include <cstdio>
#include "core/state.h"
#include "core/unit.h"
#include "formats/xchg.h"
#include "curves/crv.h"
#include "doc/recover.h"
#include "display/drw.h"
#include "terrain/trn.h"
#include "vectorize/vec.h"

namespace shl {

namespace {
const char* const kDirSec = "File Directories";
const char* const kPrmSec = "Default Parameters";
const char* const kMruSec = "Recent File List";
const char* const kIfcSec = "Interface";
const char* const kLangVal[] = {"system", "ja", "en"};  // by LangPref
const char* const kDirKey[Profile::DirNum] = {
    "Scean File Directory", "DXF File Directory", "VRML File Directory", "Image File Directory",
    "GIS File Directory"};

// Each reader takes the value as the C library would with the key's format and keeps it only when
// the whole text is that one value and it lies in range (what the settings dialogs accept).
bool ReadInt(QSettings& s, const char* key, int lo, int hi, int& out) {
    if (!s.contains(key)) return false;
    const QByteArray v = s.value(key).toString().toUtf8();
    int x = 0;
    char rest = 0;
    if (std::sscanf(v.constData(), "%d %c", &x, &rest) != 1) return false;
    if (x < lo || x > hi) return false;
    out = x;
    return true;
}

bool ReadReal(QSettings& s, const char* key, double lo, double hi, double& out) {
    if (!s.contains(key)) return false;
    const QByteArray v = s.value(key).toString().toUtf8();
    double x = 0;
    char rest = 0;
    if (std::sscanf(v.constData(), "%lf %c", &x, &rest) != 1) return false;
    if (!std::isfinite(x) || x < lo || x > hi) return false;
    out = x;
    return true;
}

bool ReadFloat(QSettings& s, const char* key, double lo, double hi, float& out) {
    double x = 0;
    if (!ReadReal(s, key, lo, hi, x)) return false;
    out = float(x);
    return true;
}

bool ReadRgb(QSettings& s, const char* key, int out[3]) {
    if (!s.contains(key)) return false;
    const QByteArray v = s.value(key).toString().toUtf8();
    int c[3];
    char rest = 0;
    if (std::sscanf(v.constData(), "%d %d %d %c", &c[0], &c[1], &c[2], &rest) != 3) return false;
    for (int i = 0; i < 3; ++i)
        if (c[i] < 0 || c[i] > 255) return false;
    for (int i = 0; i < 3; ++i) out[i] = c[i];
    return true;
}

// A unit by its name ("mm", "cm", "m", "km").
bool ReadUnit(QSettings& s, const char* key, LenUnit& out) {
    if (!s.contains(key)) return false;
    const QString v = s.value(key).toString().trimmed();
    for (LenUnit u : {LenUnit::Mm, LenUnit::Cm, LenUnit::M, LenUnit::Km})
        if (v == QLatin1String(UnitName(u))) {
            out = u;
            return true;
        }
    return false;
}

QString Fmt(const char* f, double v) { return QString::asprintf(f, v); }
QString FmtI(int v) { return QString::asprintf("%d", v); }
}  // namespace

Profile::Profile() {
    for (auto& c : cust) c[0] = c[1] = c[2] = 255;
}

Profile& CurProfile() {
    static Profile p;
    return p;
}

void LoadProfile(QSettings& s, Profile& p) {
    s.beginGroup(kDirSec);
    for (int i = 0; i < Profile::DirNum; ++i) {
        QString d = s.value(kDirKey[i], QString()).toString();
        while (d.size() > 1 && d.endsWith('/')) d.chop(1);
        p.dir[i] = d;
    }
    s.endGroup();

    // Missing keys take the profile's defaults.
    SetEdt.pickAp = 5;
    SetEdt.cnctDst = 10.0;
    SamHgtDst = 20000.0f;
    HgtRng = 500.0f;
    BgCol[0] = 0.0;
    BgCol[1] = 74.0;
    BgCol[2] = 74.0;
    for (auto& c : p.cust) c[0] = c[1] = c[2] = 255;
    CrsAngNum = 8;
    CrsLenScl = 0.3f;
    FltrAng = 45.0f;
    IntpPrph = 0;
    TrnMethod = TrnMethodCrs;
    VertExag = 1.0;
    // The units of the DXF import and of the exports: a survey's metres for exports.
    InUnit = InUnitDef;
    OutUnit = LenUnit::M;
    AutoSaveSec = 120;

    s.beginGroup(kPrmSec);
    ReadInt(s, "Pick Apperture", 1, 100, SetEdt.pickAp);
    ReadReal(s, "Connect Distance", 1, 100, SetEdt.cnctDst);
    ReadFloat(s, "Threshold of Same Hight", 0, 4294967295.0, SamHgtDst);
    ReadFloat(s, "Hight Range", 1e-10, 1e11, HgtRng);
    ReadReal(s, "Background Color R", 0, 255, BgCol[0]);
    ReadReal(s, "Background Color G", 0, 255, BgCol[1]);
    ReadReal(s, "Background Color B", 0, 255, BgCol[2]);
    for (int i = 0; i < 16; ++i) {
        const QByteArray key = QString::asprintf("Custom Color%d", i + 1).toUtf8();
        ReadRgb(s, key.constData(), p.cust[i]);
    }
    ReadInt(s, "Number of Cross Line Angle", 1, 360, CrsAngNum);
    ReadFloat(s, "Length Scale of Cross Line", 1e-6, 1e6, CrsLenScl);
    ReadFloat(s, "Angle of Filter Surface", 0, 90, FltrAng);
    ReadInt(s, "Interpolate Peripheral of Surface", 0, 1, IntpPrph);
    ReadInt(s, "TrnMethod", TrnMethodCrs, TrnMethodPath, TrnMethod);
    int centre = 0;  // tracing: 0 outlines, 1 centre lines
    ReadInt(s, "VecCentre", 0, 1, centre);
    VecCentre = static_cast<uint8_t>(centre);
    ReadReal(s, "VertExag", VertExagMin, VertExagMax, VertExag);
    ReadUnit(s, "InUnit", InUnit);
    ReadUnit(s, "OutUnit", OutUnit);
    ReadInt(s, "AutoSave", 0, AutoSaveMax, AutoSaveSec);
    s.endGroup();

    p.lang = PrefSystem;
    const QString lv = s.value(QStringLiteral("%1/Language").arg(kIfcSec)).toString().trimmed();
    for (int i = PrefSystem; i <= PrefEn; ++i)
        if (lv == QLatin1String(kLangVal[i])) p.lang = LangPref(i);

    p.recent.clear();
    s.beginGroup(kMruSec);
    for (int i = 0; i < 4; ++i) {
        const QString f = s.value(QStringLiteral("File%1").arg(i + 1)).toString();
        if (!f.isEmpty() && !p.recent.contains(f)) p.recent << f;
    }
    s.endGroup();
}

std::vector<ProfileEntry> ProfileEntries(const Profile& p) {
    std::vector<ProfileEntry> e;
    const auto add = [&e](const char* sec, const QString& key, const QString& val) {
        e.push_back({QString::fromLatin1(sec), key, val});
    };
    for (int i = 0; i < Profile::DirNum; ++i) add(kDirSec, kDirKey[i], p.dir[i]);
    add(kPrmSec, "Pick Apperture", FmtI(SetSto.pickAp));
    add(kPrmSec, "Connect Distance", Fmt("%lf", SetSto.cnctDst));
    add(kPrmSec, "Threshold of Same Hight", Fmt("%f", SamHgtDst));
    add(kPrmSec, "Hight Range", Fmt("%f", HgtRng));
    add(kPrmSec, "Background Color R", Fmt("%lf", BgCol[0]));
    add(kPrmSec, "Background Color G", Fmt("%lf", BgCol[1]));
    add(kPrmSec, "Background Color B", Fmt("%lf", BgCol[2]));
    for (int i = 0; i < 16; ++i)
        add(kPrmSec, QString::asprintf("Custom Color%d", i + 1),
            QString::asprintf("%d %d %d", p.cust[i][0], p.cust[i][1], p.cust[i][2]));
    add(kPrmSec, "Number of Cross Line Angle", FmtI(CrsAngNum));
    add(kPrmSec, "Length Scale of Cross Line", Fmt("%f", CrsLenScl));
    add(kPrmSec, "Angle of Filter Surface", Fmt("%f", FltrAng));
    add(kPrmSec, "Interpolate Peripheral of Surface", FmtI(IntpPrph));
    add(kPrmSec, "TrnMethod", FmtI(TrnMethod));
    add(kPrmSec, "VecCentre", FmtI(VecCentre));
    add(kPrmSec, "VertExag", Fmt("%lf", VertExag));
    add(kPrmSec, "InUnit", QLatin1String(UnitName(InUnit)));
    add(kPrmSec, "OutUnit", QLatin1String(UnitName(OutUnit)));
    add(kPrmSec, "AutoSave", FmtI(AutoSaveSec));
    add(kIfcSec, "Language", QLatin1String(kLangVal[p.lang]));
    for (int i = 0; i < p.recent.size(); ++i)
        add(kMruSec, QStringLiteral("File%1").arg(i + 1), p.recent[i]);
    return e;
}

void SaveProfile(QSettings& s, const Profile& p) {
    // The recent list is written whole: entries beyond its length go.
    s.remove(kMruSec);
    for (const ProfileEntry& e : ProfileEntries(p)) {
        s.beginGroup(e.sec);
        s.setValue(e.key, e.val);
        s.endGroup();
    }
    s.sync();
}

QSettings* OpenUserProfile() {
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope, "Orvane", "Orvane Altimetra");
}

}  // namespace shl
