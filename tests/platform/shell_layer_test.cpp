// The layer under the windows: command routing and state, the command table, posted
// messages, status panes, scrolling, the recent list, documents with their views and
// templates, file patterns and starting a program.
#include "platform/cmd_target.h"
#include "platform/command_table.h"
#include "platform/doc_template.h"
#include "platform/document.h"
#include "platform/files.h"
#include "platform/frame.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "platform/recent_file_list.h"
#include "platform/scroll_model.h"
#include "platform/status_bar.h"
#include "platform/ui_service.h"
#include "platform/view.h"
#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace wv {
namespace {

// ---- commands ------------------------------------------------------------------------

class Target : public CCmdTarget {
public:
    explicit Target(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}
    void Handle(int id) { OnCommand(id, [this, id] { m_log.push_back(m_name + ":" + std::to_string(id)); }); }
    void Update(int id, bool enable, int check = 0) {
        OnUpdateCommandUI(id, [enable, check](CCmdUI& ui) {
            ui.Enable(enable);
            ui.SetCheck(check);
        });
    }
    void Range(int first, int last) {
        OnCommandRange(first, last, [this](int id) { m_log.push_back(m_name + ":range" + std::to_string(id)); });
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

TEST(CommandRouting, FirstTargetAlongTheChainTakesTheCommand) {
    std::vector<std::string> log;
    Target view("view", log), doc("doc", log), frame("frame", log), app("app", log);
    view.Handle(1);
    doc.Handle(1);
    doc.Handle(2);
    app.Handle(3);
    app.Update(3, false);
    frame.Update(4, true, 1);
    app.Range(10, 13);
    const std::vector<CCmdTarget*> chain = {&view, &doc, nullptr, &frame, &app};

    struct Case {
        int id;
        bool enabled;
        int check;
        bool runs;
        const char* logged;
    };
    const Case cases[] = {
        {1, true, 0, true, "view:1"},     // the view comes before its document
        {2, true, 0, true, "doc:2"},      // a handler without an update is enabled
        {3, false, 0, false, ""},         // disabled: does not run whatever sends it
        {4, true, 1, false, ""},          // an update handler alone: enabled, checked, nothing runs
        {5, false, 0, false, ""},         // nobody handles it: disabled
        {12, true, 0, true, "app:range12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        log.clear();
        const CCmdUI ui = QueryCommandState(chain, c.id);
        EXPECT_EQ(ui.m_bEnabled, c.enabled);
        EXPECT_EQ(ui.m_nCheck, c.check);
        EXPECT_EQ(RouteCommand(chain, c.id, nullptr), c.runs);
        EXPECT_EQ(log.empty() ? std::string() : log.front(), c.logged);
    }
}

TEST(CommandTable, RowsMenusAndToolbarsAreExtensible) {
    CommandTable t;
    t.Add({100, "A", "a", "", "", false});
    t.Add({100, "A2", "a2", "Ctrl+A", "", false});
    ASSERT_NE(t.Find(100), nullptr);
    EXPECT_EQ(t.Find(100)->text, "A2") << "a row of the same number replaces the old one";
    EXPECT_EQ(t.Rows().size(), 1u);
    EXPECT_EQ(t.Find(101), nullptr);

    t.Popup(128, "File").items = {MenuItem::Command(1), MenuItem::Command(3)};
    t.InsertItem(128, "File", MenuItem::Command(2), 3);
    t.InsertItem(128, "File", MenuItem::Command(4));
    t.InsertItem(128, "View", MenuItem::Command(5));
    MenuItem sub{MenuItem::Kind::Popup, 0, "Sub", {MenuItem::Command(3)}};
    t.InsertItem(128, "View", sub);
    const MenuDef* m = t.FindMenu(128);
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(m->popups.size(), 2u);
    std::vector<int> ids;
    for (const MenuItem& i : m->popups[0].items) ids.push_back(i.id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(t.RemoveItem(128, 3)) << "removed from the popup and the submenu";
    EXPECT_EQ(t.FindMenu(128)->popups[0].items.size(), 3u);
    EXPECT_TRUE(t.FindMenu(128)->popups[1].items[1].items.empty());
    EXPECT_FALSE(t.RemoveItem(128, 3));
    EXPECT_EQ(t.FindMenu(129), nullptr);

    t.Toolbar(128) = {1, 0, 2};
    t.Toolbar(128).push_back(7);
    EXPECT_EQ(*t.FindToolbar(128), (std::vector<int>{1, 0, 2, 7}));
}

// ---- posted messages -----------------------------------------------------------------

class Receiver : public CMsgTarget {
public:
    explicit Receiver(std::vector<std::string>& log, MessageQueue* repost = nullptr) : m_log(log), m_repost(repost) {}
    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        m_log.push_back(std::to_string(message - WM_APP) + "/" + std::to_string(wParam) + "/" + std::to_string(lParam));
        if (m_repost && message == WM_TREE_REFRESH) m_repost->Post(this, WM_TREE_OPEN, 9, 9);
        return 0;
    }

private:
    std::vector<std::string>& m_log;
    MessageQueue* m_repost;
};

TEST(PostedMessages, DeliveredInOrderAfterTheSenderAndHeldWhileAProgressPumps) {
    MessageQueue q;
    std::vector<std::string> log;
    int wakes = 0, afters = 0;
    bool hold = false;
    q.SetWakeUp([&] { ++wakes; });
    q.SetAfterEach([&] { ++afters; });
    q.SetHold([&] { return hold; });
    Receiver r(log, &q);
    auto gone = std::make_unique<Receiver>(log);

    EXPECT_FALSE(q.Post(nullptr, WM_TREE_OPEN, 0, 0));
    q.Post(&r, WM_TREE_OPEN, 1, -1);
    q.Post(gone.get(), WM_TREE_OPEN, 2, 2);
    q.PostCall([&] { log.push_back("call"); });
    q.Post(&r, WM_TREE_REFRESH, 0, 0);
    EXPECT_EQ(wakes, 4);
    EXPECT_TRUE(log.empty()) << "nothing runs while it is posted";
    gone.reset();

    hold = true;
    EXPECT_EQ(q.DeliverPending(), 0u);
    EXPECT_EQ(q.Size(), 4u);
    hold = false;
    EXPECT_EQ(q.DeliverPending(), 4u) << "the message to a receiver that is gone is dropped";
    EXPECT_EQ(log, (std::vector<std::string>{"10/1/-1", "call", "11/0/0", "10/9/9"}));
    EXPECT_EQ(afters, 4);
    EXPECT_TRUE(q.Empty());
}

// ---- status panes --------------------------------------------------------------------

TEST(StatusBar, IdleTextPromptsAndPanes) {
    CStatusBar bar;
    std::vector<int> changed;
    bar.SetOnChanged([&](int i) { changed.push_back(i); });
    bar.SetIndicators({{59144, "準備できてます・・・・・", "", true}, {59143, "", "99999999.999/99999999.999/-99.9", false}});
    EXPECT_EQ(bar.GetCount(), 2);
    EXPECT_EQ(bar.CommandToIndex(59143), 1);
    EXPECT_EQ(bar.CommandToIndex(59137), -1);
    EXPECT_EQ(bar.IdleText(), "準備できてます・・・・・");
    bar.ShowPrompt("作業中のﾌｧｲﾙを保存します");
    EXPECT_EQ(bar.GetPaneText(0), "作業中のﾌｧｲﾙを保存します");
    bar.ShowIdle();
    EXPECT_EQ(bar.GetPaneText(0), "準備できてます・・・・・");
    EXPECT_TRUE(bar.SetPaneText(1, "12.000/34.000/0.0"));
    EXPECT_TRUE(bar.SetPaneText(1, "12.000/34.000/0.0"));
    EXPECT_FALSE(bar.SetPaneText(2, "x"));
    EXPECT_EQ(changed, (std::vector<int>{0, 0, 1})) << "an unchanged text tells nobody";
}

// ---- scrolling -----------------------------------------------------------------------

TEST(ScrollModel, PositionStaysInRangeAndMousePointsScroll) {
    CScrollModel m;
    m.SetScrollSizes({1000, 800});
    m.SetClientSize({300, 200});
    EXPECT_EQ(m.GetPageSize(), (CSizeI{100, 80}));
    EXPECT_EQ(m.GetLineSize(), (CSizeI{10, 8}));
    struct Case {
        CPointI to, expect;
    };
    const Case cases[] = {
        {{50, 60}, {50, 60}}, {{-5, -1}, {0, 0}}, {{5000, 5000}, {700, 600}}, {{700, 600}, {700, 600}}};
    for (const Case& c : cases) {
        m.ScrollToPosition(c.to);
        EXPECT_EQ(m.GetScrollPosition(), c.expect);
    }
    m.ScrollToPosition({100, 100});
    EXPECT_EQ(m.ClientToLogical({5, 7}), (CPointI{105, 107}));
    EXPECT_EQ(m.LogicalToClient({105, 107}), (CPointI{5, 7}));
    m.ScrollByLines(1, -2);
    EXPECT_EQ(m.GetScrollPosition(), (CPointI{110, 84}));
    m.ScrollByPages(-5, 100);
    EXPECT_EQ(m.GetScrollPosition(), (CPointI{0, 600}));
    // A window larger than the total shows it all, unscrolled; growing the window
    // pulls the position back.
    m.SetClientSize({2000, 700});
    EXPECT_EQ(m.GetScrollPosition(), (CPointI{0, 100}));
    m.SetScrollSizes({10, 10}, {0, 0}, {0, 0});
    EXPECT_EQ(m.GetScrollPosition(), (CPointI{0, 0}));
    EXPECT_EQ(m.GetLineSize(), (CSizeI{1, 1}));
}

// ---- recent projects -----------------------------------------------------------------

TEST(RecentFileList, FourPlacesMostRecentFirstKeptInTheProfile) {
    MemoryProfile profile;
    CRecentFileList list(57616, "Recent File List", "File%d", 4, 30);
    for (const char* p : {"/p/A/A.TIK", "/p/B/B.TIK", "/p/C/C.TIK", "/p/D/D.TIK", "/p/E/E.TIK"}) list.Add(p);
    EXPECT_EQ(list.GetCount(), 4) << "five opens keep four";
    EXPECT_EQ(list[0], "/p/E/E.TIK");
    EXPECT_EQ(list[3], "/p/B/B.TIK");
    list.Add("/p/C/C.TIK");
    EXPECT_EQ(list[0], "/p/C/C.TIK") << "reopening moves the entry to the top";
    EXPECT_EQ(list[1], "/p/E/E.TIK");
    EXPECT_EQ(list.GetCount(), 4);
    list.WriteList(profile);
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File1"), "/p/C/C.TIK");
    EXPECT_EQ(profile.GetProfileString("Recent File List", "File4"), "/p/B/B.TIK");
    list.Remove(1);
    list.Remove(7);
    list.WriteList(profile);
    EXPECT_FALSE(profile.Has("Recent File List", "File4")) << "a dropped entry leaves the profile";

    CRecentFileList again(57616, "Recent File List", "File%d", 4, 30);
    profile.WriteProfileString("Recent File List", "File3", "/p/C/C.TIK");  // a duplicate
    again.ReadList(profile);
    EXPECT_EQ(again.GetCount(), 2);
    EXPECT_EQ(again[1], "/p/D/D.TIK");
    EXPECT_EQ(again[5], "");
    // A name an older list kept without its folder: from the folder the user started in.
    profile.WriteProfileString("Recent File List", "File4", "./sub/OLD.TIK");
    again.ReadList(profile);
    EXPECT_EQ(again[2], CallerFolder() + "sub/OLD.TIK");

    CRecentFileList names(57616, "s", "File%d", 4, 30);
    names.Add("/home/engineer/projects/coast/2026/bay/BAY.TIK");
    names.Add("/p/湾/湾.TIK");
    EXPECT_EQ(names.GetDisplayName(0), "&1 /p/湾/湾.TIK");
    EXPECT_EQ(names.GetDisplayName(1), "&2 /.../coast/2026/bay/BAY.TIK");
}

// ---- documents, views and templates --------------------------------------------------

class TextDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value;
        } else {
            int v = 0;
            ar >> v;
            if (v < 0) throw ArchiveError("negative");
            m_value = v;
        }
    }
    void DeleteContents() override { m_value = 0; }
    int m_value = 0;
};

class CountingView : public CView {
public:
    void OnUpdate(CView* sender, long hint) override {
        ++updates;
        lastHint = hint;
    }
    int updates = 0;
    long lastHint = -1;
};

std::string Bytes(const std::string& path) {
    std::string s;
    return ReadWholeFile(path, s, nullptr) ? s : "<missing>";
}

TEST(Document, ViewsHearOfChangesAndTheModifiedHookFires) {
    TextDoc doc;
    CountingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&a);
    EXPECT_EQ(doc.GetViews().size(), 2u);
    EXPECT_EQ(a.GetDocument(), &doc);
    doc.UpdateAllViews(&a, 7);
    EXPECT_EQ(a.updates, 0) << "the sender already knows";
    EXPECT_EQ(b.updates, 1);
    EXPECT_EQ(b.lastHint, 7);
    doc.UpdateAllViews(nullptr);
    EXPECT_EQ(a.updates, 1);

