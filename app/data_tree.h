// The data-selection tree: the open project's file and the calculation files of its
// folder, as a tool window whose selection opens the file and follows the active
// document. This class is the window's logic; the widget (DataTreeHost) only shows the
// items and reports clicks.
#pragma once

#include "platform/profile.h"
#include "platform/window_messages.h"

#include <functional>
#include <string>
#include <vector>

namespace wv {

// Byte order of CP932 names as the multibyte compare of the Windows runtime gave it: a
// double-byte character counts as one value (lead byte × 256 + trail byte), so every
// single-byte character (half-width katakana included) sorts before every double-byte
// one. Negative, 0 or positive.
int MbsCompare(const std::string& cp932a, const std::string& cp932b);

class DataTreeHost {
public:
    virtual ~DataTreeHost() = default;
    virtual void CreateWindow() = 0;
    virtual void DestroyWindow() = 0;
    virtual void ActivateWindow() = 0;
    virtual void MoveTo(int left, int top) = 0;
    virtual void GetPosition(int& left, int& top) const = 0;
    // Top-left corner of the owner's window.
    virtual void OwnerTopLeft(int& left, int& top) const = 0;
    // The root and its children (no child: the root stays collapsed).
    virtual void ShowItems(const std::string& root, const std::vector<std::string>& children) = 0;
    // Selects an item without reporting it back: -1 the root, 0 and up a child.
    virtual void SelectItem(int index) = 0;
};

class CDataTreeDlg : public CMsgTarget {
public:
    static constexpr int kMaxEntries = 100;
    static constexpr int kNoSelection = -2;

    CDataTreeDlg(CMsgTarget* parent, CProfile& profile);
    ~CDataTreeDlg() override;

    void SetHost(DataTreeHost* host) { m_host = host; }
    DataTreeHost* GetHost() const { return m_host; }
    // How the tree asks its owner for the active document's path ("" for none).
    void SetActiveDocumentQuery(std::function<std::string()> query) { m_activeDocument = std::move(query); }

    void SetFolder(const std::string& folder) { m_strFolder = folder; }
    void SetProjectName(const std::string& name) { m_strProjectName = name; }
    const std::string& GetFolder() const { return m_strFolder; }
    const std::string& GetProjectName() const { return m_strProjectName; }

    // Creates the window (shown at once) and builds the list.
    void CreateTree();
    bool HasWindow() const { return m_bWindow; }
    std::string GetEntryName(int index) const;
    int GetCount() const { return static_cast<int>(m_names.size()); }
    const std::vector<std::string>& Entries() const { return m_names; }
    int IsSyncing() const { return m_bSyncing; }
    // Changes with every rebuild; a WM_TREE_OPEN carries it in wParam, so an index of an
    // earlier list opens nothing.
    std::uintptr_t Generation() const { return m_generation; }
    int Selected() const { return m_selected; }
    std::string RootLabel() const;
    std::vector<std::string> ChildLabels() const;

    // The window's events.
    void OnInitDialog();
    // The user selected an item (-1 the root): WM_TREE_OPEN is posted to the owner.
    void OnSelChanged(int index);
    // Selects the active document's entry (the root when there is none; no change when
    // it is not listed). Matches full paths, resolved.
    void SyncSelection();
    void OnOK() {}
    // "閉じる" or Escape: stores the position and destroys the window.
    void OnCancel();
    // The window went away some other way (its owner closed).
    void OnWindowDestroyed() { m_bWindow = false; }

    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

private:
    void Select(int index);

    CMsgTarget* m_pParent;
    CProfile& m_profile;
    DataTreeHost* m_host = nullptr;
    std::function<std::string()> m_activeDocument;
    int m_bSyncing = 0;
    bool m_bWindow = false;
    std::vector<std::string> m_names;  // UTF-8 file names; entry 0 the project file
    std::string m_strProjectName;
    std::string m_strFolder;
    std::uintptr_t m_generation = 0;
    int m_selected = kNoSelection;
};

}  // namespace wv
