// The contour commands of the calculation view: the depth-check contours and the contour
// lines of a result figure, traced level by level under a progress window with Cancel.
#pragma once

namespace wv {

class CTydViewData;

struct ContourOptions {
    enum class Method {
        // Every triangle tested at every level, as first written: the reference.
        Straightforward,
        // Triangles sorted into the levels they span once, levels traced on threads and
        // appended in level order; the same bits as the reference.
        Fast,
    };
    Method method = Method::Fast;
    // Threads of the fast method; 0: WAVORA_THREADS when set, else one per hardware
    // thread.
    int threads = 0;
};

// Traces the depth contours of the document's depth-check figure (caption "水深図作成中")
// for the levels of CTydDoc::m_contPara within the mesh's depth range. Result 0 when
// traced; -1 without a triangulation (no window), without a level in range or with more
// than kMaxContourLevels levels (the earlier contours stay), or when the user cancelled
// (the figure's contours are then empty).
int MakeDepthContours(CTydViewData& view, const ContourOptions& options = ContourOptions());

// The same for the contour lines of result kind 0-3 (caption "ｺﾝﾀﾃﾞｰﾀ作成中"), with the
// levels of m_contParaFig[kind] within the kind's value range, into the contour group.
int MakeResultContours(CTydViewData& view, int kind, const ContourOptions& options = ContourOptions());

// Threads a contour run uses for `requested` (0: WAVORA_THREADS, else the hardware's).
int ContourThreadCount(int requested);

}  // namespace wv
