// The calculation mesh: a rectangular grid of nodes of which the sea nodes carry their
// depth and wave results, with the show flags of the four digital maps, the value ranges
// and the offshore wave height. The depth calculation, the solver results, the contour
// tracers, the figures and the mesh files all meet on this record.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

#include <cstdint>
#include <vector>

namespace wv {

// Depth of a node that has no value (below -9990 counts as none).
inline constexpr float kNoDepth = -9999.0f;
// GetValueAt's answers where no node gives a value or a direction.
inline constexpr double kNoValue = 99999999.999;
inline constexpr double kNoDirection = 999.0;

// Value kinds: 0 significant wave height (H0 x height ratio), 1 height ratio,
// 2 equivalent deep-water wave height (equivalent ratio x H0), any other the
// equivalent ratio.
class CCalValue {
public:
    CCalValue() = default;

    CPointF GetPos() const { return m_pos; }
    void SetPos(float x, float y) { m_pos = CPointF(x, y); }
    float GetDepth() const { return m_fDepth; }
    void SetDepth(float d) { m_fDepth = d; }
    float GetHeightRatio() const { return m_fHeightRatio; }
    void SetHeightRatio(float r) { m_fHeightRatio = r; }
    float GetEquivRatio() const { return m_fEquivRatio; }
    void SetEquivRatio(float r) { m_fEquivRatio = r; }
    float GetDirection() const { return m_fDirection; }
    void SetDirection(float d) { m_fDirection = d; }
    double GetValue(int kind, double h0) const;

    // Depth, height ratio, equivalent ratio and direction; the position is not stored.
    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CCalValue&) const = default;

    CPointF m_pos;               // mesh frame: (column x spacing, row x spacing)
    float m_fDepth = kNoDepth;   // m
    float m_fHeightRatio = 0.0f; // significant wave height / offshore wave height
    float m_fEquivRatio = 0.0f;  // equivalent deep-water wave height ratio
    float m_fDirection = 0.0f;   // degrees
};

// Show flags of the digital maps, one per sea node.
enum : std::int16_t { kFlagHidden = 0, kFlagShown = 1, kFlagMarked = 2 };

class CDigitalMap {
public:
    // Map kinds of the area operations: 0 wave height, 1 vectors, any other direction.
    enum { kAreaHeight = 0, kAreaVector = 1, kAreaDir = 2 };

    CDigitalMap() = default;

    // Scalars. Setting a count does not reallocate anything.
    int GetCount() const { return m_nCount; }
    void SetCount(int n) { m_nCount = n; }
    int GetMeshCountX() const { return m_nMeshCountX; }
    void SetMeshCountX(int n) { m_nMeshCountX = n; }
    int GetMeshCountY() const { return m_nMeshCountY; }
    void SetMeshCountY(int n) { m_nMeshCountY = n; }
    double GetMeshSize() const { return m_dMeshSize; }
    void SetMeshSize(double s) { m_dMeshSize = s; }
    float GetMinDepth() const { return m_fMinDepth; }
    float GetMaxDepth() const { return m_fMaxDepth; }
    void SetMinDepth(float v) { m_fMinDepth = v; }
    void SetMaxDepth(float v) { m_fMaxDepth = v; }
    float GetMinHeightRatio() const { return m_fMinHeightRatio; }
    float GetMaxHeightRatio() const { return m_fMaxHeightRatio; }
    void SetMinHeightRatio(float v) { m_fMinHeightRatio = v; }
    void SetMaxHeightRatio(float v) { m_fMaxHeightRatio = v; }
    float GetMinEquivRatio() const { return m_fMinEquivRatio; }
    float GetMaxEquivRatio() const { return m_fMaxEquivRatio; }
    void SetMinEquivRatio(float v) { m_fMinEquivRatio = v; }
    void SetMaxEquivRatio(float v) { m_fMaxEquivRatio = v; }
    double GetBaseLevel() const { return m_dBaseLevel; }
    void SetBaseLevel(double v) { m_dBaseLevel = v; }
    double GetWaveHeight() const { return m_dWaveHeight; }
    void SetWaveHeight(double v) { m_dWaveHeight = v; }

    // The stored ratio range as a value of the given kind, with the offshore height as H0.
    double GetMinValue(int kind) const;
    double GetMaxValue(int kind) const;

    // Node i; a default node outside 0 .. count - 1 (or beyond what is allocated).
    CCalValue GetAt(int i) const;
    void SetAt(int i, const CCalValue& v);

