#include "project/digi_read_set_dlg.h"

#include "core/numeric.h"
#include "platform/data_exchange.h"
#include "project/digitizer_texts.h"

#include <climits>
#include <cstdio>

namespace wv {

CDigiReadSetDlg::CDigiReadSetDlg(DigitizerPoster poster)
    : CDialogModel(143, "読取設定", 206, 152),
      m_session(std::move(poster), [this](const std::string& bytes, bool lost) { OnDigitizerData(bytes, lost); }) {
    AddLabel("読取図面の縮尺　1/", {10, 12, 74, 8});
    AddEdit(kScale, {86, 10, 60, 12});
    AddGroup("読取基準点の座標(m)", {7, 30, 192, 34});
    AddLabel("X", {16, 45, 10, 8});
    AddEdit(kWorldX, {28, 43, 68, 12});
    AddLabel("Y", {106, 45, 10, 8});
    AddEdit(kWorldY, {118, 43, 68, 12});
    AddButton(kReadReference, "読取基準点をデジタイザで指定", {7, 72, 192, 16});
    AddButton(kReadLine, "水平基準線をデジタイザで指定\n左→右", {7, 92, 192, 22});
    AddLabel("", {7, 118, 192, 8}, kStatus);
    AddButton(IDOK, "OK", {94, 132, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {149, 132, 50, 14});
}

CDigiReadSetDlg::~CDigiReadSetDlg() { StopReading(); }

void CDigiReadSetDlg::LoadFrom(const CDigi_Inf& calib) {
    m_ptTablet = calib.m_ptTablet;
    m_dAngle = calib.m_dAngle;
    m_nScale = calib.m_nScale;
    m_dWorldX = calib.m_ptWorld.m_dX;
    m_dWorldY = calib.m_ptWorld.m_dY;
}

void CDigiReadSetDlg::StoreTo(CDigi_Inf& calib) const {
    calib.Set(CPointD(m_dWorldX, m_dWorldY), m_ptTablet, m_dAngle, m_nScale);
}

void CDigiReadSetDlg::DoDataExchange(CDataExchange& dx) {
    // A scale of 0 would put every reading on the reference point.
    ExchangeInt(dx, kScale, m_nScale, 1, INT_MAX);
    ExchangeDouble(dx, kWorldX, m_dWorldX, "%.3lf");
    ExchangeDouble(dx, kWorldY, m_dWorldY, "%.3lf");
}

void CDigiReadSetDlg::OnInitDialog() {
    CDialogModel::OnInitDialog();
    // A calibration starts afresh: the readings of the last one belong to another sheet.
    m_ptTablet = CPointD(0.0, 0.0);
    m_dAngle = 0.0;
    m_ptLeft = CPointD(0.0, 0.0);
    m_ptRight = CPointD(0.0, 0.0);
    m_nStep = kStepNone;
    SetText(kWorldX, FormatDialogDouble(m_dWorldX, "%.3lf"));
    SetText(kWorldY, FormatDialogDouble(m_dWorldY, "%.3lf"));
    SetText(kStatus, digitizer_text::kIdle);
}

void CDigiReadSetDlg::OnFocusOut(int id) {
    if (id != kWorldX && id != kWorldY) return;
    double& value = id == kWorldX ? m_dWorldX : m_dWorldY;
    value = RoundDecimal(ParseDialogDouble(GetText(id)), 3);
    SetText(id, FormatDialogDouble(value, "%.3lf"));
}

void CDigiReadSetDlg::OnClicked(int id) {
    if (id == kReadReference) BeginReading(kStepReference, digitizer_text::kWaitReference);
    if (id == kReadLine) BeginReading(kStepLeft, digitizer_text::kWaitLeft);
}

void CDigiReadSetDlg::BeginReading(int step, const char* status) {
    if (!UpdateData(true)) return;
    // While the watcher runs the button only chooses what the next reading is: reopening
    // the port would pull it from under the watcher.
    if (!m_session.Running()) {
        if (!OpenDigitizerPort() || !m_session.Start()) return;
        m_framer.Clear();
    }
    m_nStep = step;
    SetText(kStatus, status);
}

void CDigiReadSetDlg::StopReading() {
    if (!m_session.Running()) return;
    m_session.Stop();
    m_framer.Clear();
    g_digitizerPort.SetDtr(false);
    g_digitizerPort.Purge();
}

void CDigiReadSetDlg::FinishReading() {
    SetText(kStatus, digitizer_text::kIdle);
    m_nStep = kStepNone;
    StopReading();
}

void CDigiReadSetDlg::OnDigitizerData(const std::string& bytes, bool lost) {
    if (!m_session.Running()) return;
    for (const DigitizerRecord& r : m_framer.Feed(bytes)) {
        TakeRecord(r);
        if (!m_session.Running()) break;
    }
    if (lost && m_session.Running()) {
        FinishReading();
        if (m_changed) m_changed();
        ShowMessage({digitizer_text::kConnectionLost, digitizer_text::kCaption, MbIcon::Error});
    }
    if (m_changed) m_changed();
}

void CDigiReadSetDlg::TakeRecord(const DigitizerRecord& r) {
    if (r.button != 1) {
        FinishReading();
        return;
    }
    switch (m_nStep) {
    case kStepReference:
        m_ptTablet = CPointD(r.x, r.y);
        FinishReading();
        break;
    case kStepLeft:
        m_ptLeft = CPointD(r.x, r.y);
        SetText(kStatus, digitizer_text::kWaitRight);
        m_nStep = kStepRight;
        break;
    case kStepRight:
        m_ptRight = CPointD(r.x, r.y);
        m_dAngle = ReferenceAngle(m_ptLeft, m_ptRight);
        FinishReading();
        break;
    default:
        break;
    }
}

void CDigiReadSetDlg::OnOK() {
    if (!UpdateData(true)) return;
    StopReading();
    EndDialog(IDOK);
}

void CDigiReadSetDlg::OnCancel() {
    StopReading();
    EndDialog(IDCANCEL);
}

}  // namespace wv
