// The viewer's document: a Q-SONA file held as the bytes of its lines, with the
// latitude, longitude and line number of every line, the bounding box of the point
// records, the output area the user dragged out and the low-tide switch.
//
// Read once when opened and never saved. Opening is all-or-nothing: a file that cannot
// be read, or has fewer than two lines, leaves the records, box, area and switch as they
// were.
#pragma once

#include "platform/document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wv {

// A rectangle of geographic coordinates, decimal degrees.
struct GeoBox {
    double latMin = 0.0;
    double lonMin = 0.0;
    double latMax = 0.0;
    double lonMax = 0.0;

    double LatSpan() const { return latMax - latMin; }
    double LonSpan() const { return lonMax - lonMin; }
    // An output area counts as set when it spans at least 0.00001 degrees both ways.
    bool IsSet() const { return LonSpan() >= 0.00001 && LatSpan() >= 0.00001; }
    // Inclusive on every side, as the outputs test points.
    bool Contains(double lat, double lon) const
    {
        return lat >= latMin && lat <= latMax && lon >= lonMin && lon <= lonMax;
    }
};

// The stored text of every line, without line ends, in one buffer.
class RecordTexts {
public:
    std::string_view operator[](std::size_t i) const
    {
        return std::string_view(m_bytes).substr(m_start[i], m_start[i + 1] - m_start[i] - m_gap[i]);
    }
    std::size_t size() const { return m_start.empty() ? 0 : m_start.size() - 1; }

private:
    friend class CReliefscopeDoc;
    std::string m_bytes;                 // the file as read
    std::vector<std::uint64_t> m_start;  // start of each line, then the end of the text
    std::vector<std::uint8_t> m_gap;     // bytes of line end after each line (0, 1 or 2)
};

class CReliefscopeDoc : public CDocument {
public:
    bool OnOpenDocument(const std::string& path) override;
    // The viewer never writes its document back.
    void Serialize(CArchive&) override {}

    int Count() const { return m_nCount; }
    std::string_view Line(int i) const { return m_pLines[static_cast<std::size_t>(i)]; }
    double Latitude(int i) const { return m_pLat[static_cast<std::size_t>(i)]; }
    double Longitude(int i) const { return m_pLon[static_cast<std::size_t>(i)]; }
    int LineNumber(int i) const { return m_pLineNo[static_cast<std::size_t>(i)]; }
    // 'L', 'N' or 'M' for a point record, 0 for any other line (blank, header, comment,
    // a record of another type, a line too short to hold the datum column).
    char PointType(int i) const { return m_pointType[static_cast<std::size_t>(i)]; }
    // Columns 5-9 read "00000" (a continuation record when the line number changes).
    bool HasZeroPointNumber(int i) const;

    // The bounding box of the point records; all 0 when there are none.
    const GeoBox& DataBox() const { return m_data; }

    // The output area (all 0 = none). Kept when another file is opened.
    const GeoBox& Area() const { return m_area; }
    void SetArea(const GeoBox& area) { m_area = area; }
    void ClearArea() { m_area = GeoBox{}; }

    bool LowTide() const { return m_bLowTide != 0; }
    void SetLowTide(bool on) { m_bLowTide = on ? 1 : 0; }

    // Types the outputs and the drawing take as line points: 'M' only with the switch on.
    bool IsShownType(char type) const
    {
        return type == 'L' || type == 'N' || (type == 'M' && m_bLowTide != 0);
    }

    // The first point record, or -1 when the file holds none.
    int FirstPointRecord() const;

protected:
    std::string MessageCaption() const override;

private:
    std::uint8_t m_bLowTide = 0;
    int m_nCount = 0;
    std::vector<double> m_pLat;
    std::vector<double> m_pLon;
    std::vector<int> m_pLineNo;
    std::vector<char> m_pointType;
    RecordTexts m_pLines;
    GeoBox m_data;
    GeoBox m_area;
};

}  // namespace wv
