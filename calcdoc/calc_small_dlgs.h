// The small windows of the calculation side: the AutoCAD version asked before a DXF
// output, the wait box while results load, and the Save As dialog of a calculation,
// which keeps the user in the document's folder.
#pragma once

#include "platform/dialog_model.h"

#include <string>
#include <vector>

namespace wv {

// Template 164, "AutoCADのﾊﾞｰｼﾞｮﾝ": m_nVersion 0 "R12", 1 "2000", -1 none chosen.
//   view: dlg.m_nVersion = m_nDxfConverter; run it; on IDOK m_nDxfConverter = dlg.m_nVersion.
class CAcadVersionDlg : public CDialogModel {
public:
    enum : int { kR12 = 1087, k2000 = 1088 };
    CAcadVersionDlg();
    int m_nVersion = -1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

// Template 162, "計算結果ﾌｧｲﾙ読込中": "しばらくお待ちください", no buttons; shown
// modeless while the result file is read and destroyed after it.
class CResultReadingDlg : public CDialogModel {
public:
    CResultReadingDlg();

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnOK() override {}
    void OnCancel() override {}
};

// Save As of a calculation document ("名前を付けて保存"). The folder is fixed: the list
// shows the folder's .TYD files (the extension in any case; folders never), and a name
// is only a name: '/', '\', "." and ".." and other names that would leave the folder
// are refused. A name without the extension .TYD (any case) gets ".TYD". A name that
// matches a listed file regardless of case names that file, and replacing it is asked
// first.
//   view: CFileSaveDlg dlg(FolderOf(path), FileNameOf(path)); run it;
//         on IDOK save to dlg.GetPathName().
class CFileSaveDlg : public CDialogModel {
public:
    enum : int { kFolder = 1091, kFileList = 1120, kFileName = 1152, kFileType = 1136 };

    // `folder` ends in '/' (one is added when it does not); `name` is the name proposed.
    CFileSaveDlg(std::string folder, std::string name, std::string title = "名前を付けて保存");

    const std::string& GetFolder() const { return m_strFolder; }
    // After IDOK: the chosen file's full path; its name alone.
    std::string GetPathName() const { return m_strFolder + m_strChosen; }
    const std::string& GetFileName() const { return m_strChosen; }

    // The .TYD files of a folder, sorted; regular files only.
    static std::vector<std::string> ListTydFiles(const std::string& folder);

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override;
    void OnRowSelected(int id) override;
    void OnRowDoubleClicked(int id) override;
    void OnOK() override;

private:
    std::string m_strFolder;
    std::string m_strName;
    std::string m_strChosen;
    std::vector<std::string> m_files;
};

}  // namespace wv
