// The application's small dialogs: a new calculation file in the open project's folder,
// a new project (its folder and empty project file), and the splash window. The two
// "new" dialogs create an empty file and end with OK; the application then opens it
// through the matching document template, which takes a file of length 0 as a new
// document.
#pragma once

#include "platform/dialog_model.h"

#include <functional>
#include <string>

namespace wv {

// The name as typed without a trailing ".<ext>" (any case): cut only when the last dot
// stands after the first character and exactly three characters follow it.
std::string StripTypedExtension(const std::string& name, const std::string& ext);

// `folder` + `name` with one '/' between them, also when the folder ends in '/' or '\'.
std::string JoinFolder(const std::string& folder, const std::string& name);

// True when `folder` holds an entry named `name` regardless of case (ASCII letters), as
// Windows file names compare.
bool FolderHasEntryNoCase(const std::string& folder, const std::string& name);

class CNewTydDlg : public CDialogModel {
public:
    enum : int { kName = 1009, kFolder = 1008 };

    CNewTydDlg();

    void SetFolder(const std::string& folder) { m_strFolder = folder; }
    std::string GetPath() const { return m_strPath; }

    std::string m_strPath;    // the created file, UTF-8 path
    std::string m_strName;    // the name as typed, without ".TYD"
    std::string m_strFolder;  // the open project's folder

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override;
    void OnOK() override;
};

class CNewProjectDlg : public CDialogModel {
public:
    enum : int { kName = 1005, kLocation = 1006, kBrowse = 1007 };

    CNewProjectDlg();

    std::string GetFolder() const { return m_strProjectDir; }
    std::string GetName() const { return m_strName; }
    // The project file made in the new folder: folder/name.TIK.
    std::string GetProjectFile() const;

    std::string m_strProjectDir;  // location + name
    std::string m_strLocation;    // where the project folder is made
    std::string m_strName;        // the project name, without ".TIK"

    // The folder browser "参照(&F)" opens: true with the chosen folder, false when the
    // user cancels. The program sets it (the Qt folder dialog); without one the button
    // does nothing.
    std::function<bool(std::string& folder)> m_chooseFolder;

    void OnBrowse();

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override {}
    void OnClicked(int id) override;
    void OnOK() override;
};

// The start-up picture: a caption-less window filled by picture 132 with a sunken edge.
class CSplashDlg : public CDialogModel {
public:
    enum : int { kPicture = 132 };
    CSplashDlg();

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override {}
};

}  // namespace wv
