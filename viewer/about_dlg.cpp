#include "viewer/about_dlg.h"

#include "platform/files.h"
#include "platform/sysver.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "viewer/messages.h"

#include <algorithm>

namespace wv {

CAboutDlg::CAboutDlg(const std::string& versionCp932) : CDialogModel(IDD, viewer_text::kAboutCaption, 180, 62)
{
    AddLabel(viewer_text::kAppTitle, {40, 10, 130, 8});
    AddLabel(std::string(viewer_text::kVersionPrefix) + Cp932ToUtf8(versionCp932), {40, 24, 130, 8}, IDC_VERSION);
    AddButton(IDOK, "OK", {123, 41, 50, 14});
}

std::string LoadVersionText(const std::string& startFolder)
{
    bool opened = false;
    std::string version = ReadSysVer(startFolder, &opened);
    if (!opened) {
        Ui().MessageBox(viewer_text::kNoVersion, viewer_text::kCaptionSysver, MbButtons::Ok, MbIcon::None);
    }
    return version;
}

void RecentFiles::Set(std::vector<std::string> files)
{
    m_files.clear();
    for (const std::string& given : files) {
        // An older list may hold a name without its folder: the user named it from there.
        std::string f = AbsoluteFromCaller(given);
        if (!f.empty() && std::find(m_files.begin(), m_files.end(), f) == m_files.end() &&
            static_cast<int>(m_files.size()) < kMax) {
            m_files.push_back(std::move(f));
        }
    }
}

void RecentFiles::Add(const std::string& given)
{
    const std::string path = AbsoluteFromCaller(given);
    Remove(path);
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > kMax) {
        m_files.resize(kMax);
    }
}

void RecentFiles::Remove(const std::string& given)
{
    const std::string path = AbsoluteFromCaller(given);
    m_files.erase(std::remove(m_files.begin(), m_files.end(), path), m_files.end());
}

}  // namespace wv
