#include "core/digital_map.h"
#include "core/messages.h"
#include "platform/text.h"

#include "core/geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

namespace wv {

// ---- CCalValue -----------------------------------------------------------------------

double CCalValue::GetValue(int kind, double h0) const {
    switch (kind) {
        case 0: return h0 * m_fHeightRatio;
        case 1: return m_fHeightRatio;
        case 2: return m_fEquivRatio * h0;
        default: return m_fEquivRatio;
    }
}

void CCalValue::Serialize(CArchive& ar, unsigned) {
    ar.Exchange(m_fDepth);
    ar.Exchange(m_fHeightRatio);
    ar.Exchange(m_fEquivRatio);
    ar.Exchange(m_fDirection);
}

// ---- CDigitalMap: plain access -------------------------------------------------------

namespace {

// Grid index of a coordinate already divided by the spacing. Anything that cannot be a
// grid index (NaN, huge, a zero spacing) lands far outside every grid, so that the
// neighbours tried around it are outside as well.
long long FloorIndex(double v) {
    const double f = std::floor(v);
    if (!(f > -1e15 && f < 1e15)) return -(1LL << 52);
    return static_cast<long long>(f);
}

// Mean of directions in degrees. Directions below 180 count 360 more, so that values
// either side of north (350 and 10) average to north. When that spreads them over more
// than a half circle they straddle south (170 and 190) instead, and there the plain
// values, brought into [0, 360), average correctly.
double MeanDirection(const double* dir, int n) {
    if (n == 0) return kNoDirection;
    double sum = 0.0;
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (int i = 0; i < n; ++i) {
        const double a = dir[i] < 180.0 ? dir[i] + 360.0 : dir[i];
        sum += a;
        lo = std::min(lo, a);
        hi = std::max(hi, a);
    }
    if (hi - lo > 180.0) {
        double sum2 = 0.0;
        double lo2 = std::numeric_limits<double>::infinity();
        double hi2 = -lo2;
        for (int i = 0; i < n; ++i) {
            double a = dir[i];
            if (a < 0.0) a += 360.0;
            else if (a >= 360.0) a -= 360.0;
            sum2 += a;
            lo2 = std::min(lo2, a);
            hi2 = std::max(hi2, a);
        }
        if (hi2 - lo2 <= 180.0) sum = sum2;
    }
    double mean = sum / n;
    if (mean > 359.99999) mean -= 360.0;
    return mean;
}

}  // namespace

double CDigitalMap::GetMinValue(int kind) const {
    switch (kind) {
        case 0: return m_dWaveHeight * m_fMinHeightRatio;
        case 1: return m_fMinHeightRatio;
        case 2: return m_fMinEquivRatio * m_dWaveHeight;
        default: return m_fMinEquivRatio;
    }
}

double CDigitalMap::GetMaxValue(int kind) const {
    switch (kind) {
        case 0: return m_dWaveHeight * m_fMaxHeightRatio;
        case 1: return m_fMaxHeightRatio;
        case 2: return m_fMaxEquivRatio * m_dWaveHeight;
        default: return m_fMaxEquivRatio;
    }
}

bool CDigitalMap::InNodeRange(int i, std::size_t allocated) const {
    return i >= 0 && i < m_nCount && static_cast<std::size_t>(i) < allocated;
}

CCalValue CDigitalMap::GetAt(int i) const {
    return InNodeRange(i, m_pValue.size()) ? m_pValue[i] : CCalValue();
}

void CDigitalMap::SetAt(int i, const CCalValue& v) {
    if (InNodeRange(i, m_pValue.size())) m_pValue[i] = v;
}

std::int16_t CDigitalMap::GetFlag(const std::vector<std::int16_t>& a, int i) const {
    return InNodeRange(i, a.size()) ? a[i] : std::int16_t(0);
}

void CDigitalMap::SetFlag(std::vector<std::int16_t>& a, int i, std::int16_t f) {
    if (InNodeRange(i, a.size())) a[i] = f;
}

void CDigitalMap::AllocFlag(std::vector<std::int16_t>& a) {
    if (m_nCount > 0) a.assign(m_nCount, 0);
}

void CDigitalMap::AllocValues() {
    if (m_nCount > 0) m_pValue.assign(m_nCount, CCalValue());
}

void CDigitalMap::AllocNodeIndex() {
    if (m_nMeshCountX <= 0 || m_nMeshCountY <= 0) return;
    m_pNodeIndex.assign(static_cast<std::size_t>(m_nMeshCountX) * m_nMeshCountY, -1);
    m_nIndexRows = m_nMeshCountY;
    m_nIndexCols = m_nMeshCountX;
}

void CDigitalMap::FreeNodeIndex() {
    std::vector<int>().swap(m_pNodeIndex);
    m_nIndexRows = 0;
    m_nIndexCols = 0;
}

int CDigitalMap::NodeAt(long long row, long long col) const {
    if (row < 0 || col < 0 || row >= m_nMeshCountY || col >= m_nMeshCountX) return -1;
    if (row >= m_nIndexRows || col >= m_nIndexCols) return -1;
    return m_pNodeIndex[static_cast<std::size_t>(row) * m_nIndexCols + col];
}

int CDigitalMap::GetNodeIndex(int row, int col) const { return NodeAt(row, col); }

void CDigitalMap::SetNodeIndex(int row, int col, int index) {
    if (row < 0 || col < 0 || row >= m_nMeshCountY || col >= m_nMeshCountX) return;
    if (row >= m_nIndexRows || col >= m_nIndexCols) return;
    m_pNodeIndex[static_cast<std::size_t>(row) * m_nIndexCols + col] = index;
}

// ---- ranges and look-ups -------------------------------------------------------------

void CDigitalMap::CalcDepthRange() {
    float lo = 999999.0f;
    float hi = -999999.0f;
    for (int i = 0; i < m_nCount; ++i) {
        const float d = GetAt(i).m_fDepth;
        if (d < lo) lo = d;
        if (d > hi) hi = d;
    }
    if (hi < lo) lo = hi = 0.0f;
    m_fMinDepth = lo;
    m_fMaxDepth = hi;
}

void CDigitalMap::CalcResultRange() {
    float loH = 99999.9f, hiH = -99999.9f;
    float loE = 99999.9f, hiE = -99999.9f;
    for (int i = 0; i < m_nCount; ++i) {
        const CCalValue v = GetAt(i);
        if (v.m_fHeightRatio < loH) loH = v.m_fHeightRatio;
        if (v.m_fHeightRatio > hiH) hiH = v.m_fHeightRatio;
        // A negative equivalent ratio means the solver gave no value there.
        if (v.m_fEquivRatio >= 0.0f) {
            if (v.m_fEquivRatio < loE) loE = v.m_fEquivRatio;
            if (v.m_fEquivRatio > hiE) hiE = v.m_fEquivRatio;
        }
    }
    if (hiH < loH) loH = hiH = 0.0f;
    if (hiE < loE) loE = hiE = 0.0f;
    m_fMinHeightRatio = loH;
    m_fMaxHeightRatio = hiH;
    m_fMinEquivRatio = loE;
    m_fMaxEquivRatio = hiE;
}

int CDigitalMap::FindNode(double x, double y) const {
    // 0.501 rather than 0.5: a point half-way between two nodes goes to the far one.
    const long long row = FloorIndex(y / m_dMeshSize + 0.501);
    const long long col = FloorIndex(x / m_dMeshSize + 0.501);
    const int here = NodeAt(row, col);
    if (here >= 0) return here;

    static const int kNeighbours[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1},
                                          {0, 1},   {1, -1}, {1, 0},  {1, 1}};
    int found = -1;
    double best = 99999999.999;
    for (const auto& d : kNeighbours) {
        const int idx = NodeAt(row + d[0], col + d[1]);
        if (idx < 0) continue;
        const CPointF p = GetAt(idx).m_pos;
        const double dx = p.m_fX - x;
        const double dy = p.m_fY - y;
        const double dist = std::sqrt(dx * dx + dy * dy);
        if (dist <= best) {  // of equal distances the later neighbour wins
            best = dist;
            found = idx;
        }
    }
    return found;
}