    int fired = 0;
    const int hook = doc.AddModifiedHook([&](CDocument& d) { fired += d.IsModified() ? 1 : 10; });
    doc.SetModifiedFlag(true);
    doc.SetModifiedFlag(true);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(fired, 11) << "only changes are told";
    doc.RemoveModifiedHook(hook);
    doc.SetModifiedFlag(true);
    EXPECT_EQ(fired, 11);
    {
        CountingView gone;
        doc.AddView(&gone);
    }
    EXPECT_EQ(doc.GetViews().size(), 2u) << "a view leaves its document when it goes";
}

TEST(Document, SaveQuestionBeforeClosing) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    ASSERT_TRUE(AtomicWriteFile("A.DAT", std::string("\x05\0\0\0", 4), nullptr));
    struct Case {
        int answer;
        bool closes;
        const char* bytesAfter;
    };
    const Case cases[] = {{IDCANCEL, false, "\x05"}, {IDNO, true, "\x05"}, {IDYES, true, "\x09"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ASSERT_TRUE(AtomicWriteFile("A.DAT", std::string("\x05\0\0\0", 4), nullptr));
        TextDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument("A.DAT"));
        EXPECT_TRUE(doc.SaveModified()) << "an unchanged document is not asked about";
        doc.m_value = 9;
        doc.SetModifiedFlag();
        ui.Clear();
        ui.PushAnswer(c.answer);
        EXPECT_EQ(doc.SaveModified(), c.closes);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, "A.DAT への変更を保存しますか?");
        EXPECT_EQ(ui.Messages()[0].buttons, MbButtons::YesNoCancel);
        EXPECT_EQ(Bytes("A.DAT"), std::string(c.bytesAfter) + std::string(3, '\0'));
    }
}

