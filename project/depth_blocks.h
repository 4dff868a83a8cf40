// Depth lines set and released along chains (modes 40 and 41, the height asked with the
// right button), and land blocks set and released (60, 90).
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class LineChainView;

class CDepthBlocks : public TikEditBase {
public:
    CDepthBlocks(TikEditState& state, TikEditHost& host, LineChainView& chainView)
        : TikEditBase(state, host), m_chainView(chainView) {}
    static bool Owns(int mode) { return mode == 40 || mode == 41 || mode == 60 || mode == 90; }
    void LeftClick(double x, double y);

    // The chain through the nearest line of the filter's kinds: flag 0 toggles its
    // selection, flag 1 makes it undefined again.
    void PickLineChain(double x, double y, int flag);
    // The right button in mode 40 with lines selected: ask the height, set them.
    void SetDepthLines();
    void AddBlock(double x, double y);
    void RemoveBlock(double x, double y);

private:
    LineChainView& m_chainView;
};

}  // namespace wv
