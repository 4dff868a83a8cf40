// Settings records: the archive layouts of each version that the program wrote.
#include "core/cal_area.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "golden.h"
#include "platform/text.h"

namespace wv {
namespace {

using test::Golden;
using test::Load;
using test::Stored;

CTyd_Inf GoldenTyd() {
    CTyd_Inf t;
    t.m_nDirMode = 1;
    t.m_nDir16 = 5;
    t.m_dDirAngle = 123.5;
    t.m_dTide = 1.25;
    t.m_dH0 = 3.5;
    t.m_dT0 = 9.0;
    t.m_nDirDiv = 36;
    t.m_dSmax = 25.0;
    t.m_dSpreadRight = 80.0;
    t.m_dSpreadLeft = 70.0;
    t.m_nFreqDiv = 5;
    t.m_bBreaking = 1;
    t.m_nOutDirSense = 1;
    t.m_bFreeRotation = 1;
    t.m_nCalcState = 3;
    return t;
}

// The values of the golden drawing conditions, as of version 12.
CZmn_Inf GoldenZmn() {
    CZmn_Inf z;
    z.m_strRemark = Utf8ToCp932("備考テスト ｶﾅ");
    z.m_nPaperSize = 4;
    z.m_nPaperOrient = 1;
    z.m_nMarginTop = 15;
    z.m_nMarginBottom = 12;
    z.m_nMarginRight = 11;
    z.m_nMarginLeft = 13;
    z.m_nFrameHeight = 180;
    z.m_nFrameWidth = 270;
    z.m_dCenterX = -30500.25;
    z.m_dCenterY = 12000.75;
    z.m_nScale = 25000;
    z.m_dRotation = -15.0;
    z.m_bDrawFileName = 0;
    z.m_nScaleStyle = 1;
    z.m_bDrawContour = 0;
    z.m_bDrawContourValue = 0;
    z.m_bDrawLandGrid = 1;
    z.m_bFillLand = 1;
    z.m_nLandColor = 5;
    z.m_nValueType = 3;
    z.m_nFigureMask = 3;
    z.m_bColorContour = 1;
    z.m_nContourColor = 1;
    z.m_bVectorFigure = 1;
    z.m_bDirMapFigure = 1;
    z.m_bCheckContour = 1;
    z.m_bCheckMap = 1;
    z.m_dContTextSize = 3.0;
    z.m_dMapTextSize = 2.0;
    z.m_dDirTextSize = 1.75;
    z.m_dVectorMin = 1.5;
    z.m_dVectorMax = 12.0;
    z.m_nDecimals = 3;
    z.m_ptNorthMark = CPointD(1000.5, -2000.25);
    z.m_ptWaveMark = CPointD::Unset();
    const float ref[4][2] = {{10, 20}, {11, 21}, {12, 22}, {13, 23}};
    for (int k = 0; k < 4; ++k) {
        z.m_interval[k].m_ptRef = CPointF(ref[k][0], ref[k][1]);
        z.m_interval[k].m_dStepDown = 2.0 + 2 * k;
        z.m_interval[k].m_dStepAcross = 3.0 + 2 * k;
    }
    const double low[4] = {0.1, 0.2, 0.3, 0.4}, high[4] = {1.1, 1.2, 1.3, 1.4};
    for (int k = 0; k < 4; ++k) {
        z.m_dVectorLow[k] = low[k];
        z.m_dVectorHigh[k] = high[k];
    }
    return z;
}

// A record whose every field differs from both the defaults and the golden values, so
// that a field the load skips is recognisable.
CZmn_Inf MarkedZmn() {
    CZmn_Inf z;
    z.m_nScaleStyle = 7;
    z.m_bDrawContourValue = 7;
    z.m_bDrawLandGrid = 7;
    z.m_bDirMapFigure = 7;
    z.m_bCheckMap = 7;
    z.m_dDirTextSize = 7.5;
    z.m_dVectorMin = 7.5;
    z.m_dVectorMax = 77.5;
    z.m_nDecimals = 7;
    for (auto& iv : z.m_interval) iv = {CPointF(7, 7), 7.0, 7.0};
    return z;
}

TEST(SettingsRecords, InitAndSetDefaultRestoreTheConstructorValues) {
    CTyd_Inf t = GoldenTyd();
    t.Init();
    EXPECT_EQ(t, CTyd_Inf());
    CZmn_Inf z = GoldenZmn();
    z.Init();
    EXPECT_EQ(z, CZmn_Inf());
    // Both marks start unplaced, and so do the interval sets.
    EXPECT_EQ(z.m_ptNorthMark, CPointD::Unset());
    EXPECT_EQ(z.m_interval[3].m_ptRef, CPointF(kUnsetCoordF, kUnsetCoordF));
    CCalArea a;
    a.SetOrigin(-5.0, 7.5);
    a.SetMeshCountX(-3);
    a.SetDefault();
    EXPECT_EQ(a, CCalArea());
}

// The defaults of a new calculation decide what a user gets without touching a dialog;
// a slip here changes every new result.
TEST(SettingsRecords, DefaultsOfANewCalculation) {
    const CTyd_Inf t;
    EXPECT_EQ(t.m_nDirDiv, 45);
    EXPECT_EQ(t.m_dSmax, 10.0);
    EXPECT_EQ(t.m_dSpreadRight, 90.0);
    EXPECT_EQ(t.m_dSpreadLeft, 90.0);
    EXPECT_EQ(t.m_nFreqDiv, 7);
    EXPECT_EQ(t.m_nCalcState, 0);
    const CZmn_Inf z;
    EXPECT_EQ(z.m_nPaperSize, 3);
    EXPECT_EQ(z.m_nFrameHeight, 267);
    EXPECT_EQ(z.m_nFrameWidth, 400);
    EXPECT_EQ(z.m_nScale, 50000);
    EXPECT_EQ(z.m_nLandColor, 2);
    EXPECT_EQ(z.m_dVectorMax, 10.0);
    EXPECT_EQ(z.m_nDecimals, 2);
    EXPECT_EQ(z.m_ptNorthMark, CPointD::Unset());
    EXPECT_EQ(z.m_interval[3].m_ptRef, CPointF(kUnsetCoordF, kUnsetCoordF));
    EXPECT_EQ(z.m_interval[3].m_dStepDown, -1.0);
    EXPECT_EQ(CCalArea().GetMeshSize(), 10.0);
}

TEST(TydInf, StoresTheCurrentLayoutAndLoadsEachVersion) {
    CTyd_Inf t = GoldenTyd();
    EXPECT_EQ(Stored(t, 12), Golden("tyd_inf_v12.bin"));
    EXPECT_EQ(Stored(t, 3), Golden("tyd_inf_v12.bin"));

    CTyd_Inf v12;
    Load(v12, Golden("tyd_inf_v12.bin"), 12);
    EXPECT_EQ(v12, GoldenTyd());

    CTyd_Inf old;
    old.m_bFreeRotation = 1;  // a version-9 file forces the view to turn itself
    Load(old, Golden("tyd_inf_v9.bin"), 9);
    CTyd_Inf expected = GoldenTyd();
    expected.m_bFreeRotation = 0;
    EXPECT_EQ(old, expected);

    CTyd_Inf v10;
    Load(v10, Golden("tyd_inf_v12.bin"), 10);
    EXPECT_EQ(v10.m_bFreeRotation, 1);
}

TEST(TydInf, TruncatedArchiveChangesNothing) {
    auto bytes = Golden("tyd_inf_v12.bin");
    bytes.resize(bytes.size() - 2);
    CTyd_Inf t;
    CArchive ar(bytes);
    EXPECT_THROW(t.Serialize(ar, 12), ArchiveError);
    EXPECT_EQ(t, CTyd_Inf());
}

TEST(ZmnInf, StoresTheVersion12LayoutWhateverTheVersion) {
    CZmn_Inf z = GoldenZmn();
    EXPECT_EQ(Stored(z, 12), Golden("zmn_inf_v12.bin"));
    EXPECT_EQ(Stored(z, 7), Golden("zmn_inf_v12.bin"));
}

// Each older layout skips the fields that came later, which keep what the record held;
// version 10 and older also force the vector lengths to 0 .. 10.
TEST(ZmnInf, OlderVersionsSkipTheirMissingFieldsAndVersion10ForcesTheVectorLengths) {
    CZmn_Inf expected = GoldenZmn();
    const CZmnInterval marked{CPointF(7, 7), 7.0, 7.0};
    for (unsigned v : {12u, 11u, 10u, 8u, 7u}) {
        if (v == 11) expected.m_nScaleStyle = 7;  // came with version 12
        if (v == 10) {
            expected.m_bDrawContourValue = 7;
            expected.m_nDecimals = 7;
            expected.m_dVectorMin = 0.0;
            expected.m_dVectorMax = 10.0;
        }
        if (v == 8) {
            expected.m_bDirMapFigure = 7;
            expected.m_dDirTextSize = 7.5;
            expected.m_interval[2] = marked;
        }
        if (v == 7) {
            expected.m_bDrawLandGrid = 7;
            expected.m_bCheckMap = 7;
            expected.m_interval[0] = marked;
        }
        CZmn_Inf z = MarkedZmn();
        Load(z, Golden("zmn_inf_v" + std::to_string(v) + ".bin"), v);
        EXPECT_EQ(z, expected) << "version " << v;
    }
}

TEST(CalArea, ArchiveAndBadCounts) {
    CCalArea a;
    a.SetOrigin(-12345.678, 6789.125);
    a.SetMeshSize(25.0);
    a.SetMeshCountX(40);
    a.SetMeshCountY(30);
    EXPECT_EQ(Stored(a, 12), Golden("cal_area.bin"));
    CCalArea b;
    Load(b, Golden("cal_area.bin"), 12);
    EXPECT_EQ(b, a);

    // A negative count, or a mesh too large to number its nodes, is refused.
    for (auto [x, y] : {std::pair{-1, 30}, std::pair{40, -2}, std::pair{70000, 70000}}) {
        auto bytes = Golden("cal_area.bin");
        test::PutInt(bytes, 24, x);
        test::PutInt(bytes, 28, y);
        CCalArea c;
        CArchive ar(bytes);
        EXPECT_THROW(c.Serialize(ar, 12), ArchiveError) << x << " x " << y;
        EXPECT_EQ(c, CCalArea());
    }
}

}  // namespace
}  // namespace wv
