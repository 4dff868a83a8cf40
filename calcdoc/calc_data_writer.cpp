#include "calcdoc/calc_data_writer.h"

#include "calc/calc_run_files.h"
#include "calc/calc_state.h"
#include "calc/mesh_orientation.h"
#include "calc/result_loader.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <cmath>

namespace wv {

namespace {

// The solver reads its input in fixed columns: a value wider than its field would run
// into the next one and be read as something else.
class FieldWriter {
public:
    std::string I(long long v, int width) { return Check(Sprintf("%*lld", width, v), width, true); }
    std::string F(double v, int width, int decimals) {
        return Check(Sprintf("%*.*f", width, decimals, v), width, std::isfinite(v));
    }
    // The record being built, for the refusal.
    void Record(const char* what) { m_record = what; }
    bool Ok() const { return m_bad.empty(); }
    const std::string& Bad() const { return m_bad; }

private:
    std::string Check(std::string text, int width, bool finite) {
        if (m_bad.empty() && (!finite || text.size() > static_cast<std::size_t>(width)))
            m_bad = m_record + "：" + text;
        return text;
    }

    std::string m_record;
    std::string m_bad;
};

CalcDataText Refuse(const char* text, const char* caption) {
    CalcDataText out;
    out.refusal = text;
    out.caption = caption;
    return out;
}

}  // namespace

CalcDataText BuildCalcData(const CTydDoc& doc, double viewAngle, int forBatch) {
    const CTyd_Inf& info = doc.m_info;
    const CDigitalMap& mesh = doc.m_mesh;
    const int state = info.m_nCalcState;
    // A document whose side archive went missing has a state but no mesh.
    if (state < kCalcDepths || state > kCalcResults || mesh.GetCount() <= 0 ||
        mesh.GetMeshCountX() <= 0 || mesh.GetMeshCountY() <= 0)
        return Refuse(docmsg::kNeedDepths, docmsg::kDepthCaption);
    if (!(info.m_dH0 >= 0.0001) || !(info.m_dT0 >= 0.0001))
        return Refuse(docmsg::kNeedWaveConditions, docmsg::kWaveCaption);
    // The solver needs at least three direction bins for its spreading and one frequency
    // component; refusing here keeps a run from starting only to stop on its input.
    if (info.m_nDirDiv < 3) return Refuse(docmsg::kFewDirections, docmsg::kWaveCaption);
    if (info.m_nFreqDiv < 1) return Refuse(docmsg::kNoFrequencies, docmsg::kWaveCaption);

    int code = 0;
    const double direction = GetWaveDirQuadrant(doc, viewAngle, &code);
    const int rows = mesh.GetMeshCountY();
    const int cols = mesh.GetMeshCountX();
    const SolverGrid grid = SolverGridOf(code, rows, cols);
    const double spacing = doc.m_calcArea.GetMeshSize();

    CalcDataText out;
    FieldWriter f;
    auto& cal = out.cal;
    cal.push_back("0");  // every node into the result file
    f.Record(docmsg::kFieldBreaking);
    cal.push_back(f.I(info.m_bBreaking, 5));
    cal.push_back("0");  // lateral boundaries closed
    cal.push_back("1");  // no radiation-stress dump
    f.Record(docmsg::kFieldDirBins);
    cal.push_back(f.I(info.m_nDirDiv, 5));
    f.Record(docmsg::kFieldSmax);
    cal.push_back(f.I(DoubleToInt(info.m_dSmax), 5));
    f.Record(docmsg::kFieldDirRange);
    cal.push_back(f.F(info.m_dSpreadRight, 10, 1) + f.F(info.m_dSpreadLeft, 10, 1));
    f.Record(docmsg::kFieldFreqs);
    cal.push_back(f.I(info.m_nFreqDiv, 5));
    f.Record(docmsg::kFieldCounts);
    cal.push_back(f.I(grid.nx, 5) + f.I(grid.ny, 5));
    f.Record(docmsg::kFieldSpacing);
    cal.push_back(f.F(spacing, 10, 3) + f.F(spacing, 10, 3));
    cal.push_back(f.F(0.0, 10, 3) + f.F(0.0, 10, 3));
    f.Record(docmsg::kFieldPeriodHeight);
    cal.push_back(f.F(info.m_dT0, 10, 3) + f.F(info.m_dH0, 10, 3));
    f.Record(docmsg::kFieldDirTide);
    cal.push_back(f.F(direction, 10, 1) + f.F(info.m_dTide, 10, 3));
    f.Record(docmsg::kFieldDepth);
    for (int i = 0; i < grid.nx; ++i)
        for (int j = 0; j < grid.ny; ++j) {
            int row = 0, col = 0;
            SolverNodeToMesh(code, rows, cols, i, j, &row, &col);
            // A land position gives the default node, whose depth is the land mark.
            cal.push_back(f.F(mesh.GetAt(mesh.GetNodeIndex(row, col)).GetDepth(), 10, 3));
        }
    if (!f.Ok()) {
        CalcDataText bad = Refuse(docmsg::kValueTooWide, docmsg::kCalCaption);
        bad.refusal += "\n(" + f.Bad() + ")";
        return bad;
    }

    out.dec.push_back("\"" + doc.m_zmn.m_strRemark + "\"");
    out.dec.push_back(Sprintf("%10d", info.m_nDirDiv));
    out.dec.push_back(Sprintf("%10d", info.m_nFreqDiv));
    out.dec.push_back(Sprintf("%5d,%5d", grid.nx, grid.ny));
    out.dec.push_back(Sprintf("%5d", forBatch ? 1 : 0));
    out.code = code;
    out.nx = grid.nx;
    out.ny = grid.ny;
    return out;
}

int WriteCalcData(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame, int forBatch) {
    const CalcDataText data = BuildCalcData(doc, frame.angle, forBatch);
    if (data.code < 0) {
        Ui().MessageBox(data.refusal, data.caption, MbButtons::Ok, MbIcon::None);
        return -1;
    }

    view.SetMouseMode(0);
    doc.m_mesh.SetWaveHeight(doc.m_info.m_dH0);

    // A running solver still holds its input, as the file lock of the Windows program
    // made plain by refusing to open it.
    const std::string calPath = doc.SideFile("CAL");
    TextWriter cal;
    for (const std::string& line : data.cal) cal.Line(line);
    std::string why;
    if (calPath.empty() || IsCalcRunGoingOn(doc.GetPathName()) || !cal.Save(calPath, &why)) {
        // The Windows program's text, then the file and the system's reason when the disk
        // refused it: on a full disk "a batch run may be going on" alone would mislead.
        Ui().MessageBox(why.empty() ? std::string(docmsg::kCannotCreateCal)
                                    : std::string(docmsg::kCannotCreateCal) + "\n(" + why + ")",
                        docmsg::kCalCaption, MbButtons::Ok, MbIcon::None);
        return -1;
    }
    doc.m_nRunOrientation = data.code;

    TextWriter dec;
    for (const std::string& line : data.dec) dec.Line(line);
    std::string err;
    if (!dec.Save(doc.SideFile("DEC"), &err)) {
        Ui().MessageBox(std::string(docmsg::kCannotCreateDec) + "\n(" + err + ")", docmsg::kCalCaption,
                        MbButtons::Ok, MbIcon::Warning);
        // The batch input is what the batch command is for; a run started here needs
        // only the solver input.
        if (forBatch) return -1;
    }

    doc.OnSaveDocument(doc.GetPathName());
    return data.code;
}

int OnMakeContinuousData(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame) {
    const int code = WriteCalcData(doc, view, frame, 1);
    if (code >= 0)
        Ui().MessageBox(docmsg::kDecWritten, docmsg::kCalCaption, MbButtons::Ok, MbIcon::Information);
    return code;
}

}  // namespace wv
