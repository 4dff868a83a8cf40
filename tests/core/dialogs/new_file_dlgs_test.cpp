// The new-calculation-file and new-project dialogs in a scratch folder: names, existing
// files compared without case, separators, and creations that fail.
#include "core/new_file_dlgs.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace wv {
namespace {

namespace fs = std::filesystem;

TEST(NewFileNames, TypedExtensionAndFolderJoin) {
    struct Case { const char* typed; const char* ext; const char* name; };
    const Case cases[] = {
        {"a.b.TyD", "TYD", "a.b"}, {"abc.tyd", "TYD", "abc"},   {".tyd", "TYD", ".tyd"},
        {"abc.tydx", "TYD", "abc.tydx"}, {"abc.ty", "TYD", "abc.ty"}, {"abc.TIK", "TYD", "abc.TIK"},
        {"湾.Tik", "TIK", "湾"},   {"abc", "TYD", "abc"},        {"a.", "TYD", "a."},
    };
    for (const Case& k : cases) EXPECT_EQ(StripTypedExtension(k.typed, k.ext), k.name) << k.typed;
    EXPECT_EQ(JoinFolder("/", "p"), "/p");
    EXPECT_EQ(JoinFolder("/a/b/", "p"), "/a/b/p");
    EXPECT_EQ(JoinFolder("/a/b", "p"), "/a/b/p");
    EXPECT_EQ(JoinFolder("C:\\", "p"), "C:/p");
}

class NewFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::current_path() / ("new_files_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    std::string Dir() const { return m_dir.string(); }
    ScriptedUi m_ui;
    ScopedUi m_scope{&m_ui};
    fs::path m_dir;
};

TEST_F(NewFiles, NewTydCreatesAnEmptyFileInTheProjectFolder) {
    CNewTydDlg d;
    d.SetFolder(Dir());
    d.InitDialog();
    EXPECT_EQ(d.GetText(CNewTydDlg::kFolder), Dir());
    EXPECT_EQ(d.TakeFocusRequest(nullptr), CNewTydDlg::kName);
    d.Click(IDOK);  // no name: the dialog stays, silently
    EXPECT_EQ(d.Result(), 0);
    d.SetText(CNewTydDlg::kName, "a.b.TyD");
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.GetPath(), Dir() + "/a.b.TYD");
    EXPECT_EQ(FileSize(d.GetPath()), 0);
    EXPECT_TRUE(m_ui.Messages().empty());

    CNewTydDlg e;
    e.SetFolder(Dir() + "/");
    e.InitDialog();
    e.SetText(CNewTydDlg::kName, ".tyd");
    e.Click(IDOK);
    ASSERT_EQ(e.Result(), IDOK);
    EXPECT_EQ(e.GetPath(), Dir() + "/.tyd.TYD");
}

TEST_F(NewFiles, NewTydRefusesAnExistingNameInAnyCase) {
    { std::ofstream(m_dir / "ABC.tyd") << "keep"; }
    CNewTydDlg d;
    d.SetFolder(Dir());
    d.InitDialog();
    d.SetText(CNewTydDlg::kName, "abc");
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].text, "指定した名前のﾌｧｲﾙは、指定された位置に既に存在しています.");
    EXPECT_EQ(m_ui.Messages()[0].caption, "新規作成");
    EXPECT_EQ(m_ui.Messages()[0].icon, MbIcon::Warning);
    EXPECT_EQ(FileSize((m_dir / "ABC.tyd").string()), 4);
    EXPECT_FALSE(fs::exists(m_dir / "abc.TYD"));
}

TEST_F(NewFiles, NewTydRefusesSeparatorsAndReportsAFailedCreation) {
    for (const char* name : {"sub/x", "..\\x"}) {
        m_ui.Clear();
        CNewTydDlg d;
        d.SetFolder(Dir());
        d.InitDialog();
        d.SetText(CNewTydDlg::kName, name);
        d.Click(IDOK);
        EXPECT_EQ(d.Result(), 0) << name;
        EXPECT_EQ(m_ui.Messages().at(0).text, "名前に「\\」や「/」は使えません。");
    }
    m_ui.Clear();
    CNewTydDlg d;
    d.SetFolder(Dir() + "/gone");  // the project folder was removed meanwhile
    d.InitDialog();
    d.SetText(CNewTydDlg::kName, "x");
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(m_ui.Messages().at(0).text, Dir() + "/gone/x.TYD を作成できませんでした。");
    EXPECT_EQ(fs::directory_iterator(m_dir), fs::directory_iterator());
}

