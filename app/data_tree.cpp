#include "app/data_tree.h"

#include "app/app_texts.h"
#include "platform/doc_template.h"
#include "platform/files.h"
#include "platform/text.h"

#include <algorithm>
#include <filesystem>

namespace wv {

namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

unsigned NextChar(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (IsLeadByte(b) && i < s.size()) return (b << 8) | static_cast<unsigned char>(s[i++]);
    return b;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace

int MbsCompare(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const unsigned x = NextChar(a, i);
        const unsigned y = NextChar(b, j);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

CDataTreeDlg::CDataTreeDlg(CMsgTarget* parent, CProfile& profile) : m_pParent(parent), m_profile(profile) {}

CDataTreeDlg::~CDataTreeDlg() = default;

void CDataTreeDlg::CreateTree() {
    if (m_bWindow) return;
    m_bWindow = true;
    if (m_host) m_host->CreateWindow();
    OnInitDialog();
}

std::string CDataTreeDlg::GetEntryName(int index) const {
    if (index < 0 || index >= GetCount()) return {};
    return m_names[static_cast<std::size_t>(index)];
}

std::string CDataTreeDlg::RootLabel() const {
    return std::string(apptext::kTreeRootPrefix) + m_strProjectName + apptext::kTreeRootSuffix;
}

std::vector<std::string> CDataTreeDlg::ChildLabels() const {
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < m_names.size(); ++i)
        labels.push_back((i == 0 ? apptext::kTreeProjectPrefix : apptext::kTreeCalcPrefix) + m_names[i]);
    return labels;
}

void CDataTreeDlg::OnInitDialog() {
    int top = m_profile.GetProfileInt("Position", "TreeDlgTop", -1);
    int left = m_profile.GetProfileInt("Position", "TreeDlgLeft", -1);
    if ((top < 0 || left < 0) && m_host) m_host->OwnerTopLeft(left, top);
    if (m_host) m_host->MoveTo(left, top);

    m_names.clear();
    ++m_generation;
    m_selected = kNoSelection;

    namespace fs = std::filesystem;
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(m_strFolder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fec;
        if (it->is_regular_file(fec)) files.push_back(it->path().filename().string());
    }
    // A name given in any case is the project's file ("BAY.TIK", "bay.tik"); the exact
    // spelling "<name>.Tik" is taken first when several are there.
    const std::string wanted = m_strProjectName + ".Tik";
    std::string project;
    if (std::find(files.begin(), files.end(), wanted) != files.end()) {
        project = wanted;
    } else {
        std::sort(files.begin(), files.end());
        for (const std::string& f : files)
            if (EqualNoCase(f, wanted)) {
                project = f;
                break;
            }
    }
    if (!project.empty()) {
        m_names.push_back(project);
        // Sorted by the names' CP932 bytes, as the Windows program compared them; names
        // that CP932 cannot tell apart keep their own byte order.
        std::vector<std::pair<std::string, std::string>> calcs;  // key, name
        for (const std::string& f : files)
            if (HasExtensionNoCase(f, "Tyd")) calcs.emplace_back(Utf8ToCp932(f), f);
        std::sort(calcs.begin(), calcs.end(), [](const auto& a, const auto& b) {
            const int c = MbsCompare(a.first, b.first);
            return c != 0 ? c < 0 : a.second < b.second;
        });
        for (const auto& c : calcs) {
            if (GetCount() >= kMaxEntries) break;
            m_names.push_back(c.second);
        }
    }
    if (m_host) m_host->ShowItems(RootLabel(), ChildLabels());
    if (m_names.empty()) return;
    SyncSelection();
}

void CDataTreeDlg::Select(int index) {
    if (m_host) m_host->SelectItem(index);
    OnSelChanged(index);
}

void CDataTreeDlg::OnSelChanged(int index) {
    if (index == m_selected) return;
    m_selected = index;
    PostMessage(m_pParent, WM_TREE_OPEN, m_generation, index);
}

void CDataTreeDlg::SyncSelection() {
    m_bSyncing = 1;
    const std::string active = m_activeDocument ? m_activeDocument() : std::string();
    m_bSyncing = 0;
    if (!m_bWindow) return;
    if (active.empty()) {
        Select(-1);
        return;
    }
    // The same name in another folder is another document.
    const std::string canonical = CanonicalPath(active);
    for (int i = 0; i < GetCount(); ++i) {
        if (CanonicalPath(Join(m_strFolder, m_names[static_cast<std::size_t>(i)])) == canonical) {
            Select(i);
            return;
        }
    }
}

void CDataTreeDlg::OnCancel() {
    if (!m_bWindow) return;
    int left = 0, top = 0;
    if (m_host) {
        m_host->GetPosition(left, top);
        m_profile.WriteProfileInt("Position", "TreeDlgTop", top);
        m_profile.WriteProfileInt("Position", "TreeDlgLeft", left);
        m_profile.Flush();
    }
    m_bWindow = false;
    // Entries of this list that were posted but not yet handled open nothing.
    ++m_generation;
    if (m_host) m_host->DestroyWindow();
}

long CDataTreeDlg::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != WM_TREE_REFRESH || !m_bWindow) return 0;
    if (lParam == 0)
        OnInitDialog();
    else
        SyncSelection();
    return 1;
}

}  // namespace wv
