// The contours of the bay example's calculation, computed as tools/wave_road computes it
// (the survey extent at 50 m, waves of 2 m and 8 s from the north, 45 directions and 7
// frequencies): depth contours against the bay's depth lines, result contours checked
// point by point, and the user's marks through saving and opening the calculation.
#include "calc/cal_threads.h"
#include "calc/contour_run.h"
#include "calc/result_loader.h"
#include "calcdoc/wave_calc_command.h"
#include "project/tik_doc.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace wv {
namespace {

// The bay's plan shape, as the example generator draws the depth lines: the line of
// depth D runs along y = CurveY(x, S(D)).
double CurveY(double x, double s) {
    const double u = x - 1200.0;
    const double bends = 14.0 * std::sin(x / 130.0) + 9.0 * std::sin(x / 57.0 + 1.0);
    return 400.0 + 0.0016 * u * u + bends * std::exp(-s / 300.0) + s;
}
double OffshoreDistance(double depth) { return -1226.0 * std::log(1.0 - depth / 40.0); }

class BayContours : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
        ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
        roadtest::OpenNew(doc, "BAYCONT.TYD");
        // wave_road's defaults on the bay: the survey extent on whole 50 m spacings.
        doc.m_calcArea.SetOrigin(-100.0, -100.0);
        doc.m_calcArea.SetMeshSize(50.0);
        doc.m_calcArea.SetMeshCountX(53);
        doc.m_calcArea.SetMeshCountY(55);
        doc.m_info.m_nDirMode = 0;
        doc.m_info.m_nDir16 = 0;
        doc.m_info.m_dH0 = 2.0;
        doc.m_info.m_dT0 = 8.0;
        doc.m_info.m_dTide = 0.0;
        doc.m_info.m_nDirDiv = 45;
        doc.m_info.m_nFreqDiv = 7;
        doc.m_info.m_bBreaking = 0;
        doc.m_info.m_bFreeRotation = 0;
        frame.angle = CalcViewAngle(doc);
        frame.originX = -100.0;
        frame.originY = -100.0;
        doc.m_zmn.m_dRotation = frame.angle;
        ASSERT_EQ(doc.OnCalcDepth(view, frame), 0);
        CWaveCalcSlot slot;
        ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
        slot.Wait();
        ASSERT_EQ(slot.GetExitCode(), 0);
        ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
        ASSERT_NEAR(frame.angle, 0.0, 1e-12);  // mesh frame = world moved by the origin
    }
    void TearDown() override {
        SetCalcProgressFactory(nullptr);
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    // Value of result kind 1 at a node.
    double Ratio(int node) const { return doc.m_mesh.GetAt(node).GetHeightRatio(); }

    // The cut edge (a < b) or the node (b = -1) a contour point of level L lies on,
    // found by working the interpolation out again; {-1, -1} when none.
    std::pair<int, int> Where(CPointF p, double L) const {
        for (int e = 0; e < doc.m_triLine.GetCount(); ++e) {
            const int a = doc.m_triLine.GetAt(e).GetNode1(), b = doc.m_triLine.GetAt(e).GetNode2();
            for (int n : {a, b})
                if (std::fabs(Ratio(n) - L) < 1e-7 && doc.m_mesh.GetAt(n).GetPos() == p) return {n, -1};
            const double va = Ratio(a), vb = Ratio(b);
            if (!((va - L) * (vb - L) < 0.0)) continue;
            const CPointF pa = doc.m_mesh.GetAt(a).GetPos(), pb = doc.m_mesh.GetAt(b).GetPos();
            const double t = (L - va) / (vb - va);  // share of the way from a to b
            const double x = pa.m_fX + (double(pb.m_fX) - pa.m_fX) * (L - va) / (vb - va);
            const double y = pa.m_fY + (double(pb.m_fY) - pa.m_fY) * (L - va) / (vb - va);
            if (t > 0.0 && t < 1.0 && CPointF(float(x), float(y)) == p) return {a, b};
        }
        return {-1, -1};
    }
    // Whether an edge has a triangle on one side only: the mesh's edge or the shore.
    bool OnBorder(std::pair<int, int> at) const {
        if (at.second < 0) return true;  // a node on the level may end a line anywhere
        for (int e = 0; e < doc.m_triLine.GetCount(); ++e)
            if (doc.m_triLine.GetAt(e).GetNode1() == at.first && doc.m_triLine.GetAt(e).GetNode2() == at.second)
                return doc.m_pEdgePairs[2 * e] < 0 || doc.m_pEdgePairs[2 * e + 1] < 0;
        return false;
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTikDoc project;
    CTydDoc doc;
    CTydViewData view{doc};
    CalcViewFrame frame;
};

TEST_F(BayContours, DepthContoursFollowTheDepthLines) {
    doc.m_contPara.SetFrom(5.0);
    // Beyond the 30 m line the mesh has no deeper line to rise to, so 30 m is a plateau
    // and not a line to compare with.
    doc.m_contPara.SetTo(25.0);
    doc.m_contPara.SetInterval(5.0);
    ASSERT_EQ(MakeDepthContours(view), 0);
    std::map<float, int> perLevel;
    std::map<float, double> worst;
    for (int i = 0; i < doc.m_hcheckPoints.GetCount(); ++i) {
        const float level = doc.m_hcheckPoints.GetValue(i);
        ++perLevel[level];
        // Mesh frame to world: the area's origin is (-100, -100) and the view is not turned.
        const CPointF p = doc.m_hcheckPoints.GetPoint(i);
        const double x = p.m_fX - 100.0, y = p.m_fY - 100.0;
        // Distance across the line: the offset in y times the cosine of the line's slope.
        const double s = OffshoreDistance(level);
        const double slope = (CurveY(x + 0.5, s) - CurveY(x - 0.5, s));
        const double across = std::fabs(y - CurveY(x, s)) / std::sqrt(1.0 + slope * slope);
        worst[level] = std::max(worst[level], across);
    }
    ASSERT_EQ(perLevel.size(), 5u);
    for (const auto& [level, n] : perLevel) {
        EXPECT_GT(n, 40) << level;  // the whole width of the bay at 50 m
        // Within a fraction of the 50 m mesh of the line the depths came from.
        EXPECT_LT(worst[level], 20.0) << level;
    }
}

TEST_F(BayContours, ResultContoursCheckedPointByPoint) {
    const double lo = doc.m_mesh.GetMinValue(1), hi = doc.m_mesh.GetMaxValue(1);
    ASSERT_GT(hi - lo, 0.2);
    CContPara& para = doc.m_contParaFig[1];
    para.SetFrom(0.1);
    para.SetTo(1.5);
    para.SetInterval(0.1);
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    const CContGroup& g = doc.m_contGroup;
    ASSERT_GT(g.GetCount(), 3);

    int closed = 0, open = 0, points = 0;
    for (int i = 0; i < g.GetCount(); ++i) {
        const double L = g.GetLevel(i);
        if (i > 0) {
            EXPECT_GE(L, g.GetLevel(i - 1));  // levels in list order: the ladder ascends
        }
        const int n = g.GetPointCount(i);
        ASSERT_GE(n, 2);
        for (int j = 0; j < n; ++j) {
            const std::pair<int, int> at = Where(g.GetPoint(i, j).m_point, L);
            ASSERT_NE(at.first, -1) << "polyline " << i << " point " << j;
            ++points;
        }
        if (g.GetPoint(i, 0).m_point == g.GetPoint(i, n - 1).m_point) {
            ++closed;
        } else {
            ++open;
            // An open line ends where the mesh ends: the area's edge or the shore.
            EXPECT_TRUE(OnBorder(Where(g.GetPoint(i, 0).m_point, L))) << "polyline " << i;
            EXPECT_TRUE(OnBorder(Where(g.GetPoint(i, n - 1).m_point, L))) << "polyline " << i;
        }
    }
    EXPECT_GT(open, 0);
    std::printf("bay result contours: %d polylines (%d open, %d closed), %d points, H/H0 %.3f .. %.3f\n",
                g.GetCount(), open, closed, points, lo, hi);

    // The first point of the first polyline, by hand: the crossing is the edge (a, b),
    // a share t of the way along it.
    const double L = g.GetLevel(0);
    const std::pair<int, int> at = Where(g.GetPoint(0, 0).m_point, L);
    if (at.second >= 0) {
        const CPointF pa = doc.m_mesh.GetAt(at.first).GetPos(), pb = doc.m_mesh.GetAt(at.second).GetPos();
        const double t = (L - Ratio(at.first)) / (Ratio(at.second) - Ratio(at.first));
        EXPECT_NEAR(g.GetPoint(0, 0).m_point.m_fX, pa.m_fX + t * (pb.m_fX - pa.m_fX), 1e-3);
        EXPECT_NEAR(g.GetPoint(0, 0).m_point.m_fY, pa.m_fY + t * (pb.m_fY - pa.m_fY), 1e-3);
    }

    // The reference tracer and any number of threads give the same group.
    auto snapshot = [&] {
        std::vector<std::tuple<double, float, float>> s;
        for (int i = 0; i < g.GetCount(); ++i)
            for (int j = 0; j < g.GetPointCount(i); ++j)
                s.emplace_back(g.GetLevel(i), g.GetPoint(i, j).m_point.m_fX, g.GetPoint(i, j).m_point.m_fY);
        return s;
    };
    const auto fast = snapshot();
    for (auto [method, threads] : {std::pair{ContourOptions::Method::Straightforward, 1},
                                   std::pair{ContourOptions::Method::Fast, 1},
                                   std::pair{ContourOptions::Method::Fast, 7}}) {
        ContourOptions options;
        options.method = method;
        options.threads = threads;
        ASSERT_EQ(MakeResultContours(view, 1, options), 0);
        EXPECT_EQ(snapshot(), fast);
    }
}

TEST_F(BayContours, MarksSurviveSavingAndOpening) {
    CContPara& para = doc.m_contParaFig[1];
    para.SetFrom(0.2);
    para.SetTo(1.4);
    para.SetInterval(0.2);
    para.SetDefined(1);
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    CContGroup& g = doc.m_contGroup;
    ASSERT_GT(g.GetCount(), 2);
    int labels = 0, erased = 0;
    for (int i = 0; i < g.GetCount(); ++i) {
        const int n = g.GetPointCount(i);
        for (int j = 0; j + 1 < n; j += 5) {
            CContPoint p = g.GetPoint(i, j);
            if ((i + j) % 2) { p.m_nLabel = 1; ++labels; }
            else { p.m_nLine = 0; ++erased; }
            g.SetPoint(i, j, p);
        }
    }
    ASSERT_GT(labels, 0);
    ASSERT_GT(erased, 0);
    doc.m_zmn.m_nValueType = 1;
    ASSERT_TRUE(doc.OnSaveDocument(doc.GetPathName()));
    EXPECT_EQ(doc.m_labelPos[1].GetCount(), labels);
    EXPECT_EQ(doc.m_labelPos2[1].GetCount(), erased);

    CTydDoc reopened;
    ASSERT_TRUE(reopened.OnOpenDocument(doc.GetPathName()));
    const CContGroup& r = reopened.m_contGroup;
    ASSERT_EQ(r.GetCount(), g.GetCount());
    EXPECT_EQ(r.GetCapacity(), g.GetCapacity());
    for (int i = 0; i < g.GetCount(); ++i) {
        ASSERT_EQ(r.GetPointCount(i), g.GetPointCount(i));
        for (int j = 0; j < g.GetPointCount(i); ++j) {
            EXPECT_EQ(r.GetPoint(i, j).m_nLabel, g.GetPoint(i, j).m_nLabel) << i << " " << j;
            EXPECT_EQ(r.GetPoint(i, j).m_nLine, g.GetPoint(i, j).m_nLine) << i << " " << j;
        }
    }

    // Retracing the reopened figure and applying the marks gives them back again.
    CTydViewData view2(reopened);
    reopened.CollectContHgtPos(1);
    reopened.CollectContHgtPosB(1);
    ASSERT_EQ(MakeResultContours(view2, 1), 0);
    reopened.ApplyContHgtPos(1);
    reopened.ApplyContHgtPosB(1);
    for (int i = 0; i < g.GetCount(); ++i)
        for (int j = 0; j < g.GetPointCount(i); ++j) {
            EXPECT_EQ(reopened.m_contGroup.GetPoint(i, j).m_nLabel, g.GetPoint(i, j).m_nLabel);
            EXPECT_EQ(reopened.m_contGroup.GetPoint(i, j).m_nLine, g.GetPoint(i, j).m_nLine);
        }
}

}  // namespace
}  // namespace wv
