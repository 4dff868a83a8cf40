#include "core/sansyutu.h"
#include "core/messages.h"

#include "core/slot_table.h"

#include <cstdint>
#include <string>

namespace wv {

CSansyutu g_calcPoints;

namespace {

// Free slots keep their name and last position, so the flag alone tells them apart.
bool InUse(const CSansyutuZokusei& r) { return r.GetUse() != 0; }

}  // namespace

// --- CSansyutuZokusei ---

void CSansyutuZokusei::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        m_ptPos.Serialize(ar, nVersion);
        ar.WriteString(m_strName);
        ar << m_nUse;
        return;
    }
    CSansyutuZokusei r(*this);
    r.m_ptPos.Serialize(ar, nVersion);
    r.m_strName = ar.ReadString();
    ar >> r.m_nUse;
    *this = r;
}

// --- CSansyutu ---

void CSansyutu::Reset() {
    m_nCount = 0;
    m_items.assign(kCapacity, CSansyutuZokusei());
    for (int i = 0; i < kCapacity; ++i) m_items[i].SetName(std::to_string(i + 1));
}

CSansyutuZokusei CSansyutu::GetAt(int slot) const {
    if (slot < 0 || slot >= GetSize()) return CSansyutuZokusei();
    return m_items[slot];
}

bool CSansyutu::SetAt(int slot, CSansyutuZokusei record) {
    if (slot < 0 || slot >= GetSize()) return false;
    m_items[slot] = record;
    return true;
}

int CSansyutu::Add(double x, double y) {
    for (int i = 0; i < GetSize(); ++i) {
        if (m_items[i].GetUse() != 0) continue;
        m_items[i].SetUse(1);
        m_items[i].SetPos(x, y);
        ++m_nCount;
        return i;
    }
    return -1;
}

void CSansyutu::RemoveAt(int slot) {
    if (slot < 0 || slot >= GetSize() || m_items[slot].GetUse() == 0) return;
    m_items[slot].SetUse(0);
    --m_nCount;
}

int CSansyutu::HitTest(double x, double y, double tolerance) const {
    return HitTestPoints(m_items, InUse, x, y, tolerance);
}

int CSansyutu::FindNearest(double x, double y) const {
    return FindNearestPoint(m_items, InUse, x, y);
}

void CSansyutu::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount << static_cast<std::int32_t>(GetSize());
        for (CSansyutuZokusei& r : m_items) r.Serialize(ar, nVersion);
        return;
    }
    std::int32_t count, capacity;
    ar >> count >> capacity;
    // The table always has ten slots, and the calculation views keep exactly ten values
    // per output point; any other capacity comes from a damaged file.
    CArchive::CheckRange(capacity, kCapacity, kCapacity, msg::kWhatOutputCapacity);
    CArchive::CheckRange(count, 0, capacity, msg::kWhatOutputCount);
    ar.CheckCount(capacity, kCapacity, 16 + 1 + 4, msg::kWhatOutputPoints);
    std::vector<CSansyutuZokusei> items(static_cast<std::size_t>(capacity));
    int inUse = 0;
    for (CSansyutuZokusei& r : items) {
        r.Serialize(ar, nVersion);
        CArchive::CheckRange(r.GetUse(), 0, 1, msg::kWhatOutputUse);
        inUse += r.GetUse();
    }
    // The flags are what every caller looks at; a stored count that disagrees with them
    // would run below 0 as points are deleted, and the next save would not open again.
    m_nCount = inUse;
    m_items.swap(items);
}

}  // namespace wv
