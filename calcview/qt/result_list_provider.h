// The output-point result list for the main frame: one list window, reused for every
// showing, that reads the values of the frame's result view (a calculation view).
#pragma once

#include "calcdoc/qt/calc_dialogs_qt.h"
#include "calcdoc/result_list_dlg.h"
#include "core/shell_frame.h"

#include <memory>

namespace wv {

class CalcResultListProvider : public ResultListProvider {
public:
    CalcResultListProvider(CShellFrame& frame, CProfile& profile, QWidget* owner);
    ~CalcResultListProvider() override;

    bool IsCalcView(CView* view) const override;
    bool HasWindow() const override { return m_dlg.HasWindow(); }
    void Activate() override;
    void ShowFor(CView* view) override;
    void Reopen() override;
    bool Post(unsigned message) override;
    void ClearAllOwners() override;

    CCalcPointResultDlg& Dialog() { return m_dlg; }

private:
    CShellFrame& m_frame;
    CCalcPointResultDlg m_dlg;
    std::unique_ptr<QtResultListHost> m_host;
};

}  // namespace wv
