#include "new_file_dlgs.h"

#include "messages.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool HasSeparator(const std::string& name) { return name.find_first_of("/\\") != std::string::npos; }

// Creates an empty file, never replacing one that appeared meanwhile.
bool CreateEmptyFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

std::string CannotCreate(const std::string& path) {
    const std::string text = msg::kCannotCreate;
    const std::size_t at = text.find("%1");
    return text.substr(0, at) + path + text.substr(at + 2);
}

}  // namespace

std::string StripTypedExtension(const std::string& name, const std::string& ext) {
    const std::size_t p = name.rfind('.');
    if (p == std::string::npos || p == 0 || name.size() - p - 1 != 3) return name;
    return EqualNoCase(name.substr(p + 1), ext) ? name.substr(0, p) : name;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char last = folder.back();
    if (last == '/') return folder + name;
    if (last == '\\') return folder.substr(0, folder.size() - 1) + "/" + name;
    return folder + "/" + name;
}

bool FolderHasEntryNoCase(const std::string& folder, const std::string& name) {
    std::error_code ec;
    const std::filesystem::path dir(folder.empty() ? "." : folder);
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (EqualNoCase(it->path().filename().string(), name)) return true;
    return false;
}

// New calculation file ------------------------------------------------------------

CNewTydDlg::CNewTydDlg() : CDialogModel(142, "新規作成", 187, 93) {
    AddEdit(kName, {7, 45, 173, 12});
    AddButton(IDOK, "OK", {76, 70, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {130, 70, 50, 14});
    AddLabel("ﾌﾟﾛｼﾞｪｸﾄの位置(&C)", {7, 7, 120, 8});
    AddEdit(kFolder, {7, 17, 173, 12}).readOnly = true;
    AddLabel("ﾌｧｲﾙ名(&N)", {7, 35, 120, 8});
}

void CNewTydDlg::OnInitDialog() {
    SetText(kFolder, m_strFolder);
    GotoControl(kName, false);
}

void CNewTydDlg::OnOK() {
    m_strName = GetText(kName);
    if (m_strName.empty()) return;
    if (HasSeparator(m_strName)) {
        // A separator would make the file somewhere other than the project folder.
        GotoControl(kName);
        ShowMessage({msg::kNameHasSeparator, msg::kNewTydCaption, MbIcon::Warning});
        return;
    }
    m_strName = StripTypedExtension(m_strName, "TYD");
    const std::string fileName = m_strName + ".TYD";
    m_strPath = JoinFolder(m_strFolder, fileName);
    // Windows would find "abc.tyd" for "ABC.TYD": so must we, or a second file of the
    // same name would appear beside the first.
    if (FolderHasEntryNoCase(m_strFolder, fileName)) {
        ShowMessage({msg::kNewTydExists, msg::kNewTydCaption, MbIcon::Warning});
        return;
    }
    if (!CreateEmptyFile(m_strPath)) {
        ShowMessage({CannotCreate(m_strPath), msg::kNewTydCaption, MbIcon::Warning});
        return;
    }
    EndDialog(IDOK);
}

// New project ----------------------------------------------------------------------

CNewProjectDlg::CNewProjectDlg() : CDialogModel(141, "ﾌﾟﾛｼﾞｪｸﾄの新規作成", 187, 93) {
    AddButton(IDOK, "OK", {76, 70, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {130, 70, 50, 14});
    AddLabel("ﾌﾟﾛｼﾞｪｸﾄ名(&N)", {7, 7, 120, 8});
    AddEdit(kName, {7, 17, 173, 12});
    AddLabel("位置(&C)", {7, 35, 120, 8});
    AddEdit(kLocation, {7, 45, 121, 12});
    AddButton(kBrowse, "参照(&F)", {132, 44, 48, 14});
}

std::string CNewProjectDlg::GetProjectFile() const { return JoinFolder(m_strProjectDir, m_strName + ".TIK"); }

void CNewProjectDlg::OnClicked(int id) {
    if (id == kBrowse) OnBrowse();
}

void CNewProjectDlg::OnBrowse() {
    std::string folder;
    if (!m_chooseFolder || !m_chooseFolder(folder)) return;
    m_strLocation = folder;
    SetText(kLocation, folder);
}

void CNewProjectDlg::OnOK() {
    m_strName = GetText(kName);
    m_strLocation = GetText(kLocation);
    if (m_strName.empty() || m_strLocation.empty()) return;
    if (HasSeparator(m_strName)) {
        GotoControl(kName);
        ShowMessage({msg::kNameHasSeparator, msg::kNewProjectCaption, MbIcon::Warning});
        return;
    }
    m_strName = StripTypedExtension(m_strName, "TIK");
    m_strProjectDir = JoinFolder(m_strLocation, m_strName);
    const DialogMessage exists{msg::kNewProjectExists, msg::kNewProjectCaption, MbIcon::Warning};
    if (FolderHasEntryNoCase(m_strLocation, m_strName)) {
        ShowMessage(exists);
        return;
    }
    if (::mkdir(m_strProjectDir.c_str(), 0777) != 0) {
        ShowMessage(errno == EEXIST ? exists
                                    : DialogMessage{CannotCreate(m_strProjectDir), msg::kNewProjectCaption,
                                                    MbIcon::Warning});
        return;
    }
    const std::string file = GetProjectFile();
    if (!CreateEmptyFile(file)) {
        // Leave nothing behind: the folder was made for this project a moment ago.
        ::rmdir(m_strProjectDir.c_str());
        ShowMessage({CannotCreate(file), msg::kNewProjectCaption, MbIcon::Warning});
        return;
    }
    EndDialog(IDOK);
}

// Splash -----------------------------------------------------------------------------

CSplashDlg::CSplashDlg() : CDialogModel(134, "", 183, 133) {
    SetNoCaption();
    AddPicture(kPicture, {0, 0, 183, 133}).sunken = true;
}

}  // namespace wv