    // Show flags; 0 and no change outside the node range.
    std::int16_t GetDepthFlag(int i) const { return GetFlag(m_pDepthFlag, i); }
    void SetDepthFlag(int i, std::int16_t f) { SetFlag(m_pDepthFlag, i, f); }
    std::int16_t GetHeightFlag(int i) const { return GetFlag(m_pHeightFlag, i); }
    void SetHeightFlag(int i, std::int16_t f) { SetFlag(m_pHeightFlag, i, f); }
    std::int16_t GetDirFlag(int i) const { return GetFlag(m_pDirFlag, i); }
    void SetDirFlag(int i, std::int16_t f) { SetFlag(m_pDirFlag, i, f); }
    std::int16_t GetVectorFlag(int i) const { return GetFlag(m_pVectorFlag, i); }
    void SetVectorFlag(int i, std::int16_t f) { SetFlag(m_pVectorFlag, i, f); }

    // Sea-node number at (row, column); -1 for land and outside the grid.
    int GetNodeIndex(int row, int col) const;
    void SetNodeIndex(int row, int col, int index);

    // Arrays sized from the current counts (nothing for a count <= 0); flags start at 0
    // and node-index entries at -1.
    void AllocValues();
    void AllocDepthFlag() { AllocFlag(m_pDepthFlag); }
    void AllocHeightFlag() { AllocFlag(m_pHeightFlag); }
    void AllocDirFlag() { AllocFlag(m_pDirFlag); }
    void AllocVectorFlag() { AllocFlag(m_pVectorFlag); }
    void AllocNodeIndex();
    void FreeValues() { std::vector<CCalValue>().swap(m_pValue); }
    void FreeDepthFlag() { std::vector<std::int16_t>().swap(m_pDepthFlag); }
    void FreeHeightFlag() { std::vector<std::int16_t>().swap(m_pHeightFlag); }
    void FreeDirFlag() { std::vector<std::int16_t>().swap(m_pDirFlag); }
    void FreeVectorFlag() { std::vector<std::int16_t>().swap(m_pVectorFlag); }
    void FreeNodeIndex();

    // Depth range over every node; 0 .. 0 for a mesh without nodes.
    void CalcDepthRange();
    // Ranges of the height ratio and of the equivalent ratio (negative = no value).
    void CalcResultRange();

    // The sea node nearest to a point of the mesh frame: the node under the point, else
    // the nearest of its eight neighbours; -1 when none of the nine is a sea node.
    int FindNode(double x, double y) const;

    // Mean value of the given kind and mean direction of the sea nodes of the cell that
    // holds the point (mesh frame). No node gives kNoDirection; no value kNoValue.
    void GetValueAt(double x, double y, int kind, double* value, double* direction) const;

    // Marks with kFlagMarked the shown nodes of a map that lie inside a closed polygon in
    // world coordinates, the mesh lying at `origin` turned by `angle` degrees. True when
    // any node was marked.
    bool SelectFlagsInArea(CPointD origin, double angle, const CPointList* polygon, int kind);
    // Marked nodes back to shown (deletion cancelled) / to hidden (deletion done).
    void RestoreAreaFlags(int kind);
    void EraseAreaFlags(int kind);

    // Side-archive layout. Loading checks every count and node-index entry against what
    // the file and the node count can hold, and leaves the mesh unchanged when it fails.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    std::int16_t GetFlag(const std::vector<std::int16_t>& a, int i) const;
    void SetFlag(std::vector<std::int16_t>& a, int i, std::int16_t f);
    void AllocFlag(std::vector<std::int16_t>& a);
    std::vector<std::int16_t>& AreaFlags(int kind);
    bool InNodeRange(int i, std::size_t allocated) const;
    // Entry of the node-index table for any row and column, -1 outside.
    int NodeAt(long long row, long long col) const;

    int m_nCount = 0;
    int m_nMeshCountX = 0;
    int m_nMeshCountY = 0;
    double m_dMeshSize = 10.0;
    std::vector<CCalValue> m_pValue;
    std::vector<std::int16_t> m_pDepthFlag;
    std::vector<std::int16_t> m_pHeightFlag;
    std::vector<std::int16_t> m_pDirFlag;
    std::vector<std::int16_t> m_pVectorFlag;
    // Node-index table, row by row, with the dimensions it was allocated with.
    std::vector<int> m_pNodeIndex;
    int m_nIndexRows = 0;
    int m_nIndexCols = 0;
    float m_fMinDepth = 0.0f;
    float m_fMinHeightRatio = 0.0f;
    float m_fMinEquivRatio = 0.0f;
    float m_fMaxDepth = 0.0f;
    float m_fMaxHeightRatio = 0.0f;
    float m_fMaxEquivRatio = 0.0f;
    double m_dBaseLevel = 0.0;
    double m_dWaveHeight = 0.0;
};

}  // namespace wv