TEST(DocTemplate, OpensByExtensionInAnyCaseAndOnlyActivatesAnOpenPath) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    CMDIFrameWnd frame;
    CDocManager docs(frame);
    int views = 0;
    auto makeView = [&] {
        ++views;
        return std::make_unique<CView>();
    };
    docs.AddDocTemplate(std::make_unique<CDocTemplate>(129, "\nTyd\nTyd\nTyd ﾌｧｲﾙ (*.tyd)\n.tyd\nTyd.Document\nTyd Document",
                                                       [] { return std::make_unique<TextDoc>(); }, makeView));
    CDocTemplate* tik = docs.AddDocTemplate(std::make_unique<CDocTemplate>(
        137, "\nTik\nTik\nTik ﾌｧｲﾙ (*.tik)\n.tik\nTik.Document\nTik Document", [] { return std::make_unique<TextDoc>(); },
        makeView));
    EXPECT_EQ(tik->GetDocString(CDocTemplate::docName), "Tik");
    EXPECT_EQ(tik->GetDocString(CDocTemplate::filterName), "Tik ﾌｧｲﾙ (*.tik)");
    EXPECT_EQ(tik->GetDocString(CDocTemplate::regFileTypeName), "Tik Document");
    EXPECT_EQ(docs.FindTemplate("Tyd")->GetResourceId(), 129);
    EXPECT_EQ(docs.FindTemplate("Xyz"), nullptr);

    std::filesystem::create_directories("sub");
    ASSERT_TRUE(AtomicWriteFile("sub/One.tYd", std::string("\x01\0\0\0", 4), nullptr));
    ASSERT_TRUE(AtomicWriteFile("sub/Empty.TIK", std::string(), nullptr));
    ASSERT_TRUE(AtomicWriteFile("sub/Bad.TYD", std::string("\xff\xff\xff\xff", 4), nullptr));
    ASSERT_TRUE(AtomicWriteFile("sub/Other.txt", std::string("x"), nullptr));

    CDocument* one = docs.OpenDocumentFile("sub/One.tYd");
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->GetDocTemplate()->GetResourceId(), 129);
    EXPECT_EQ(one->GetPathName(), CanonicalPath("sub/One.tYd"));
    CDocument* empty = docs.OpenDocumentFile("sub/Empty.TIK");
    ASSERT_NE(empty, nullptr) << "an empty file opens as a new document";
    EXPECT_EQ(frame.MDIGetActive()->GetDocument(), empty);
    EXPECT_EQ(docs.OpenDocumentFile("./sub/../sub/One.tYd"), one) << "already open: only activated";
    EXPECT_EQ(frame.MDIGetActive()->GetDocument(), one);
    EXPECT_EQ(frame.Children().size(), 2u);
    EXPECT_EQ(views, 2);

    ui.Clear();
    EXPECT_EQ(docs.OpenDocumentFile("sub/Bad.TYD"), nullptr);
    EXPECT_EQ(docs.OpenDocumentFile("sub/Other.txt"), nullptr);
    EXPECT_EQ(docs.OpenDocumentFile("sub/Missing.TYD"), nullptr);
    EXPECT_EQ(ui.Messages().size(), 3u) << "each failure is reported";
    EXPECT_EQ(docs.Documents().size(), 2u) << "a failed open adds nothing";
    EXPECT_EQ(frame.Children().size(), 2u);

    docs.CloseDocument(one);
    EXPECT_EQ(docs.Documents().size(), 1u);
    EXPECT_EQ(frame.MDIGetActive()->GetDocument(), empty) << "the other window takes over";
    docs.CloseAllDocuments();
    EXPECT_EQ(frame.MDIGetActive(), nullptr);
    EXPECT_TRUE(frame.Children().empty());
}

