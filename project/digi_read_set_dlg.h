// The reading-settings dialog (143 "読取設定"): the drawing's scale and the world position
// of its reference point are typed; the reference point and the two ends of the drawing's
// horizontal reference line are read with the tablet.
#pragma once

#include "core/point.h"
#include "platform/dialog_model.h"
#include "project/digitizer_calib.h"
#include "project/digitizer_port.h"

#include <functional>

namespace wv {

class CDigiReadSetDlg : public CDialogModel {
public:
    enum : int {
        kScale = 1010, kWorldX = 1011, kWorldY = 1012, kReadReference = 1013, kReadLine = 1014, kStatus = 1015
    };
    // Reading steps: what the next button-1 record is.
    enum : int { kStepNone = 0, kStepReference = 1, kStepLeft = 2, kStepRight = 3 };

    explicit CDigiReadSetDlg(DigitizerPoster poster);
    ~CDigiReadSetDlg() override;

    void LoadFrom(const CDigi_Inf& calib);
    void StoreTo(CDigi_Inf& calib) const;

    // A posted call of the dialog's watcher.
    void OnDigitizerData(const std::string& bytes, bool lost);
    void TakeRecord(const DigitizerRecord& record);

    // Called after each posted call has changed the dialog, so that a window showing it
    // can mirror the new state.
    void SetChangedCallback(std::function<void()> changed) { m_changed = std::move(changed); }

    int Step() const { return m_nStep; }
    bool ReadingRuns() const { return m_session.Running(); }

    CPointD m_ptTablet{0.0, 0.0};
    double m_dAngle = 0.0;
    CPointD m_ptLeft{0.0, 0.0};
    CPointD m_ptRight{0.0, 0.0};
    int m_nScale = 1000;
    double m_dWorldX = 0.0;
    double m_dWorldY = 0.0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void BeginReading(int step, const char* status);
    void StopReading();
    void FinishReading();

    DigitizerSession m_session;
    DigitizerFramer m_framer;
    int m_nStep = kStepNone;
    std::function<void()> m_changed;
};

}  // namespace wv