TEST_F(NewFiles, NewProjectMakesTheFolderAndTheEmptyProjectFile) {
    CNewProjectDlg d;
    d.InitDialog();
    d.SetText(CNewProjectDlg::kName, "Bay.tik");
    d.Click(IDOK);  // no location yet: stays, silently
    EXPECT_EQ(d.Result(), 0);
    d.Click(CNewProjectDlg::kBrowse);  // no browser: nothing happens
    EXPECT_EQ(d.GetText(CNewProjectDlg::kLocation), "");
    std::vector<std::string> choices{Dir()};
    d.m_chooseFolder = [&choices](std::string& folder) {
        if (choices.empty()) return false;
        folder = choices.back();
        choices.pop_back();
        return true;
    };
    d.Click(CNewProjectDlg::kBrowse);
    EXPECT_EQ(d.GetText(CNewProjectDlg::kLocation), Dir());
    d.Click(CNewProjectDlg::kBrowse);  // cancelled: the location stays
    EXPECT_EQ(d.GetText(CNewProjectDlg::kLocation), Dir());
    d.Click(IDOK);
    ASSERT_EQ(d.Result(), IDOK);
    EXPECT_EQ(d.GetName(), "Bay");
    EXPECT_EQ(d.GetFolder(), Dir() + "/Bay");
    EXPECT_EQ(d.GetProjectFile(), Dir() + "/Bay/Bay.TIK");
    EXPECT_EQ(FileSize(d.GetProjectFile()), 0);
    EXPECT_TRUE(m_ui.Messages().empty());
}

TEST_F(NewFiles, NewProjectRefusesAnExistingFolderInAnyCaseAndCleansUpAFailure) {
    fs::create_directories(m_dir / "BAY");
    CNewProjectDlg d;
    d.InitDialog();
    d.SetText(CNewProjectDlg::kName, "bay");
    d.SetText(CNewProjectDlg::kLocation, Dir() + "/");
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(m_ui.Messages().at(0).text, "指定した名前のﾌﾟﾛｼﾞｪｸﾄは、指定された位置に既に存在しています.");
    EXPECT_EQ(m_ui.Messages().at(0).caption, "ﾌﾟﾛｼﾞｪｸﾄの作成");
    EXPECT_FALSE(fs::exists(m_dir / "bay"));
    EXPECT_TRUE(fs::is_empty(m_dir / "BAY"));

    // A location that is a file: the folder cannot be made, and the message says where.
    { std::ofstream(m_dir / "plain") << "x"; }
    m_ui.Clear();
    d.SetText(CNewProjectDlg::kName, "p");
    d.SetText(CNewProjectDlg::kLocation, Dir() + "/plain");
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(m_ui.Messages().at(0).text, Dir() + "/plain/p を作成できませんでした。");

    // A folder name that fits but whose project file name is too long for the file
    // system: the folder is removed again.
    const std::string longName(253, 'w');
    m_ui.Clear();
    d.SetText(CNewProjectDlg::kName, longName);
    d.SetText(CNewProjectDlg::kLocation, Dir());
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(m_ui.Messages().at(0).text,
              Dir() + "/" + longName + "/" + longName + ".TIK を作成できませんでした。");
    EXPECT_FALSE(fs::exists(m_dir / longName));

    // At the root, the project folder joins without a second separator; "TMP" finds /tmp.
    m_ui.Clear();
    d.SetText(CNewProjectDlg::kName, "TMP");
    d.SetText(CNewProjectDlg::kLocation, "/");
    d.Click(IDOK);
    EXPECT_EQ(d.Result(), 0);
    EXPECT_EQ(d.GetFolder(), "/TMP");
    EXPECT_EQ(m_ui.Messages().at(0).text, "指定した名前のﾌﾟﾛｼﾞｪｸﾄは、指定された位置に既に存在しています.");
    EXPECT_FALSE(fs::exists("/TMP"));

    m_ui.Clear();
    d.SetText(CNewProjectDlg::kName, "a/b");
    d.Click(IDOK);
    EXPECT_EQ(m_ui.Messages().at(0).text, "名前に「\\」や「/」は使えません。");
}

}  // namespace
}  // namespace wv
