// Creating terrain with the mouse: survey points (mode 1), chains of lines drawn point by
// point (200, 201) and connections of existing points (2, 3).
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class CPointLineInput : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode) { return mode == 1 || mode == 2 || mode == 3 || mode == 200 || mode == 201; }
    void LeftClick(double x, double y);

    void AddPointAt(double x, double y);
    void BeginLineInput(double x, double y);
    void AddLineTo(double x, double y);
    void BeginConnect(double x, double y);
    void ConnectTo(double x, double y);

private:
    // Joins m_nPoint1 to the slot and moves the chain's start on; nothing when the two
    // are joined already.
    void JoinToChain(int slot);
};

}  // namespace wv
