// Calculation output points: up to ten places at which the results are listed and
// annotated on the figures. The table has ten fixed slots named "1" to "10"; a slot keeps
// its name and last position while it is free.
#pragma once

#include "core/point.h"
#include "platform/archive.h"

#include <string>
#include <vector>

namespace wv {

class CSansyutuZokusei {
public:
    CPointD GetPos() const { return m_ptPos; }
    bool SetPos(double x, double y) { m_ptPos = CPointD(x, y); return true; }
    // The name as stored in the file (code page 932 bytes).
    const std::string& GetName() const { return m_strName; }
    bool SetName(const std::string& name) { m_strName = name; return true; }
    // 1 the point is placed, 0 the slot is free.
    int GetUse() const { return m_nUse; }
    bool SetUse(int use) { m_nUse = use; return true; }

    void Serialize(CArchive& ar, unsigned nVersion);

    bool operator==(const CSansyutuZokusei&) const = default;

private:
    CPointD m_ptPos;
    std::string m_strName;
    int m_nUse = 0;
};

class CSansyutu {
public:
    static constexpr int kCapacity = 10;

    CSansyutu() { Reset(); }

    // Ten free slots named "1" to "10" at (0, 0), none in use.
    void Reset();

    int GetCount() const { return m_nCount; }
    void SetCount(int count) { m_nCount = count; }
    int GetSize() const { return static_cast<int>(m_items.size()); }

    // Copy of a slot's record; a default record for a slot that does not exist.
    CSansyutuZokusei GetAt(int slot) const;
    // Stores a whole record; the count is the caller's (the conditions dialog sets it
    // with SetCount afterwards). False for a slot that does not exist.
    bool SetAt(int slot, CSansyutuZokusei record);

    // Places a point in the first free slot, keeping the slot's name. Returns the slot,
    // or -1 when all ten are in use.
    int Add(double x, double y);
    // Frees a slot in use (position and name stay). Anything else does nothing.
    void RemoveAt(int slot);
    // The point in use picked at (x, y): strictly nearer than `tolerance`, lowest slot on
    // ties; -1 when none.
    int HitTest(double x, double y, double tolerance) const;
    // The nearest point in use, lowest slot on ties; -1 when none lies within 31622.78 m.
    int FindNearest(double x, double y) const;

    // Every slot is stored, free or not. Loading accepts only the table of ten that the
    // program writes and throws ArchiveError otherwise, leaving the table unchanged.
    void Serialize(CArchive& ar, unsigned nVersion);

private:
    int m_nCount = 0;
    std::vector<CSansyutuZokusei> m_items;
};

// The output points of the open project.
extern CSansyutu g_calcPoints;

}  // namespace wv
