// The data-selection tree's list, its order, its selection and what it posts.
#include "app/data_tree.h"
#include "app_test_util.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace wv {
namespace {

using apptest::WriteFile;

class Owner : public CMsgTarget {
public:
    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        if (message == WM_TREE_OPEN) opens.push_back({wParam, lParam});
        return 0;
    }
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> opens;
};

class Host : public DataTreeHost {
public:
    void CreateWindow() override { ++created; }
    void DestroyWindow() override { ++destroyed; }
    void ActivateWindow() override {}
    void MoveTo(int l, int t) override {
        left = l;
        top = t;
    }
    void GetPosition(int& l, int& t) const override {
        l = left;
        t = top;
    }
    void OwnerTopLeft(int& l, int& t) const override {
        l = 7;
        t = 9;
    }
    void ShowItems(const std::string& r, const std::vector<std::string>& c) override {
        root = r;
        children = c;
    }
    void SelectItem(int index) override { selected = index; }
    int created = 0, destroyed = 0, left = -5, top = -5, selected = -9;
    std::string root;
    std::vector<std::string> children;
};

class DataTree : public ::testing::Test {
protected:
    void SetUp() override {
        folder = apptest::Here() + "/PRJ";
        std::filesystem::create_directories(folder);
        tree.SetHost(&host);
        tree.SetActiveDocumentQuery([this] { return active; });
        tree.SetFolder(folder);
        tree.SetProjectName("PRJ");
    }
    void Deliver() { PostedMessages().DeliverPending(); }
    std::string folder;
    std::string active;
    Owner owner;
    MemoryProfile profile;
    Host host;
    CDataTreeDlg tree{&owner, profile};
};

TEST_F(DataTree, OnlyTheRootWithoutAProjectFile) {
    WriteFile(folder + "/A.TYD", "x");
    tree.CreateTree();
    EXPECT_EQ(host.created, 1);
    EXPECT_EQ(host.root, "ﾌﾟﾛｼﾞｪｸﾄ(PRJ)");
    EXPECT_TRUE(host.children.empty());
    EXPECT_EQ(tree.Selected(), CDataTreeDlg::kNoSelection) << "nothing is selected";
    Deliver();
    EXPECT_TRUE(owner.opens.empty());
    // A stored position with a negative value is not used: the owner's corner is.
    EXPECT_EQ(host.left, 7);
    EXPECT_EQ(host.top, 9);
}

TEST_F(DataTree, ProjectFirstThenCalculationsInByteOrder) {
    WriteFile(folder + "/prj.tik", "");  // any case of "<project>.Tik"
    for (const char* name : {"b.Tyd", "B.TYD", "a.tyd", "亜.Tyd", "ｱ.Tyd", "notes.txt", "X.TYDX"})
        WriteFile(folder + "/" + name, "");
    std::filesystem::create_directories(folder + "/dir.TYD");
    tree.CreateTree();
    EXPECT_EQ(tree.Entries(), (std::vector<std::string>{"prj.tik", "B.TYD", "a.tyd", "b.Tyd", "ｱ.Tyd", "亜.Tyd"}));
    ASSERT_EQ(host.children.size(), 6u);
    EXPECT_EQ(host.children[0], " [地形データ] prj.tik");
    EXPECT_EQ(host.children[1], " [屈折データ] B.TYD");
    EXPECT_EQ(tree.GetEntryName(5), "亜.Tyd");
    EXPECT_EQ(tree.GetEntryName(6), "");
    // A single-byte katakana sorts before any double-byte character, as the runtime's
    // multibyte compare ordered them.
    EXPECT_LT(MbsCompare(Utf8ToCp932("ｱ"), Utf8ToCp932("亜")), 0);
    EXPECT_GT(MbsCompare("ab", "a"), 0);
    EXPECT_EQ(MbsCompare("", ""), 0);
}

TEST_F(DataTree, AHundredAndFiftyCalculationsListNinetyNine) {
    WriteFile(folder + "/PRJ.Tik", "");
    for (int i = 0; i < 150; ++i) WriteFile(folder + "/C" + std::to_string(1000 + i) + ".TYD", "");
    tree.CreateTree();
    ASSERT_EQ(tree.GetCount(), 100);
    EXPECT_EQ(tree.GetEntryName(1), "C1000.TYD");
    EXPECT_EQ(tree.GetEntryName(99), "C1098.TYD");
}

TEST_F(DataTree, SelectionFollowsTheActiveDocumentByFullPath) {
    WriteFile(folder + "/PRJ.Tik", "");
    WriteFile(folder + "/ONE.TYD", "");
    WriteFile(apptest::Here() + "/ELSEWHERE/ONE.TYD", "");
    tree.CreateTree();
    // With no active document the root is selected, and the owner hears of it.
    EXPECT_EQ(host.selected, -1);
    Deliver();
    ASSERT_EQ(owner.opens.size(), 1u);
    EXPECT_EQ(owner.opens[0].second, -1);

    active = apptest::Here() + "/ELSEWHERE/ONE.TYD";
    tree.SyncSelection();
    EXPECT_EQ(tree.Selected(), -1) << "a file of the same name in another folder is not listed";
    active = folder + "/../PRJ/one.tyd";
    tree.SyncSelection();
    EXPECT_EQ(tree.Selected(), -1) << "names differing in case are different files here";
    active = folder + "/../PRJ/ONE.TYD";
    tree.SyncSelection();
    EXPECT_EQ(tree.Selected(), 1);
    EXPECT_EQ(host.selected, 1);
    tree.SyncSelection();
    Deliver();
    ASSERT_EQ(owner.opens.size(), 2u) << "re-selecting the same entry posts nothing";
    EXPECT_EQ(owner.opens[1], std::make_pair(tree.Generation(), std::intptr_t{1}));

    // The user's choice goes the same way; a rebuild makes earlier indexes stale.
    tree.OnSelChanged(0);
    const auto before = tree.Generation();
    PostMessage(&tree, WM_TREE_REFRESH, 0, 0);
    Deliver();
    EXPECT_NE(tree.Generation(), before);
    EXPECT_EQ(owner.opens[2].first, before);
}

TEST_F(DataTree, EscapeStoresThePositionEnterDoesNothing) {
    WriteFile(folder + "/PRJ.Tik", "");
    profile.WriteProfileInt("Position", "TreeDlgTop", 40);
    profile.WriteProfileInt("Position", "TreeDlgLeft", 300);
    tree.CreateTree();
    EXPECT_EQ(host.left, 300);
    EXPECT_EQ(host.top, 40);
    tree.OnOK();
    EXPECT_TRUE(tree.HasWindow());
    host.left = 123;
    host.top = 45;
    tree.OnCancel();
    EXPECT_FALSE(tree.HasWindow());
    EXPECT_EQ(host.destroyed, 1);
    EXPECT_EQ(profile.GetProfileInt("Position", "TreeDlgLeft", 0), 123);
    EXPECT_EQ(profile.GetProfileInt("Position", "TreeDlgTop", 0), 45);
    // Messages for a window that is gone change nothing.
    EXPECT_EQ(tree.WindowProc(WM_TREE_REFRESH, 0, 1), 0);
    tree.CreateTree();
    EXPECT_EQ(host.left, 123) << "shown again where it was closed";
}

}  // namespace
}  // namespace wv