// ---- file dialogs and programs -------------------------------------------------------

TEST(FilePatterns, WindowsFiltersMatchWithoutCase) {
    struct Case {
        const char* name;
        const char* patterns;
        bool match;
    };
    const Case cases[] = {
        {"BAY.TIK", "*.TIK", true},      {"bay.tik", "*.TIK", true},   {"BAY.Tik", "*.tik", true},
        {"BAY.TIKX", "*.TIK", false},    {"BAY.TYD", "*.TIK;*.TYD", true}, {"README", "*.*", true},
        {"BAY1.TYD", "BAY?.TYD", true},  {"BAY12.TYD", "BAY?.TYD", false}, {"a.b.tyd", "*.TYD", true},
        {"x", "", false},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchesFilePattern(c.name, c.patterns), c.match) << c.name << " " << c.patterns;

    ScriptedUi ui;
    FileDialogOptions fileDialog;
    fileDialog.title = "ﾌﾟﾛｼﾞｪｸﾄを開く";
    std::string path = "unchanged";
    EXPECT_FALSE(ui.FileDialog(fileDialog, path)) << "no answer: cancelled";
    EXPECT_EQ(path, "unchanged");
    ui.PushFileAnswer("/p/A.TIK");
    EXPECT_TRUE(ui.FileDialog(fileDialog, path));
    EXPECT_EQ(path, "/p/A.TIK");
    ui.PushFileAnswer("/p");
    EXPECT_TRUE(ui.FolderDialog("フォルダ", "/", path));
    ASSERT_EQ(ui.FileDialogs().size(), 3u);
    EXPECT_EQ(ui.FileDialogs()[0].fileDialog.title, "ﾌﾟﾛｼﾞｪｸﾄを開く");
    EXPECT_TRUE(ui.FileDialogs()[2].folder);
    HeadlessUi headless;
    EXPECT_FALSE(headless.FileDialog(fileDialog, path));
}

TEST(Process, ExitCodesAndProgramsThatAreNotThere) {
    const std::string folder = std::filesystem::current_path().string();
    ASSERT_TRUE(AtomicWriteFile(folder + "/Updater", std::string("#!/bin/sh\n[ \"$1\" = /update ] && exit 3\nexit 5\n"), nullptr));
    ::chmod((folder + "/Updater").c_str(), 0755);
    std::string err;
    EXPECT_EQ(RunProgramAndWait("Updater", {"Updater", "/update"}, folder, &err), 3);
    EXPECT_EQ(RunProgramAndWait("Updater", {"Updater"}, folder, &err), 5);
    EXPECT_EQ(RunProgramAndWait("Missing", {"Missing"}, folder, &err), -1);
    EXPECT_NE(err.find("Missing"), std::string::npos);
}

}  // namespace
}  // namespace wv
