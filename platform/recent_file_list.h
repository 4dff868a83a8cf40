// A most-recent-first list of file paths with a fixed number of places, kept in the
// profile as "<section>"/"File1".."FileN". Every change is written at once by the
// owner (WriteList), so the profile always matches the menu.
#pragma once

#include "platform/profile.h"

#include <string>
#include <vector>

namespace wv {

class CRecentFileList {
public:
    CRecentFileList(int firstCommandId, std::string section, std::string entryFormat, int size,
                    int maxDisplayLength);

    int GetSize() const { return m_size; }
    int GetCount() const { return static_cast<int>(m_paths.size()); }
    // Entry 0 is the most recent; "" beyond the count.
    std::string operator[](int index) const;
    int FirstCommandId() const { return m_firstId; }

    // Puts the path at the top; an entry of the same path moves there, the oldest falls off.
    // Every path is kept absolute (files.h: AbsoluteFromCaller), also one read back.
    void Add(const std::string& path);
    void Remove(int index);

    // The menu text of an entry: "&1 " and the name, the path shortened to at most
    // `maxDisplayLength` characters by leaving out folders in the middle ("/a/.../c.TIK").
    std::string GetDisplayName(int index) const;

    void ReadList(const CProfile& profile);
    void WriteList(CProfile& profile) const;

private:
    int m_firstId;
    std::string m_section;
    std::string m_format;  // "File%d"
    int m_size;
    int m_maxDisplay;
    std::vector<std::string> m_paths;
};

}  // namespace wv