void CDigitalMap::GetValueAt(double x, double y, int kind, double* value, double* direction) const {
    const long long row0 = FloorIndex(y / m_dMeshSize);
    const long long col0 = FloorIndex(x / m_dMeshSize);
    const long long cell[4][2] = {{row0, col0}, {row0 + 1, col0}, {row0, col0 + 1}, {row0 + 1, col0 + 1}};
    double dirs[4];
    int nDir = 0;
    double valueSum = 0.0;
    int nValue = 0;
    for (const auto& rc : cell) {
        const int idx = NodeAt(rc[0], rc[1]);
        if (idx < 0) continue;
        const CCalValue v = GetAt(idx);
        dirs[nDir++] = v.m_fDirection;
        const double val = v.GetValue(kind, m_dWaveHeight);
        if (val >= 0.0) {  // negative: the solver gave no value there
            valueSum += val;
            ++nValue;
        }
    }
    if (direction) *direction = MeanDirection(dirs, nDir);
    if (value) *value = nValue > 0 ? valueSum / nValue : kNoValue;
}

// ---- area operations -----------------------------------------------------------------

std::vector<std::int16_t>& CDigitalMap::AreaFlags(int kind) {
    if (kind == kAreaHeight) return m_pHeightFlag;
    if (kind == kAreaVector) return m_pVectorFlag;
    return m_pDirFlag;
}

