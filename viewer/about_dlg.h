// The About box (template 100): the version text from "SYSVER.DAT" in control 1000.
#pragma once

#include "platform/dialog_model.h"

#include <string>
#include <vector>

namespace wv {

class CAboutDlg : public CDialogModel {
public:
    enum { IDD = 100, IDC_VERSION = 1000 };
    // `versionCp932`: the first line of "SYSVER.DAT" as its bytes (empty when missing).
    explicit CAboutDlg(const std::string& versionCp932);

protected:
    void DoDataExchange(CDataExchange&) override {}
};

// Reads the version text from "SYSVER.DAT" in the start folder; a missing file is said
// once ("ﾊﾞｰｼﾞｮﾝが読み込めませんでした。", caption "SYSVER") and gives an empty text.
std::string LoadVersionText(const std::string& startFolder);

// The most recently used files, newest first, at most four (the "File1" to "File4"
// entries of the "Recent File List" settings section), each kept absolute (files.h:
// AbsoluteFromCaller).
class RecentFiles {
public:
    static constexpr int kMax = 4;
    const std::vector<std::string>& Files() const { return m_files; }
    void Set(std::vector<std::string> files);
    // A file opened: it moves to the front.
    void Add(const std::string& path);
    // A file that failed to open leaves the list.
    void Remove(const std::string& path);

private:
    std::vector<std::string> m_files;
};

}  // namespace wv
