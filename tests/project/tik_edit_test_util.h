// A scripted window for the project view's editing model: answers to questions and
// dialogs come from queues, marks go to a recording drawing context.
#pragma once

#include "core/block.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "platform/dialog_model.h"
#include "platform/pixel_core.h"
#include "platform/recording_dc.h"
#include "draw/view_helpers.h"
#include "project/tik_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wv::test {

struct AskRecord {
    std::string text, caption;
    MbButtons buttons;
};

class ScriptHost : public TikEditHost {
public:
    // Each dialog shown takes the next script (after its initialisation); with none left
    // it is cancelled.
    using DialogScript = std::function<void(CDialogModel&)>;
    std::deque<int> answers;
    std::deque<DialogScript> dialogs;
    std::vector<AskRecord> asked;
    std::vector<std::string> dialogCaptions;
    std::vector<std::string> popups;
    CRecordingDC marks{1000, 800};
    int redraws = 0;
    int modified = 0;
    int sx = 14500, sy = 14600;

    void Reset() {
        answers.clear();
        dialogs.clear();
        asked.clear();
        dialogCaptions.clear();
        popups.clear();
        marks.Clear();
        redraws = modified = 0;
        sx = 14500;
        sy = 14600;
    }
    int Ask(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon) override {
        asked.push_back({text, caption, buttons});
        if (answers.empty()) return DefaultAnswer(buttons);
        const int a = answers.front();
        answers.pop_front();
        return a;
    }
    int RunDialog(CDialogModel& dlg) override {
        dialogCaptions.push_back(dlg.Caption());
        dlg.InitDialog();
        if (dialogs.empty()) return IDCANCEL;
        DialogScript script = std::move(dialogs.front());
        dialogs.pop_front();
        script(dlg);
        return dlg.Result() ? dlg.Result() : IDCANCEL;
    }
    // With pixels: marks draw into `image` as well as being recorded.
    void UsePixels(int w, int h) {
        image = std::make_unique<PixelImage>(w, h);
        pixelMarks = std::make_unique<CRecordingDC>(image->Surface());
    }
    std::unique_ptr<PixelImage> image;
    std::unique_ptr<CRecordingDC> pixelMarks;
    CDC* BeginMarks() override { return pixelMarks ? static_cast<CDC*>(pixelMarks.get()) : &marks; }
    void EndMarks() override {}
    void RedrawAll() override { ++redraws; }
    void SetModified() override { ++modified; }
    int ScrollX() const override { return sx; }
    int ScrollY() const override { return sy; }
    void ScrollTo(int x, int y) override { sx = x; sy = y; }
    void ShowLinePopup(const std::string& text, int, int) override { popups.push_back(text); }

    // OK with the edits typed in (each left as the user would leave it).
    static DialogScript Ok(std::vector<std::pair<int, std::string>> edits = {}) {
        return [edits](CDialogModel& d) {
            for (const auto& [id, text] : edits) {
                d.SetText(id, text);
                d.FocusOut(id);
            }
            d.Click(IDOK);
        };
    }
    static DialogScript Cancel() {
        return [](CDialogModel& d) { d.Click(IDCANCEL); };
    }
};

// Fresh tables and an editor whose window shows world (0, 0) at client (500, 400), one
// pixel per metre.
class TikEditFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_tikInf.Init();
        g_surveyPoints.RemoveAll();
        g_lines.RemoveAll();
        g_blocks.RemoveAll();
        g_calcPoints.Reset();
        editor.State() = TikEditState{};
        g_pAreaPolygon.reset();
        host.Reset();
        editor.OnSize(1000, 800);
    }
    TikEditState& S() { return editor.State(); }

    int Point(double x, double y, double height = 0.0) {
        const int slot = g_surveyPoints.Add(x, y, 0);
        CSokutenZokusei p = g_surveyPoints.GetAt(slot);
        p.SetDepth(height);
        g_surveyPoints.SetAt(slot, p);
        return slot;
    }
    int Line(int a, int b, int kind = kLineUndefined, int heightType = 0, double depth = 0.0) {
        const CPointD pa = g_surveyPoints.GetAt(a).GetPos(), pb = g_surveyPoints.GetAt(b).GetPos();
        return g_lines.Add(pa.m_dX, pa.m_dY, pb.m_dX, pb.m_dY, 0, heightType, depth, kind, a, b);
    }
    double Height(int slot) { return g_surveyPoints.GetAt(slot).GetDepth(); }
    int Kind(int line) { return g_lines.GetAt(line).GetKind(); }
    // The client point of a world point.
    std::pair<int, int> Client(double x, double y) {
        int vx, vy;
        S().m_coord.WorldToViewPoint(x, y, &vx, &vy);
        return {vx - host.sx, vy - host.sy};
    }
    void Click(double x, double y, unsigned flags = 0) {
        auto [cx, cy] = Client(x, y);
        editor.OnLButtonDown(flags, cx, cy);
        editor.OnLButtonUp(flags, cx, cy);
    }
    void RightClick() { editor.OnRButtonDown(0, 0, 0); }
    // Snapshot of both tables to compare "nothing changed".
    struct Tables {
        std::vector<CSokutenZokusei> points;
        std::vector<CLineZokusei> lines;
        bool operator==(const Tables&) const = default;
    };
    Tables Snapshot() {
        Tables t;
        for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) t.points.push_back(g_surveyPoints.GetAt(i));
        for (int i = 0; i < g_lines.GetSlotCount(); ++i) t.lines.push_back(g_lines.GetAt(i));
        return t;
    }

    ScriptHost host;
    CTikEditor editor{host};
};

}  // namespace wv::test
