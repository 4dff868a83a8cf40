// The project view's editing model: it takes the view's commands and mouse events, keeps
// the view state, dispatches each click to the family of operations that owns the mode,
// and draws the view. The window behind it is a TikEditHost; the mode numbers are the
// keys of the prompt and cursor table (draw/mode_prompt.h).
#pragma once

#include "core/line_chain.h"
#include "project/depth_blocks.h"
#include "project/line_attributes.h"
#include "project/line_topology.h"
#include "project/output_points.h"
#include "project/point_constructions.h"
#include "project/point_line_input.h"
#include "project/point_moves.h"
#include "project/tik_navigation.h"
#include "project/view_selection.h"

#include <functional>
#include <string>
#include <vector>

namespace wv {

class CTikEditor : public LineChainView {
public:
    explicit CTikEditor(TikEditHost& host);

    TikEditState& State() { return m_state; }
    const TikEditState& State() const { return m_state; }

    // The commands the editor carries out itself.
    static const std::vector<int>& CommandIds();
    bool OnCommand(int id);

    // The view's first showing: the stored rotation, then everything fitted.
    void OnInitialUpdate();
    void OnSize(int clientW, int clientH);

    // Mouse events with the client point and the Windows key flags (MK_CONTROL ...).
    void OnLButtonDown(unsigned flags, int cx, int cy);
    void OnMouseMove(unsigned flags, int cx, int cy);
    void OnLButtonUp(unsigned flags, int cx, int cy);
    void OnRButtonDown(unsigned flags, int cx, int cy);

    // The whole view into a fresh drawing context of the client size (client coordinates).
    void Draw(CDC* dc);

    // Status panes: the world position of the mouse, and the mode's prompt.
    std::string PositionText() const;
    const char* PromptText() const;

    // FitAll on the client rectangle (also the coordinate dialogs' redraw).
    void FitToWindow() { m_nav.FitAll(); }
    // Back to mode 0 with every pick and selection cleared (the right button's reset).
    void Reset();
    // Told at the end of the right button's reset (the digitizer ends its chain there).
    std::function<void()> m_onReset;

    // The Ctrl+click description of a line: "未定義", "%.1fm", "境界有効" ...
    static std::string DescribeLine(int lineSlot);

    // LineChainView.
    std::vector<int>* LineMarks() override;
    void DrawTerrainLine(int lineSlot, int mode) override;
    void SetProjectModified() override { m_host.SetModified(); }

private:
    CPointD WorldOfClient(int cx, int cy) const;
    void LeftByMode(int cx, int cy, double x, double y);
    void RubberBand(int cx, int cy, bool measure);
    void TerrainConditions();
    void PointCoordinates();
    void PrepareLineFlags();
    void PreparePointFlags();

    TikEditHost& m_host;
    TikEditState m_state;
    CPointLineInput m_input;
    CLineTopology m_topology;
    CLineAttributes m_attributes;
    CPointConstructions m_constructions;
    CPointMoves m_moves;
    CViewSelection m_selection;
    CDepthBlocks m_depthBlocks;
    COutputPoints m_outputPoints;
    CTikNavigation m_nav;
};

}  // namespace wv
