#include "viewer/reliefscope_doc.h"

#include "geoconv/qsona_record.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "viewer/messages.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

std::string_view Mid(std::string_view text, std::size_t column, std::size_t width)
{
    return column >= text.size() ? std::string_view() : text.substr(column, width);
}

}  // namespace

bool CReliefscopeDoc::HasZeroPointNumber(int i) const
{
    return Mid(Line(i), qsona::kPointNumberColumn, qsona::kPointNumberWidth) == "00000";
}

int CReliefscopeDoc::FirstPointRecord() const
{
    for (int i = 0; i < m_nCount; ++i) {
        if (m_pointType[static_cast<std::size_t>(i)] != 0) {
            return i;
        }
    }
    return -1;
}

std::string CReliefscopeDoc::MessageCaption() const { return viewer_text::kAppTitle; }

bool CReliefscopeDoc::OnOpenDocument(const std::string& path)
{
    RecordTexts texts;
    std::string err;
    if (!ReadWholeFile(path, texts.m_bytes, &err)) {
        Ui().MessageBox(path + "\n" + viewer_text::kCannotOpen + "\n(" + err + ")", MessageCaption(),
                        MbButtons::Ok, MbIcon::Error);
        return false;
    }

    // Lines end at LF; a CR before it belongs to the line end (text mode on Windows), and
    // a last line without a line end is a line like any other.
    const std::string& bytes = texts.m_bytes;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t nl = bytes.find('\n', pos);
        const std::size_t end = nl == std::string::npos ? bytes.size() : nl;
        std::uint8_t gap = nl == std::string::npos ? 0 : 1;
        if (end > pos && bytes[end - 1] == '\r') {
            ++gap;
        }
        texts.m_start.push_back(pos);
        texts.m_gap.push_back(gap);
        pos = nl == std::string::npos ? bytes.size() : nl + 1;
    }
    texts.m_start.push_back(bytes.size());
    texts.m_gap.push_back(0);

    const std::size_t n = texts.size();
    if (n < 2) {
        Ui().MessageBox(path + "\n" + viewer_text::kTooFewLines, MessageCaption(), MbButtons::Ok,
                        MbIcon::Error);
        return false;
    }

    std::vector<double> lat(n);
    std::vector<double> lon(n);
    std::vector<int> lineNo(n);
    std::vector<char> type(n);
    // Only points of lines enter the box: a header or comment line's blank columns would
    // read as 0 and pull the box to the equator and meridian 0.
    GeoBox box{999.0, 999.0, -999.0, -999.0};
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view text = texts[i];
        lineNo[i] = WinAtoi(Mid(text, qsona::kLineNumberColumn, qsona::kLineNumberWidth));
        lon[i] = WinAtof(Mid(text, qsona::kLongitudeColumn, qsona::kLongitudeWidth));
        lat[i] = WinAtof(Mid(text, qsona::kLatitudeColumn, qsona::kLatitudeWidth));
        type[i] = ClassifyQsonaLine(text) == QsonaLineKind::Point ? text[qsona::kTypeColumn] : 0;
        if (type[i] != 0 && std::isfinite(lat[i]) && std::isfinite(lon[i])) {
            box.latMin = std::min(box.latMin, lat[i]);
            box.latMax = std::max(box.latMax, lat[i]);
            box.lonMin = std::min(box.lonMin, lon[i]);
            box.lonMax = std::max(box.lonMax, lon[i]);
        }
    }
    if (box.latMin > box.latMax) {
        box.latMin = box.latMax = 0.0;
    }
    if (box.lonMin > box.lonMax) {
        box.lonMin = box.lonMax = 0.0;
    }

    m_pLines = std::move(texts);
    m_pLat = std::move(lat);
    m_pLon = std::move(lon);
    m_pLineNo = std::move(lineNo);
    m_pointType = std::move(type);
    m_nCount = static_cast<int>(n);
    m_data = box;
    SetPathName(path);
    SetModifiedFlag(false);
    return true;
}

}  // namespace wv
