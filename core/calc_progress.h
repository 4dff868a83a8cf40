// The progress window of the long computations on the user-interface thread (depth
// calculation, triangulation, contour tracing, mesh-file input). It does no work of its
// own: the computation advances the bar, lets the window handle its events after each
// unit of work, and polls the cancel flag.
//
//   auto dlg = CreateCalcProgressDlg();
//   dlg->SetWindowText(caption);
//   dlg->m_bCancel = 0;
//   dlg->SetRange32(0, steps); dlg->SetPos(0); dlg->SetStep(1);
//   for (...) { work; dlg->StepIt(); dlg->PumpMessages(); if (dlg->m_bCancel) { ...; return -1; } }
//   dlg->DestroyWindow();
//
// Three kinds exist: the Qt window (core/qt), a headless one that draws a bar on stderr,
// and a scripted one for tests. The program installs the factory of the kind it wants.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace wv {

class CCalcProgressDlg {
public:
    CCalcProgressDlg();
    virtual ~CCalcProgressDlg();
    CCalcProgressDlg(const CCalcProgressDlg&) = delete;
    CCalcProgressDlg& operator=(const CCalcProgressDlg&) = delete;

    // Window title and an optional line of text (UTF-8).
    void SetWindowText(const std::string& caption);
    const std::string& GetWindowText() const { return m_caption; }
    void SetText(const std::string& text);
    const std::string& GetText() const { return m_text; }

    // The bar. The position always stays within the range.
    void SetRange32(int lower, int upper);
    int GetLower() const { return m_lower; }
    int GetUpper() const { return m_upper; }
    int SetPos(int pos);          // returns the previous position
    int GetPos() const { return m_pos; }
    int SetStep(int step);        // returns the previous step
    int StepIt();                 // advances by the step; returns the previous position
    int OffsetPos(int delta);     // returns the previous position
    // Share of the range done, 0 to 100.
    int Percent() const;

    // Lets the window handle what is pending (its Cancel button among it).
    virtual void PumpMessages() {}
    // The Cancel button and Escape come here: the user is asked "処理を中断します"
    // (through the UI service) and OK sets the cancel flag. The window stays open; the
    // computation closes it.
    void OnCancel();
    // Closes the window; the computation calls it at the end or after a cancel.
    virtual void DestroyWindow();
    bool IsWindowOpen() const { return m_open; }
    // How many progress windows are open in the program now. While one is, the
    // computation pumps events: queued work that opens or closes documents waits.
    static int OpenWindowCount();

    // 1 once the user confirmed the cancel question. The computation sets it to 0 after
    // creating the window and reads it after each pump.
    int m_bCancel = 0;

protected:
    // Hooks for the implementations to show the state.
    virtual void OnCaptionChanged() {}
    virtual void OnTextChanged() {}
    virtual void OnBarChanged() {}
    virtual void OnClose() {}

private:
    int Clamp(int pos) const;

    std::string m_caption;
    std::string m_text;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    int m_step = 10;
    bool m_open = true;
};

// Hooks with a default body that the program's progress window (CQtCalcProgressDlg)
// overrides. A new hook of this kind goes on this list: tests/app/view_hooks_test.cpp
// fails for a listed hook that the real class does not override, and for a hook on no
// list.
#define WV_CALC_PROGRESS_HOOKS(HOOK) \
    HOOK(PumpMessages) HOOK(OnCaptionChanged) HOOK(OnTextChanged) HOOK(OnBarChanged) HOOK(OnClose)

// Draws "caption [#####-----]  50%" on a stream (stderr by default) whenever the
// percentage changes, and ends the line when closed. Cannot be cancelled. On a terminal
// the bar is redrawn in place; into a file or pipe (a log, a script) it is written as a
// line per tenth, so a log stays readable.
class CHeadlessCalcProgressDlg : public CCalcProgressDlg {
public:
    CHeadlessCalcProgressDlg();
    CHeadlessCalcProgressDlg(std::ostream& out, bool redrawInPlace = true);
    ~CHeadlessCalcProgressDlg() override;

protected:
    void OnCaptionChanged() override { Draw(true); }
    void OnTextChanged() override { Draw(true); }
    void OnBarChanged() override { Draw(false); }
    void OnClose() override;

private:
    void Draw(bool force);

    std::ostream& m_out;
    bool m_redrawInPlace;
    int m_lastPercent = -1;
    bool m_drawn = false;
};

// For tests: records what the computation did with the window and presses Cancel when
// the computation pumps for the n-th time (1-based), as a user would after n units of
// work. The question goes through the UI service, so a scripted UI decides the answer.
class CTestCalcProgressDlg : public CCalcProgressDlg {
public:
    explicit CTestCalcProgressDlg(int cancelAtPump = -1) : m_cancelAtPump(cancelAtPump) {}

    void PumpMessages() override;

    int PumpCount() const { return m_pumps; }
    const std::vector<int>& Positions() const { return m_positions; }
    bool WasDestroyed() const { return !IsWindowOpen(); }

protected:
    void OnBarChanged() override { m_positions.push_back(GetPos()); }

private:
    int m_cancelAtPump;
    int m_pumps = 0;
    std::vector<int> m_positions;
};

// Creates and shows a progress window of the installed kind, titled "計算中".
using CalcProgressFactory = std::function<std::unique_ptr<CCalcProgressDlg>()>;
std::unique_ptr<CCalcProgressDlg> CreateCalcProgressDlg();
// Installs the kind of window for the whole process; an empty factory goes back to the
// headless one.
void SetCalcProgressFactory(CalcProgressFactory factory);

}  // namespace wv
