#include "core/hcheck.h"
#include "core/messages.h"

#include <algorithm>
#include <climits>
#include <string>

namespace wv {

namespace {

// The tracer adds one contour level at a time. A step that does not add anything only
// changes the count; otherwise the arrays are reallocated to the new count with the old
// entries kept and the new ones at their defaults.
template <class... V>
void ExtendArrays(int& count, int n, V&... arrays) {
    const int old = count;
    const long long grown = static_cast<long long>(old) + n;
    count = static_cast<int>(std::clamp<long long>(grown, INT_MIN, INT_MAX));
    if (count <= 0 || count <= old) return;
    // The tracer extends once per level: room grows by doubling, so a run of many levels
    // copies the tables a few times instead of once per level.
    auto grow = [&](auto& a) {
        if (a.capacity() < static_cast<std::size_t>(count))
            a.reserve(std::max(static_cast<std::size_t>(count), 2 * a.capacity()));
        a.resize(static_cast<std::size_t>(count));
    };
    (grow(arrays), ...);
}

}  // namespace

// ---- CHCheckPoint --------------------------------------------------------------------

void CHCheckPoint::Alloc() {
    if (m_nCount <= 0) return;
    m_points.assign(m_nCount, CPointF());
    m_values.assign(m_nCount, 0.0f);
}

void CHCheckPoint::Extend(int n) {
    // Entries the arrays never held (a count set by hand) are not "old entries".
    const std::size_t held = std::min(m_points.size(), static_cast<std::size_t>(std::max(m_nCount, 0)));
    m_points.resize(held);
    m_values.resize(held);
    ExtendArrays(m_nCount, n, m_points, m_values);
}

void CHCheckPoint::Free() {
    std::vector<CPointF>().swap(m_points);
    std::vector<float>().swap(m_values);
}

void CHCheckPoint::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount;
        for (int i = 0; i < m_nCount; ++i) {
            CPointF p = GetPoint(i);
            p.Serialize(ar, nVersion);
            ar << GetValue(i);
        }
        return;
    }
    CHCheckPoint r;
    ar >> r.m_nCount;
    ar.CheckCount(r.m_nCount, INT_MAX, 12, msg::kWhatCheckPoints);
    r.Alloc();
    for (int i = 0; i < r.m_nCount; ++i) {
        r.m_points[i].Serialize(ar, nVersion);
        ar >> r.m_values[i];
    }
    *this = std::move(r);
}

// ---- CHCheckLine ---------------------------------------------------------------------

void CHCheckLine::Alloc() {
    if (m_nCount <= 0) return;
    m_starts.assign(m_nCount, 0);
    m_ends.assign(m_nCount, 0);
}

void CHCheckLine::Extend(int n) {
    const std::size_t held = std::min(m_starts.size(), static_cast<std::size_t>(std::max(m_nCount, 0)));
    m_starts.resize(held);
    m_ends.resize(held);
    ExtendArrays(m_nCount, n, m_starts, m_ends);
}

void CHCheckLine::Free() {
    std::vector<int>().swap(m_starts);
    std::vector<int>().swap(m_ends);
}

void CHCheckLine::Serialize(CArchive& ar, unsigned) {
    if (ar.IsStoring()) {
        ar << m_nCount;
        for (int i = 0; i < m_nCount; ++i) ar << GetStart(i) << GetEnd(i);
        return;
    }
    int count = 0;
    ar >> count;
    ar.CheckCount(count, INT_MAX, 8, msg::kWhatCheckSegments);
    std::vector<int> starts(count), ends(count);
    for (int i = 0; i < count; ++i) ar >> starts[i] >> ends[i];
    m_nCount = count;
    m_starts = std::move(starts);
    m_ends = std::move(ends);
}

void CHCheckLine::CheckPointIndices(int pointCount) const {
    for (int i = 0; i < m_nCount; ++i) {
        CArchive::CheckRange(GetStart(i), 0, std::int64_t(pointCount) - 1, msg::kWhatCheckStart);
        CArchive::CheckRange(GetEnd(i), 0, std::int64_t(pointCount) - 1, msg::kWhatCheckEnd);
    }
}

}  // namespace wv
