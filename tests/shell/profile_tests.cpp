// The user profile: defaults for missing keys, malformed values ignored, every key written back.
#include <gtest/gtest.h>
#include <QSettings>
#include <QTemporaryDir>
#include "core/state.h"
#include "curves/crv.h"
#include "display/drw.h"
#include "formats/xchg.h"
#include "profile.h"
#include "terrain/trn.h"
#include "vectorize/vec.h"

namespace {

class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("profile.ini");
    }
    // Start-up: defaults, the profile into the edit copy, stored and working copies.
    shl::Profile Load() {
        shl::Profile p;
        SetPrmDef();
        QSettings s(path, QSettings::IniFormat);
        shl::LoadProfile(s, p);
        StoPrm();
        AplPrm();
        return p;
    }
    // Exit: the working copy back into the stored copy, then every key.
    void Save(const shl::Profile& p) {
        SavPrm();
        QSettings s(path, QSettings::IniFormat);
        shl::SaveProfile(s, p);
    }
    void Put(const char* key, const QString& v) {
        QSettings s(path, QSettings::IniFormat);
        s.setValue(QString("Default Parameters/") + key, v);
    }
    QString Get(const char* section, const char* key) {
        QSettings s(path, QSettings::IniFormat);
        return s.value(QString(section) + "/" + key).toString();
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(ProfileFile, EmptyProfileGivesDefaultsAndExitWritesEveryKey) {
    // Values left behind by an earlier run must not leak into a fresh start.
    SamHgtDst = 1;
    FltrAng = 3;
    CrsAngNum = 2;
    const shl::Profile p = Load();
    EXPECT_EQ(PickAp, 5);
    EXPECT_EQ(SetEdt.pickAp, 5);
    EXPECT_DOUBLE_EQ(SetEdt.cnctDst, 10.0);
    EXPECT_FLOAT_EQ(SamHgtDst, 20000.0f);
    EXPECT_FLOAT_EQ(HgtRng, 500.0f);
    EXPECT_DOUBLE_EQ(BgCol[0], 0.0);
    EXPECT_DOUBLE_EQ(BgCol[1], 74.0);
    EXPECT_DOUBLE_EQ(BgCol[2], 74.0);
    EXPECT_EQ(CrsAngNum, 8);
    EXPECT_FLOAT_EQ(CrsLenScl, 0.3f);
    EXPECT_FLOAT_EQ(FltrAng, 45.0f);
    EXPECT_EQ(IntpPrph, 0);
    EXPECT_EQ(p.cust[15][2], 255);

    Save(p);
    EXPECT_EQ(Get("Default Parameters", "Pick Apperture"), "5");
    EXPECT_EQ(Get("Default Parameters", "Connect Distance"), "10.000000");
    EXPECT_EQ(Get("Default Parameters", "Threshold of Same Hight"), "20000.000000");
    EXPECT_EQ(Get("Default Parameters", "Hight Range"), "500.000000");
    EXPECT_EQ(Get("Default Parameters", "Background Color G"), "74.000000");
    EXPECT_EQ(Get("Default Parameters", "Custom Color16"), "255 255 255");
    EXPECT_EQ(Get("Default Parameters", "Number of Cross Line Angle"), "8");
    EXPECT_EQ(Get("Default Parameters", "Length Scale of Cross Line"), "0.300000");
    EXPECT_EQ(Get("Default Parameters", "Angle of Filter Surface"), "45.000000");
    EXPECT_EQ(Get("Default Parameters", "Interpolate Peripheral of Surface"), "0");
    EXPECT_EQ(Get("Default Parameters", "TrnMethod"), "0");
    EXPECT_EQ(Get("Default Parameters", "AutoSave"), "120");
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup("Default Parameters");
    EXPECT_EQ(s.childKeys().size(), 17 + 16);
    s.endGroup();
    s.beginGroup("File Directories");
    EXPECT_EQ(s.childKeys().size(), 5);  // the four directories and the GIS one
    EXPECT_EQ(s.value("Scean File Directory").toString(), "");
}

// The generation method chosen in the preferences comes back at the next start; an unknown
// method keeps the default.
TEST_F(ProfileFile, GenerationMethodIsKept) {
    Put("TrnMethod", "1");
    Load();
    EXPECT_EQ(TrnMethod, TrnMethodMinCrv);
    Put("TrnMethod", "7");
    Load();
    EXPECT_EQ(TrnMethod, TrnMethodCrs);
    TrnMethod = TrnMethodMinCrv;
    Save(shl::Profile());
    EXPECT_EQ(Get("Default Parameters", "TrnMethod"), "1");
    TrnMethod = TrnMethodCrs;
}

// The fault: the DXF import unit was forgotten between sessions (a 600 x 860 m drawing came in at
// 600 x 860 mm after a restart) and exports defaulted to km. Both units come back at the next
// start; exports default to metres; a value that names no unit keeps the default.
TEST_F(ProfileFile, InterchangeUnitsAreKept) {
    Load();
    EXPECT_EQ(InUnit, InUnitDef);
    EXPECT_EQ(OutUnit, LenUnit::M);
    Put("InUnit", "m");
    Put("OutUnit", "km");
    Load();
    EXPECT_EQ(InUnit, LenUnit::M);
    EXPECT_EQ(OutUnit, LenUnit::Km);
    Put("InUnit", "furlong");
    Load();
    EXPECT_EQ(InUnit, InUnitDef);
    InUnit = LenUnit::Cm;
    Save(shl::Profile());
    EXPECT_EQ(Get("Default Parameters", "InUnit"), "cm");
    EXPECT_EQ(Get("Default Parameters", "OutUnit"), "km");
    InUnit = InUnitDef;
    OutUnit = OutUnitDef;
}

// The tracing kind (outlines or centre lines) comes back at the next start.
TEST_F(ProfileFile, CentreLineTracingIsKept) {
    Put("VecCentre", "1");
    Load();
    EXPECT_EQ(VecCentre, 1);
    Put("VecCentre", "2");
    Load();
    EXPECT_EQ(VecCentre, 0);
    VecCentre = 1;
    Save(shl::Profile());
    EXPECT_EQ(Get("Default Parameters", "VecCentre"), "1");
    VecCentre = 0;
}

// The vertical exaggeration of the view settings comes back at the next start; a value outside
// 1..20 keeps the default.
TEST_F(ProfileFile, VerticalExaggerationIsKept) {
    Put("VertExag", "4.5");
    Load();
    EXPECT_EQ(VertExag, 4.5);
    Put("VertExag", "0.5");
    Load();
    EXPECT_EQ(VertExag, 1.0);
    Put("VertExag", "high");
    Load();
    EXPECT_EQ(VertExag, 1.0);
    VertExag = 12;
    Save(shl::Profile());
    EXPECT_EQ(Get("Default Parameters", "VertExag"), "12.000000");
    VertExag = 1;
}

TEST_F(ProfileFile, StoredValuesReachTheEngine) {
    Put("Pick Apperture", "7");
    Put("Connect Distance", "12.5");
    Put("Threshold of Same Hight", "1500");
    Put("Hight Range", "250");
    Put("Background Color R", "10");
    Put("Background Color G", "20.5");
    Put("Background Color B", "255");
    Put("Custom Color3", "1 2 3");
    Put("Number of Cross Line Angle", "16");
    Put("Length Scale of Cross Line", "0.5");
    Put("Angle of Filter Surface", "30");
    Put("Interpolate Peripheral of Surface", "1");
    {
        QSettings s(path, QSettings::IniFormat);
        s.setValue("File Directories/DXF File Directory", "/home/u/maps/");
    }
    const shl::Profile p = Load();
    EXPECT_EQ(PickAp, 7);
    EXPECT_DOUBLE_EQ(SetEdt.cnctDst, 12.5);
    EXPECT_FLOAT_EQ(SamHgtDst, 1500.0f);
    EXPECT_FLOAT_EQ(HgtRng, 250.0f);
    EXPECT_DOUBLE_EQ(BgCol[0], 10.0);
    EXPECT_DOUBLE_EQ(BgCol[1], 20.5);
    EXPECT_DOUBLE_EQ(BgCol[2], 255.0);
    EXPECT_EQ(p.cust[2][0], 1);
    EXPECT_EQ(p.cust[2][1], 2);
    EXPECT_EQ(p.cust[2][2], 3);
    EXPECT_EQ(p.cust[3][0], 255);
    EXPECT_EQ(CrsAngNum, 16);
    EXPECT_FLOAT_EQ(CrsLenScl, 0.5f);
    EXPECT_FLOAT_EQ(FltrAng, 30.0f);
    EXPECT_EQ(IntpPrph, 1);
    EXPECT_EQ(p.dir[shl::Profile::DirDxf], "/home/u/maps");

    // Written back and read again, nothing changes.
    Save(p);
    EXPECT_EQ(Get("Default Parameters", "Pick Apperture"), "7");
    EXPECT_EQ(Get("Default Parameters", "Connect Distance"), "12.500000");
    EXPECT_EQ(Get("Default Parameters", "Custom Color3"), "1 2 3");
    const shl::Profile q = Load();
    EXPECT_EQ(PickAp, 7);
    EXPECT_DOUBLE_EQ(BgCol[1], 20.5);
    EXPECT_EQ(q.dir[shl::Profile::DirDxf], "/home/u/maps");
}

TEST_F(ProfileFile, MalformedOrOutOfRangeValuesKeepTheDefaults) {
    Put("Pick Apperture", "abc");
    Put("Connect Distance", "");
    Put("Threshold of Same Hight", "-4");
    Put("Hight Range", "nan");
    Put("Background Color R", "300");
    Put("Custom Color1", "1 2");
    Put("Custom Color2", "1 2 999");
    Put("Number of Cross Line Angle", "8 9");
    Put("Angle of Filter Surface", "95");
    Put("Interpolate Peripheral of Surface", "2");
    const shl::Profile p = Load();
    EXPECT_EQ(PickAp, 5);
    EXPECT_DOUBLE_EQ(SetEdt.cnctDst, 10.0);
    EXPECT_FLOAT_EQ(SamHgtDst, 20000.0f);
    EXPECT_FLOAT_EQ(HgtRng, 500.0f);
    EXPECT_DOUBLE_EQ(BgCol[0], 0.0);
    EXPECT_EQ(p.cust[0][1], 255);
    EXPECT_EQ(p.cust[1][2], 255);
    EXPECT_EQ(CrsAngNum, 8);
    EXPECT_FLOAT_EQ(FltrAng, 45.0f);
    EXPECT_EQ(IntpPrph, 0);
}

// The interface language: "system", "ja" or "en"; anything else follows the system.
TEST_F(ProfileFile, LanguageChoiceIsReadAndWritten) {
    const struct {
        const char* stored;
        shl::LangPref want;
    } cases[] = {{"en", shl::PrefEn}, {"ja", shl::PrefJa}, {"system", shl::PrefSystem},
                 {"fr", shl::PrefSystem}, {"EN", shl::PrefSystem}, {"", shl::PrefSystem}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        {
            QSettings s(path, QSettings::IniFormat);
            s.setValue("Interface/Language", c.stored);
        }
        EXPECT_EQ(Load().lang, c.want);
    }
    shl::Profile p = Load();
    p.lang = shl::PrefEn;
    Save(p);
    EXPECT_EQ(Get("Interface", "Language"), "en");
    p.lang = shl::PrefSystem;
    Save(p);
    EXPECT_EQ(Get("Interface", "Language"), "system");
}

}  // namespace
