// Output points placed, moved, edited and released with the mouse (modes 140 to 144),
// and the two commands that work on all of them.
#pragma once

#include "project/tik_edit_support.h"

#include <functional>

namespace wv {

class COutputPoints : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode) { return mode >= 140 && mode <= 144; }
    void LeftClick(double x, double y);

    void AddAt(double x, double y);
    void PickToMove(double x, double y);
    void MoveTo(double x, double y);
    void EditByCoords(double x, double y);
    void Remove(double x, double y);
    // "全削除": every point released, no question.
    void RemoveAll();
    // The register form of the coordinates dialog (command "座標追加"); `registered` is
    // told after each point it adds.
    void RegisterByCoords(const std::function<void()>& registered);
    // Output point `slot` drawn in a style of DrawCalcPoints.
    void Mark(int slot, int style);

    static void LimitMessage(TikEditHost& h);
};

}  // namespace wv
