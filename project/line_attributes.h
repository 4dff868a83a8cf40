// Giving lines a meaning: terrain lines (kind 1) and auxiliary lines (kind 3) with their
// height type, one line at a time or along a chain of lines joined end to end, and
// taking the meaning away again.
#pragma once

#include "project/tik_edit_support.h"

#include <vector>

namespace wv {

class CLineAttributes : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode);
    void LeftClick(double x, double y);

    void SetLineAttribute(double x, double y);
    void ReleaseLineAttribute(double x, double y);
    void BeginChainSet(double x, double y);
    void SetChainAttribute(double x, double y);
    void BeginChainRelease(double x, double y);
    void ReleaseChainAttribute(double x, double y);

    // The pick filter of a mode (CLine::FindNearestOfKind) and the kind it writes.
    static int PickFilter(int mode);
    static int KindWritten(int mode);

    struct Chain {
        std::vector<int> lines;
        std::vector<int> points;
        bool closed = false;
    };
    // From the first line through its end `fromPoint`... as far as the chain runs
    // through points with exactly two links, stopping after `last`.
    static Chain WalkChain(int firstLine, int startPoint, int last);
};

}  // namespace wv
