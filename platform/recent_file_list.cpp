#include "platform/recent_file_list.h"

#include "platform/files.h"

#include <algorithm>
#include <cstdio>

namespace wv {

namespace {

// Characters, not bytes: the display limit counts what the user sees.
std::size_t CharCount(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string KeyName(const std::string& format, int number) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format.c_str(), number);
    return buf;
}

}  // namespace

CRecentFileList::CRecentFileList(int firstCommandId, std::string section, std::string entryFormat, int size,
                                 int maxDisplayLength)
    : m_firstId(firstCommandId),
      m_section(std::move(section)),
      m_format(std::move(entryFormat)),
      m_size(std::max(1, size)),
      m_maxDisplay(maxDisplayLength) {}

std::string CRecentFileList::operator[](int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return m_paths[static_cast<std::size_t>(index)];
}

void CRecentFileList::Add(const std::string& given) {
    const std::string path = AbsoluteFromCaller(given);
    if (path.empty()) return;
    m_paths.erase(std::remove(m_paths.begin(), m_paths.end(), path), m_paths.end());
    m_paths.insert(m_paths.begin(), path);
    if (GetCount() > m_size) m_paths.resize(static_cast<std::size_t>(m_size));
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= GetCount()) return;
    m_paths.erase(m_paths.begin() + index);
}

std::string CRecentFileList::GetDisplayName(int index) const {
    const std::string path = (*this)[index];
    const std::size_t limit = static_cast<std::size_t>(m_maxDisplay);
    std::string shown = path;
    if (CharCount(shown) > limit) {
        std::vector<std::string> parts;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t slash = path.find('/', pos);
            parts.push_back(path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos));
            if (slash == std::string::npos) break;
            pos = slash + 1;
        }
        // Keep the first part and the name; leave out folders after the first until it fits.
        shown = parts.back();
        for (std::size_t drop = 1; drop + 1 < parts.size(); ++drop) {
            std::string candidate = parts[0] + "/...";
            for (std::size_t i = drop + 1; i < parts.size(); ++i) candidate += "/" + parts[i];
            if (CharCount(candidate) <= limit) {
                shown = candidate;
                break;
            }
        }
    }
    return "&" + std::to_string(index + 1) + " " + shown;
}

void CRecentFileList::ReadList(const CProfile& profile) {
    m_paths.clear();
    for (int i = 1; i <= m_size; ++i) {
        // An older list may hold a name without its folder: the user named it from there.
        const std::string path = AbsoluteFromCaller(profile.GetProfileString(m_section, KeyName(m_format, i)));
        if (!path.empty() && std::find(m_paths.begin(), m_paths.end(), path) == m_paths.end())
            m_paths.push_back(path);
    }
}

void CRecentFileList::WriteList(CProfile& profile) const {
    for (int i = 1; i <= m_size; ++i) {
        const std::string key = KeyName(m_format, i);
        if (i <= GetCount())
            profile.WriteProfileString(m_section, key, m_paths[static_cast<std::size_t>(i - 1)]);
        else
            profile.RemoveProfileEntry(m_section, key);
    }
    profile.Flush();
}

}  // namespace wv
