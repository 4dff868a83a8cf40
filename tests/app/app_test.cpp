// The application object: start-up and shutdown, the project-level commands, the recent
// projects, one project at a time, and the tree's open requests.
#include "core/command_ids.h"
#include "app/wavora_app.h"
#include "app_test_util.h"
#include "core/calc_progress.h"
#include "core/shell_commands.h"
#include "core/tik_inf.h"
#include "platform/command_table.h"
#include "platform/file_lock.h"
#include "platform/sysver.h"
#include "platform/ui_service.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {
namespace {

using apptest::Bytes;
using apptest::CopyBay;
using apptest::FakeHost;
using apptest::Here;
using apptest::WriteFile;
namespace fs = std::filesystem;

void WriteScript(const std::string& path, const std::string& body) {
    WriteFile(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

class App : public ::testing::Test {
protected:
    void SetUp() override {
        ScopedUiInstall();
        WriteFile(Here() + "/SYSVER.DAT", "V1.2\r\n");
    }
    void ScopedUiInstall() { SetUi(&ui); }
    void TearDown() override {
        app.reset();
        SetUi(nullptr);
    }
    CWavoraApp& Start() {
        app = std::make_unique<CWavoraApp>(host);
        EXPECT_TRUE(app->InitInstance());
        ui.Clear();
        return *app;
    }
    int CountMessages(const std::string& text) const {
        int n = 0;
        for (const auto& m : ui.Messages()) n += m.text.find(text) != std::string::npos;
        return n;
    }
    bool Enabled(int id) { return app->QueryCommand(id).m_bEnabled; }

    ScriptedUi ui;
    FakeHost host;
    std::unique_ptr<CWavoraApp> app;
};

TEST_F(App, SecondInstanceEndsBeforeAnyWindowOrFile) {
    host.lockOk = false;
    CWavoraApp second(host);
    EXPECT_FALSE(second.InitInstance());
    EXPECT_FALSE(host.windowCreated);
    EXPECT_TRUE(ui.Messages().empty()) << "without a word";
    EXPECT_FALSE(FileExists(Here() + "/CALC.DAT"));
}

TEST_F(App, UpdaterAtStartUpEndsItOnlyWithExitCodeThree) {
    struct Case {
        const char* what;
        int flag;
        const char* script;  // nullptr: no updater
        bool starts;
        bool ran;
    };
    const Case cases[] = {
        {"exit 3", 1, "echo \"$(basename \"$0\") $#\" > ran; exit 3\n", false, true},
        {"exit 0", 1, "echo \"$(basename \"$0\") $#\" > ran; exit 0\n", true, true},
        {"exit 1", 1, "echo \"$(basename \"$0\") $#\" > ran; exit 1\n", true, true},
        {"missing", 1, nullptr, true, false},
        {"flag off", 0, "echo \"$(basename \"$0\") $#\" > ran; exit 3\n", true, false},
        {"flag 2", 2, "echo \"$(basename \"$0\") $#\" > ran; exit 3\n", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileSilently(Here() + "/ran");
        DeleteFileSilently(Here() + "/Selfpatch");
        DeleteFileSilently(Here() + "/PARAINI.DAT");
        if (c.script) WriteScript(Here() + "/Selfpatch", c.script);
        FakeHost h;
        h.profile.WriteProfileInt("Settings", "VerCheckFlag", c.flag);
        {
            CWavoraApp a(h);
            EXPECT_EQ(a.InitInstance(), c.starts);
            EXPECT_EQ(h.windowCreated, c.starts) << "exit code 3 ends start-up before the window";
        }
        EXPECT_EQ(FileExists(Here() + "/ran"), c.ran);
        if (c.ran) {
            EXPECT_EQ(Bytes(Here() + "/ran"), "Selfpatch 0\n") << "its own name, no arguments";
        }
        EXPECT_EQ(FileExists(Here() + "/PARAINI.DAT"), c.starts) << "the defaults file belongs to the main frame";
    }
}

TEST_F(App, StartUpResetsTheBusyFlagUnlessARunHoldsItsLock) {
    WriteFile(Here() + "/CALC.DAT", "1\r\ntitle");
    {
        testsupport::LockHolder run(testsupport::FlockOn(Here() + "/CALC.DAT.lock"));
        ASSERT_TRUE(run.Held());
        CWavoraApp a(host);
        ASSERT_TRUE(a.InitInstance());
        EXPECT_EQ(Bytes(Here() + "/CALC.DAT"), "1\r\ntitle") << "another program's run keeps its flag";
        a.ExitInstance();
    }
    CWavoraApp a(host);
    ASSERT_TRUE(a.InitInstance());
    EXPECT_EQ(Bytes(Here() + "/CALC.DAT"), "0\r\n");
}

TEST_F(App, VersionTextAndAboutBox) {
    CWavoraApp& a = Start();
    EXPECT_EQ(g_strVersion, "V1.2");
    a.ExecuteCommand(ids::ID_APP_ABOUT);
    EXPECT_EQ(host.about, "ﾊﾞｰｼﾞｮﾝ V1.2");
    a.ExitInstance();
    app.reset();

    DeleteFileSilently(Here() + "/SYSVER.DAT");
    CWavoraApp b(host);
    ui.Clear();
    ASSERT_TRUE(b.InitInstance());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。");
    EXPECT_EQ(ui.Messages()[0].caption, "SYSVER");
    EXPECT_EQ(g_strVersion, "");
}

TEST_F(App, AStartFolderTooLongForTheSolverEndsStartUp) {
    std::string deep = Here();
    while (deep.size() <= 520) deep += "/folder_with_a_rather_long_name";
    fs::create_directories(deep);
    const std::string back = Here();
    ASSERT_EQ(::chdir(deep.c_str()), 0);
    CWavoraApp a(host);
    EXPECT_FALSE(a.InitInstance());
    EXPECT_EQ(CountMessages("512"), 1);
    ASSERT_EQ(::chdir(back.c_str()), 0);
}

bool MainMenuHasPlaceholder() {
    const MenuDef* menu = Commands().FindMenu(ids::IDR_MAINFRAME);
    bool dummy = false;
    if (menu)
        for (const MenuPopup& p : menu->popups)
            for (const MenuItem& i : p.items) dummy = dummy || i.id == ids::ID_DUMMY;
    return dummy;
}

TEST_F(App, MenusTemplatesAndShutdown) {
    // The command table is the process's own: a start-up in an earlier case took the
    // placeholder out already. Put it back as a fresh process has it.
    if (Commands().FindMenu(ids::IDR_MAINFRAME) && !MainMenuHasPlaceholder())
        Commands().InsertItem(ids::IDR_MAINFRAME, kMenuHelp, MenuItem::Command(ids::ID_DUMMY));
    CWavoraApp& a = Start();
    EXPECT_FALSE(MainMenuHasPlaceholder()) << "the placeholder leaves the Help menu at start-up";
    EXPECT_EQ(host.menusChanged, 1);
    EXPECT_EQ(a.m_pCalcTemplate->GetDocString(CDocTemplate::filterName), "Tyd ﾌｧｲﾙ (*.tyd)");
    EXPECT_EQ(a.m_pProjectTemplate->GetDocString(CDocTemplate::regFileTypeId), "Tik.Document");
    EXPECT_EQ(a.GetDocManager()->Templates().front().get(), a.m_pCalcTemplate) << "the calculation template first";
    EXPECT_EQ(a.GetMainFrame()->StatusBar().GetPaneText(0), "準備できてます・・・・・");
    EXPECT_FALSE(Enabled(ids::ID_RESULT_LIST)) << "no output-point list yet";
    EXPECT_FALSE(FileExists(Here() + "/PARAINI.DAT"));
    a.ExitInstance();
    EXPECT_TRUE(FileExists(Here() + "/PARAINI.DAT")) << "written in the shutdown step";
}

TEST_F(App, OpenCommandsFollowTheProjectAndMenusFollowActivation) {
    CWavoraApp& a = Start();
    const std::string bay = CopyBay(Here() + "/BAY");
    EXPECT_FALSE(Enabled(ids::ID_FILE_NEW));
    EXPECT_FALSE(Enabled(ids::ID_FILE_OPEN));
    EXPECT_EQ(a.GetMainFrame()->CurrentMenuId(), ids::IDR_MAINFRAME);

    ui.PushFileAnswer(bay + "/BAY.TIK");
    a.ExecuteCommand(ids::ID_OPEN_PROJECT);
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    const FileDialogOptions fileDialog = ui.FileDialogs()[0].fileDialog;
    EXPECT_EQ(fileDialog.title, "ﾌﾟﾛｼﾞｪｸﾄを開く");
    ASSERT_EQ(fileDialog.filters.size(), 1u);
    EXPECT_EQ(fileDialog.filters[0].first, "ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙ(*.TIK)");
    EXPECT_EQ(fileDialog.filters[0].second, "*.TIK");
    EXPECT_EQ(fileDialog.defaultExt, "Tik");
    EXPECT_EQ(a.m_strProjectName, "BAY");
    EXPECT_EQ(a.m_strProjectFolder, CanonicalPath(bay));
    EXPECT_TRUE(a.m_bProjectOpen);
    EXPECT_EQ(a.GetMainFrame()->CurrentMenuId(), ids::IDR_TIKTYPE);
    EXPECT_TRUE(Enabled(ids::ID_FILE_NEW));

    // Open shows the tree; choosing BAY1.TYD there opens it in its own window.
    a.ExecuteCommand(ids::ID_FILE_OPEN);
    CDataTreeDlg& tree = *a.GetMainFrame()->m_pTreeDlg;
    ASSERT_TRUE(tree.HasWindow());
    EXPECT_EQ(tree.Entries(), (std::vector<std::string>{"BAY.TIK", "BAY1.TYD"}));
    PostedMessages().DeliverPending();
    EXPECT_EQ(tree.Selected(), 0) << "the active project is selected";
    tree.OnSelChanged(1);
    PostedMessages().DeliverPending();
    ASSERT_EQ(a.m_pCalcTemplate->Documents().size(), 1u);
    EXPECT_EQ(a.GetMainFrame()->CurrentMenuId(), ids::IDR_TYDTYPE);
    EXPECT_EQ(a.GetMainFrame()->Children().size(), 2u);
    tree.OnSelChanged(-1);
    PostedMessages().DeliverPending();
    EXPECT_EQ(a.GetMainFrame()->Children().size(), 2u) << "the root opens nothing";
    a.GetMainFrame()->MDIActivate(a.GetMainFrame()->Children().front().get());
    EXPECT_EQ(a.GetMainFrame()->CurrentMenuId(), ids::IDR_TIKTYPE);
    PostedMessages().DeliverPending();
    EXPECT_EQ(tree.Selected(), 0) << "the tree follows the activation";
    // Open twice: one tree window.
    a.ExecuteCommand(ids::ID_FILE_OPEN);
    EXPECT_TRUE(tree.HasWindow());

    // A calculation file opens by its extension in any case; an open path is only activated.
    fs::copy_file(bay + "/BAY1.TYD", bay + "/COPY.tYd");
    fs::copy_file(bay + "/BAY1.DPT", bay + "/COPY.DPT");
    ASSERT_NE(a.OpenDocumentFile(bay + "/COPY.tYd"), nullptr);
    ASSERT_NE(a.OpenDocumentFile(bay + "/./BAY1.TYD"), nullptr);
    EXPECT_EQ(a.GetMainFrame()->Children().size(), 3u);

    a.ExecuteCommand(ids::ID_CLOSE_ALL);
    EXPECT_TRUE(a.GetDocManager()->Documents().empty());
    EXPECT_EQ(a.GetMainFrame()->CurrentMenuId(), ids::IDR_MAINFRAME);
    EXPECT_TRUE(Enabled(ids::ID_FILE_NEW)) << "stays enabled for the rest of the run";
    EXPECT_TRUE(Enabled(ids::ID_FILE_OPEN));
}

TEST_F(App, RecentProjectsKeepFourAndDropOneThatFails) {
    CWavoraApp& a = Start();
    std::vector<std::string> paths;
    for (int i = 1; i <= 5; ++i) {
        const std::string folder = Here() + "/P" + std::to_string(i);
        CopyBay(folder);
        fs::rename(folder + "/BAY.TIK", folder + "/P" + std::to_string(i) + ".TIK");
        paths.push_back(CanonicalPath(folder + "/P" + std::to_string(i) + ".TIK"));
        ASSERT_TRUE(a.OpenProject(paths.back()));
    }
    const CRecentFileList& mru = a.RecentProjects();
    EXPECT_EQ(mru.GetCount(), 4);
    EXPECT_EQ(mru[0], paths[4]);
    EXPECT_EQ(host.profile.GetProfileString("Recent File List", "File4"), paths[1]);
    EXPECT_EQ(a.m_pProjectTemplate->Documents().size(), 1u) << "one project at a time";

    a.ExecuteCommand(ids::ID_FILE_MRU_FILE1 + 2);  // P3
    EXPECT_EQ(mru[0], paths[2]);
    EXPECT_EQ(a.m_strProjectName, "P3");
    EXPECT_EQ(host.profile.GetProfileString("Recent File List", "File1"), paths[2]);
    EXPECT_EQ(a.QueryCommand(ids::ID_FILE_MRU_FILE1).m_strText, mru.GetDisplayName(0));

    // P4 is damaged now: its entry goes, and the open project stays P3.
    WriteFile(paths[3], "not a project");
    a.ExecuteCommand(ids::ID_FILE_MRU_FILE1 + 2);
    EXPECT_EQ(mru.GetCount(), 3);
    for (int i = 0; i < mru.GetCount(); ++i) EXPECT_NE(mru[i], paths[3]);
    EXPECT_EQ(host.profile.GetProfileString("Recent File List", "File4"), "");
    EXPECT_EQ(a.m_strProjectName, "P3");
    EXPECT_EQ(a.m_pProjectTemplate->Documents().size(), 1u);
    EXPECT_FALSE(Enabled(ids::ID_FILE_MRU_FILE1 + 3));
}

TEST_F(App, TwoProjectsDoNotOverwriteEachOther) {
    CWavoraApp& a = Start();
    const std::string folderA = CopyBay(Here() + "/A");
    fs::rename(folderA + "/BAY.TIK", folderA + "/A.TIK");
    const std::string fileA = CanonicalPath(folderA + "/A.TIK");
    const std::string fileB = CanonicalPath(Here() + "/B/B.TIK");
    WriteFile(fileB, "");  // a new project's empty file
    const std::string bytesA = Bytes(fileA);
    ASSERT_TRUE(a.OpenProject(fileA));
    ASSERT_NE(a.OpenDocumentFile(folderA + "/BAY1.TYD"), nullptr);
    CDocument* projectA = a.m_pProjectTemplate->Documents().front().get();
    projectA->SetModifiedFlag(true);
    const double northA = g_tikInf.m_dNorth;

    ui.PushAnswer(IDCANCEL);
    EXPECT_FALSE(a.OpenProject(fileB));
    EXPECT_EQ(a.m_strProjectName, "A") << "Cancel changes nothing";
    EXPECT_EQ(a.GetDocManager()->Documents().size(), 2u);
    EXPECT_TRUE(projectA->IsModified());
    EXPECT_EQ(CountMessages("A.TIK への変更を保存しますか?"), 1);

    ui.Clear();
    ui.PushAnswer(IDNO);
    EXPECT_TRUE(a.OpenProject(fileB));
    EXPECT_EQ(a.m_strProjectName, "B");
    ASSERT_EQ(a.GetDocManager()->Documents().size(), 1u) << "A and its calculation are closed";
    EXPECT_EQ(Bytes(fileA), bytesA);
    EXPECT_EQ(g_tikInf.m_dNorth, CTik_Inf().m_dNorth) << "B is a new, empty project";
    (void)northA;

    a.ExecuteCommand(ids::ID_SAVE_ALL);
    EXPECT_EQ(Bytes(fileA), bytesA) << "Save All writes only B";
    EXPECT_GT(Bytes(fileB).size(), 0u);
}

TEST_F(App, FailedOpenOfAnotherProjectKeepsTheOpenOne) {
    CWavoraApp& a = Start();
    const std::string bay = CopyBay(Here() + "/BAY");
    ASSERT_TRUE(a.OpenProject(bay + "/BAY.TIK"));
    const int points = static_cast<int>(g_tikInf.m_dNorth * 1000);
    WriteFile(Here() + "/BAD/BAD.TIK", "\x01\x02\x03");
    EXPECT_FALSE(a.OpenProject(Here() + "/BAD/BAD.TIK"));
    EXPECT_EQ(a.m_strProjectName, "BAY");
    EXPECT_EQ(a.RecentProjects().GetCount(), 1) << "no recent entry for a failed open";
    EXPECT_EQ(a.m_pProjectTemplate->Documents().size(), 1u);
    EXPECT_EQ(static_cast<int>(g_tikInf.m_dNorth * 1000), points);
}

TEST_F(App, TreeOpenPostedDuringAProgressPumpRunsAfterIt) {
    CWavoraApp& a = Start();
    const std::string bay = CopyBay(Here() + "/BAY");
    ASSERT_TRUE(a.OpenProject(bay + "/BAY.TIK"));
    a.ExecuteCommand(ids::ID_FILE_OPEN);
    PostedMessages().DeliverPending();
    CDataTreeDlg& tree = *a.GetMainFrame()->m_pTreeDlg;
    {
        CTestCalcProgressDlg progress;
        tree.OnSelChanged(1);
        a.ExecuteCommand(ids::ID_CLOSE_ALL);
        a.OnDropFiles({bay + "/BAY1.TYD"});
        progress.PumpMessages();
        EXPECT_EQ(PostedMessages().DeliverPending(), 0u);
        EXPECT_TRUE(a.m_pCalcTemplate->Documents().empty()) << "nothing opens under the pump";
        EXPECT_EQ(a.GetDocManager()->Documents().size(), 1u) << "nothing closes under it";
        progress.DestroyWindow();
    }
    PostedMessages().DeliverPending();
    // In order: the tree's open, Close All, then the drop.
    ASSERT_EQ(a.GetDocManager()->Documents().size(), 1u);
    EXPECT_EQ(a.GetDocManager()->Documents().front()->GetTitle(), "BAY1.TYD");
}

TEST_F(App, DroppedProjectTakesTheProjectPath) {
    CWavoraApp& a = Start();
    const std::string bay = CopyBay(Here() + "/BAY");
    a.OnDropFiles({bay + "/BAY.TIK", bay + "/BAY1.TYD"});
    EXPECT_TRUE(a.GetDocManager()->Documents().empty()) << "handled after the drop";
    PostedMessages().DeliverPending();
    EXPECT_EQ(a.m_strProjectName, "BAY");
    EXPECT_EQ(a.GetDocManager()->Documents().size(), 2u);
    EXPECT_EQ(a.RecentProjects().GetCount(), 1);
}

TEST_F(App, HelpDocumentsAndTheUpdateHistory) {
    CWavoraApp& a = Start();
    a.ExecuteCommand(ids::ID_HELP_FINDER);
    EXPECT_EQ(CountMessages("PDFファイルを開けません。"), 1) << "missing";
    EXPECT_TRUE(host.opened.empty());
    WriteFile(Here() + "/wavora.pdf", "%PDF");
    WriteFile(Here() + "/商品概説.pdf", "%PDF");
    a.ExecuteCommand(ids::ID_HELP_FINDER);
    a.ExecuteCommand(ids::ID_HELP_OVERVIEW);
    ASSERT_EQ(host.opened.size(), 2u);
    EXPECT_EQ(host.opened[1], StartFolderFile("商品概説.pdf"));
    host.shellResult = false;
    a.ExecuteCommand(ids::ID_HELP_FINDER);
    EXPECT_EQ(CountMessages("PDFファイルを開けません。"), 2) << "the desktop could not open it";
    EXPECT_EQ(ui.Messages().back().caption, "PDF");

    host.opened.clear();
    ui.Clear();
    a.ExecuteCommand(ids::ID_UPDATE_HISTORY);
    EXPECT_EQ(CountMessages("FILE OPEN ERROR"), 1);
    WriteFile(Here() + "/Selfpatch.inf", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
    a.ExecuteCommand(ids::ID_UPDATE_HISTORY);
    EXPECT_EQ(CountMessages("FILE OPEN ERROR"), 2) << "fewer than seven lines";
    EXPECT_EQ(ui.Messages().back().caption, "INF");
    WriteFile(Here() + "/Selfpatch.inf", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n  history.pdf  extra\r\n8\r\n");
    a.ExecuteCommand(ids::ID_UPDATE_HISTORY);
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0], StartFolderFile("history.pdf"));
}

TEST_F(App, UpdaterCommandAndItsStartUpSwitch) {
    CWavoraApp& a = Start();
    EXPECT_EQ(a.QueryCommand(ids::ID_UPDATE_AT_START).m_nCheck, 0);
    a.ExecuteCommand(ids::ID_UPDATE_AT_START);
    EXPECT_EQ(host.profile.GetProfileInt("Settings", "VerCheckFlag", 0), 1);
    EXPECT_EQ(a.QueryCommand(ids::ID_UPDATE_AT_START).m_nCheck, 1);
    host.profile.WriteProfileInt("Settings", "VerCheckFlag", 5);
    a.ExecuteCommand(ids::ID_UPDATE_AT_START);
    EXPECT_EQ(host.profile.GetProfileInt("Settings", "VerCheckFlag", 1), 0) << "any nonzero value becomes 0";

    const std::string bay = CopyBay(Here() + "/BAY");
    ASSERT_TRUE(a.OpenProject(bay + "/BAY.TIK"));
    a.m_pProjectTemplate->Documents().front()->SetModifiedFlag(true);
    ui.Clear();
    a.ExecuteCommand(ids::ID_CHECK_UPDATE);
    ASSERT_EQ(ui.Messages().size(), 1u) << "a missing updater is said clearly, nothing asked";
    EXPECT_NE(ui.Messages()[0].text.find("Selfpatch"), std::string::npos);
    EXPECT_EQ(host.quitCode, -1);
    EXPECT_TRUE(a.m_pProjectTemplate->Documents().front()->IsModified());
    const std::string before = Bytes(bay + "/BAY.TIK");
    WriteScript(Here() + "/Selfpatch", "[ \"$1\" = /update ] && exit 3\nexit 0\n");
    ui.Clear();
    ui.PushAnswer(IDCANCEL);
    a.ExecuteCommand(ids::ID_CHECK_UPDATE);
    EXPECT_EQ(host.quitCode, -1) << "Cancel in the save question stops it";
    ui.PushAnswer(IDNO);
    a.ExecuteCommand(ids::ID_CHECK_UPDATE);
    EXPECT_EQ(host.quitCode, 0);
    EXPECT_TRUE(FileExists(Here() + "/PARAINI.DAT"));
    EXPECT_EQ(Bytes(bay + "/BAY.TIK"), before);
}

TEST_F(App, NewProjectAndNewCalculationThroughTheirDialogs) {
    CWavoraApp& a = Start();
    fs::create_directories(Here() + "/NEWP");
    a.ExecuteCommand(ids::ID_NEW_PROJECT);  // cancelled
    EXPECT_FALSE(a.m_bProjectOpen);
    ui.PushFileAnswer(Here() + "/NEWP/NEWP.TIK");
    a.ExecuteCommand(ids::ID_NEW_PROJECT);
    EXPECT_TRUE(a.m_bProjectOpen);
    EXPECT_EQ(a.m_strProjectName, "NEWP");
    EXPECT_EQ(Bytes(Here() + "/NEWP/NEWP.TIK"), "") << "created empty, opened as a new project";

    a.ExecuteCommand(ids::ID_FILE_OPEN);
    PostedMessages().DeliverPending();
    CDataTreeDlg& tree = *a.GetMainFrame()->m_pTreeDlg;
    EXPECT_EQ(tree.GetCount(), 1);
    ui.PushFileAnswer(Here() + "/NEWP/C1.TYD");
    a.ExecuteCommand(ids::ID_FILE_NEW);
    EXPECT_EQ(ui.FileDialogs().back().fileDialog.initialFolder, CanonicalPath(Here() + "/NEWP"));
    ASSERT_EQ(a.m_pCalcTemplate->Documents().size(), 1u);
    PostedMessages().DeliverPending();
    EXPECT_EQ(tree.Entries(), (std::vector<std::string>{"NEWP.TIK", "C1.TYD"})) << "the tree rebuilt its list";

    // The dialogs of their own part take over through the hooks.
    std::string askedFolder;
    CWavoraApp::SetNewCalcDialog([&](const std::string& folder, std::string& path) {
        askedFolder = folder;
        path = Here() + "/NEWP/C1.TYD";
        return true;
    });
    a.ExecuteCommand(ids::ID_FILE_NEW);
    EXPECT_EQ(askedFolder, a.m_strProjectFolder);
    EXPECT_EQ(a.m_pCalcTemplate->Documents().size(), 1u) << "a file open already is only activated";
    CWavoraApp::SetNewProjectDialog([&](NewProjectChoice& c) {
        fs::create_directories(Here() + "/OTHER");
        c.folder = Here() + "/OTHER";
        c.name = "OTHER";
        return true;
    });
    a.ExecuteCommand(ids::ID_NEW_PROJECT);
    EXPECT_EQ(a.m_strProjectName, "OTHER");
    EXPECT_TRUE(FileExists(Here() + "/OTHER/OTHER.TIK"));
    EXPECT_EQ(a.GetDocManager()->Documents().size(), 1u);
    CWavoraApp::SetNewCalcDialog(nullptr);
    CWavoraApp::SetNewProjectDialog(nullptr);
}

// The output-point result list arrives with its own part; the frame only routes to it.
class FakeResultList : public ResultListProvider {
public:
    bool IsCalcView(CView* view) const override {
        return view && view->GetDocument() && view->GetDocument()->GetDocTemplate() &&
               view->GetDocument()->GetDocTemplate()->GetDocString(CDocTemplate::docName) == "Tyd";
    }
    bool HasWindow() const override { return window; }
    void Activate() override { ++activated; }
    void ShowFor(CView* view) override {
        owner = view;
        window = true;
    }
    void Reopen() override { window = true; }
    bool Post(unsigned) override { return window; }
    void ClearAllOwners() override { ++cleared; }
    bool window = false;
    int activated = 0, cleared = 0;
    CView* owner = nullptr;
};

TEST_F(App, ResultListOnlyForACalculationView) {
    CWavoraApp& a = Start();
    const std::string bay = CopyBay(Here() + "/BAY");
    ASSERT_TRUE(a.OpenProject(bay + "/BAY.TIK"));
    FakeResultList list;
    a.GetMainFrame()->SetResultListProvider(&list);
    EXPECT_TRUE(Enabled(ids::ID_RESULT_LIST));
    a.ExecuteCommand(ids::ID_RESULT_LIST);
    EXPECT_FALSE(list.window) << "a project view does not own the list";
    ASSERT_NE(a.OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
    a.ExecuteCommand(ids::ID_RESULT_LIST);
    ASSERT_TRUE(list.window);
    EXPECT_EQ(list.owner, a.GetMainFrame()->MDIGetActive()->GetActiveView());
    EXPECT_EQ(a.GetMainFrame()->m_pResultView, list.owner);
    a.ExecuteCommand(ids::ID_RESULT_LIST);
    EXPECT_EQ(list.activated, 1) << "a list already shown is activated";

    PostMessage(a.GetMainFrame(), WM_RESULTLIST_CLOSED, 0, 0);
    PostedMessages().DeliverPending();
    EXPECT_EQ(list.cleared, 0) << "a calculation view clears its own flag";
    a.GetMainFrame()->MDIActivate(a.GetMainFrame()->Children().front().get());
    PostMessage(a.GetMainFrame(), WM_RESULTLIST_CLOSED, 0, 0);
    PostedMessages().DeliverPending();
    EXPECT_EQ(list.cleared, 1);
    a.ExecuteCommand(ids::ID_CLOSE_ALL);
    EXPECT_EQ(a.GetMainFrame()->OnResultListClosed(), -1) << "no active document";
    a.GetMainFrame()->SetResultListProvider(nullptr);
}

}  // namespace
}  // namespace wv
