#include "calcdoc/calc_small_dlgs.h"

#include "calcdoc/calc_dialog_texts.h"
#include "platform/data_exchange.h"
#include "platform/files.h"

#include <algorithm>
#include <filesystem>

namespace wv {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

}  // namespace

CAcadVersionDlg::CAcadVersionDlg() : CDialogModel(164, dlgtext::kAcadCaption, 150, 56) {
    AddRadio(kR12, "R12", {14, 12, 60, 10}, true);
    AddRadio(k2000, "2000", {14, 28, 60, 10}, false);
    AddButton(IDOK, dlgtext::kOk, {93, 7, 50, 14});
    AddButton(IDCANCEL, dlgtext::kCancel, {93, 25, 50, 14});
}

void CAcadVersionDlg::DoDataExchange(CDataExchange& dx) { ExchangeRadio(dx, kR12, m_nVersion); }

CResultReadingDlg::CResultReadingDlg() : CDialogModel(162, dlgtext::kReadingCaption, 140, 36) {
    AddLabel(dlgtext::kPleaseWait, {20, 14, 110, 10});
}

CFileSaveDlg::CFileSaveDlg(std::string folder, std::string name, std::string title)
    : CDialogModel(0, std::move(title), 280, 170), m_strFolder(std::move(folder)), m_strName(std::move(name)) {
    if (!m_strFolder.empty() && m_strFolder.back() != '/') m_strFolder += '/';
    AddLabel(dlgtext::kSaveIn, {7, 9, 50, 8});
    AddEdit(kFolder, {60, 7, 213, 12}).readOnly = true;
    AddListBox(kFileList, {7, 25, 266, 90});
    AddLabel(dlgtext::kFileName, {7, 124, 66, 8});
    AddEdit(kFileName, {76, 122, 140, 12});
    AddLabel(dlgtext::kFileType, {7, 142, 66, 8});
    AddList(kFileType, {dlgtext::kTydFilter}, {76, 140, 140, 40});
    AddButton(IDOK, dlgtext::kSave, {223, 121, 50, 14});
    AddButton(IDCANCEL, dlgtext::kCancel, {223, 139, 50, 14});
}

std::vector<std::string> CFileSaveDlg::ListTydFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder.empty() ? "." : folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code fec;
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(fec) && HasExtensionNoCase(name, "TYD")) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CFileSaveDlg::OnInitDialog() {
    SetText(kFolder, m_strFolder);
    m_files = ListTydFiles(m_strFolder);
    DeleteAllRows(kFileList);
    for (const std::string& f : m_files) AddRow(kFileList, {f});
    SetIndex(kFileType, 0);
    SetText(kFileName, m_strName);
    GotoControl(kFileName);
}

void CFileSaveDlg::OnRowSelected(int id) {
    const int row = GetIndex(id);
    if (id == kFileList && row >= 0) SetText(kFileName, GetCell(kFileList, row, 0));
}

void CFileSaveDlg::OnRowDoubleClicked(int id) {
    OnRowSelected(id);
    if (id == kFileList) OnOK();
}

void CFileSaveDlg::OnOK() {
    std::string name = Trim(GetText(kFileName));
    if (name.empty()) {
        GotoControl(kFileName);
        return;
    }
    const auto refuse = [this](const char* text) {
        ShowMessage({text, Caption(), MbIcon::Warning});
        GotoControl(kFileName);
    };
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) {
        refuse(dlgtext::kNameHasSeparator);
        return;
    }
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
               c == '>' || c == '|';
    });
    if (name == "." || name == ".." || control) {
        refuse(dlgtext::kNameInvalid);
        return;
    }
    if (!HasExtensionNoCase(name, "TYD")) name += ".TYD";
    if (name.size() > 255) {
        refuse(dlgtext::kNameInvalid);
        return;
    }
    // Names are compared as Windows did, regardless of case: the listed file is the one
    // meant, spelt as it is on disk.
    const auto same = std::find_if(m_files.begin(), m_files.end(), [&](const std::string& f) { return EqualNoCase(f, name); });
    std::error_code ec;
    if (same == m_files.end() && std::filesystem::exists(std::filesystem::path(m_strFolder + name), ec)) {
        if (!std::filesystem::is_regular_file(std::filesystem::path(m_strFolder + name), ec)) {
            refuse(dlgtext::kNameIsFolder);
            return;
        }
    }
    const bool exists = same != m_files.end() || FileExists(m_strFolder + name);
    if (same != m_files.end()) name = *same;
    if (exists && ShowMessage({name + dlgtext::kOverwriteTail, Caption(), MbIcon::Warning}, MbButtons::YesNo) != IDYES) {
        GotoControl(kFileName);
        return;
    }
    m_strChosen = name;
    EndDialog(IDOK);
}

}  // namespace wv