bool CDigitalMap::SelectFlagsInArea(CPointD origin, double angle, const CPointList* polygon, int kind) {
    std::vector<std::int16_t>& flags = AreaFlags(kind);
    const int sense = GetPolygonOrientation(polygon);
    const double a = -angle * 3.141592653589793 / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    bool any = false;
    for (int i = 0; i < m_nCount; ++i) {
        if (GetFlag(flags, i) == kFlagHidden) continue;
        const CPointF p = GetAt(i).m_pos;
        double wx = 0.0, wy = 0.0;
        WorldToScreen(p.m_fX, p.m_fY, 0.0, 0.0, c, s, 1.0, origin.m_dX, origin.m_dY, &wx, &wy);
        if (LocatePointInPolygon(wx, wy, sense, polygon) == 0) {
            flags[i] = kFlagMarked;
            any = true;
        }
    }
    return any;
}

void CDigitalMap::RestoreAreaFlags(int kind) {
    for (std::int16_t& f : AreaFlags(kind))
        if (f == kFlagMarked) f = kFlagShown;
}

void CDigitalMap::EraseAreaFlags(int kind) {
    for (std::int16_t& f : AreaFlags(kind))
        if (f == kFlagMarked) f = kFlagHidden;
}

// ---- archive -------------------------------------------------------------------------

void CDigitalMap::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount << m_nMeshCountX << m_nMeshCountY << m_dMeshSize;
        for (int i = 0; i < m_nCount; ++i) GetAt(i).Serialize(ar, nVersion);
        for (const auto* flags : {&m_pDepthFlag, &m_pHeightFlag, &m_pDirFlag, &m_pVectorFlag})
            for (int i = 0; i < m_nCount; ++i) ar << GetFlag(*flags, i);
        for (int r = 0; r < m_nMeshCountY; ++r)
            for (int c = 0; c < m_nMeshCountX; ++c) ar << NodeAt(r, c);
        ar << m_dBaseLevel << m_dWaveHeight;
        return;
    }

    int count = 0, nx = 0, ny = 0;
    double size = 0.0;
    ar >> count >> nx >> ny >> size;
    // Every count is checked against what is left of the file before anything is
    // allocated for it: a node record is 16 bytes, a node-index entry 4.
    ar.CheckCount(count, INT_MAX, 16, msg::kWhatMeshNodes);
    CArchive::CheckRange(nx, 0, INT_MAX, msg::kWhatMeshCountX);
    CArchive::CheckRange(ny, 0, INT_MAX, msg::kWhatMeshCountY);
    const std::int64_t cells = std::int64_t(nx) * ny;
    ar.CheckCount(cells, INT_MAX, 4, msg::kWhatNodeTable);
    // Rows and columns each, not only their product: a mesh of 0 columns stores no
    // node-index entry, yet every walk of the grid would still go through its rows. The
    // program only ever has a mesh of at least 2 x 2 nodes or none at all.
    if (cells == 0 && (nx != 0 || ny != 0))
        throw ArchiveError(Sprintf(msg::kMeshWithoutNodes, static_cast<int>(nx), static_cast<int>(ny)));

    std::vector<CCalValue> values(count);
    for (CCalValue& v : values) v.Serialize(ar, nVersion);
    std::vector<std::int16_t> depthFlag(count, 0), heightFlag(count, 0), dirFlag(count, 0),
        vectorFlag(count, 0);
    auto readFlags = [&](std::vector<std::int16_t>& f) {
        for (std::int16_t& x : f) ar >> x;
    };
    // Maps that an older file lacks stay hidden everywhere.
    if (nVersion > 7) readFlags(depthFlag);
    readFlags(heightFlag);
    if (nVersion > 8) readFlags(dirFlag);
    readFlags(vectorFlag);
    std::vector<int> index(static_cast<std::size_t>(cells));
    for (int& e : index) {
        ar >> e;
        CArchive::CheckRange(e, -1, std::int64_t(count) - 1, msg::kWhatNodeIndex);
    }
    double base = 0.0, waveHeight = 0.0;
    ar >> base >> waveHeight;

    m_nCount = count;
    m_nMeshCountX = nx;
    m_nMeshCountY = ny;
    m_dMeshSize = size;
    m_pValue = std::move(values);
    m_pDepthFlag = count > 0 ? std::move(depthFlag) : std::vector<std::int16_t>();
    m_pHeightFlag = count > 0 ? std::move(heightFlag) : std::vector<std::int16_t>();
    m_pDirFlag = count > 0 ? std::move(dirFlag) : std::vector<std::int16_t>();
    m_pVectorFlag = count > 0 ? std::move(vectorFlag) : std::vector<std::int16_t>();
    if (cells > 0) {
        m_pNodeIndex = std::move(index);
        m_nIndexRows = ny;
        m_nIndexCols = nx;
    } else {
        FreeNodeIndex();
    }
    m_dBaseLevel = base;
    m_dWaveHeight = waveHeight;
}

}  // namespace wv
