// The project document: open, save, new and the refusal of damaged files.
#include "project/tik_doc.h"
#include "tik_test_util.h"

#include "core/line_chain.h"
#include "core/table_limits.h"
#include "platform/ui_service.h"
#include "support/english_words.h"

#include <filesystem>

namespace wv {
namespace {

using test::OpenProjectBytes;
using test::ProjectData;
using test::ReadBytes;
using test::WriteBytes;

class TikDoc : public ::testing::Test {
protected:
    void SetUp() override { ResetTikData(); }
    void TearDown() override { ResetTikData(); }

    // An open, modified project to damage.
    void OpenSmallModified(CTikDoc& doc) {
        ASSERT_TRUE(doc.OnOpenDocument(ProjectData("small_v8.TIK")));
        g_surveyPoints.Add(1234.5, 678.9, 0);
        doc.SetModifiedFlag();
    }
    // Opening `path` must fail, name the file, and leave the open project, the path and
    // the modified flag as they were.
    void ExpectRefused(CTikDoc& doc, const std::vector<std::uint8_t>& before,
                       const std::string& path) {
        ui.Clear();
        EXPECT_FALSE(doc.OnOpenDocument(path)) << path;
        EXPECT_EQ(OpenProjectBytes(), before) << path;
        EXPECT_EQ(doc.GetPathName(), ProjectData("small_v8.TIK"));
        EXPECT_TRUE(doc.IsModified());
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u) << path;
        EXPECT_NE(messages[0].text.find(path), std::string::npos) << messages[0].text;
        // The reason a file is refused for is Japanese, as the message is.
        EXPECT_EQ(testsupport::EnglishWords(messages[0].text), std::vector<std::string>()) << messages[0].text;
        EXPECT_EQ(doc.GetLastError(), messages[0].text);
    }
    void ExpectRefusedWithNothingChanged(const std::string& path) {
        CTikDoc doc;
        OpenSmallModified(doc);
        ExpectRefused(doc, OpenProjectBytes(), path);
    }

    ScriptedUi ui;
    ScopedUi scope{&ui};
};

TEST_F(TikDoc, DamagedAndMissingFilesAreRefusedWithNothingChanged) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ProjectData(""))) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("bad_", 0) != 0) continue;
        ExpectRefusedWithNothingChanged(entry.path().string());
        ++count;
    }
    EXPECT_GE(count, 20);
    ExpectRefusedWithNothingChanged("no_such_folder/NONE.TIK");
}

TEST_F(TikDoc, TruncatedFilesAreRefusedAtEveryLength) {
    const auto good = ReadBytes(ProjectData("small_v8.TIK"));
    const std::string path = "truncated.TIK";
    CTikDoc doc;
    OpenSmallModified(doc);
    const auto before = OpenProjectBytes();
    for (std::size_t n = 1; n < good.size(); ++n) {
        WriteBytes(path, std::vector<std::uint8_t>(good.begin(), good.begin() + n));
        ExpectRefused(doc, before, path);
        if (HasFailure()) break;
    }
}

TEST_F(TikDoc, EmptyFileAndNewDocumentGiveTheEmptyProject) {
    CTikDoc doc;
    OpenSmallModified(doc);
    WriteBytes("NEW.TIK", {});
    ASSERT_TRUE(doc.OnOpenDocument("NEW.TIK"));
    EXPECT_EQ(doc.GetPathName(), "NEW.TIK");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("empty_v8.TIK")));

    OpenSmallModified(doc);
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("empty_v8.TIK")));
}

TEST_F(TikDoc, SavedProjectReadsBackByteIdentical) {
    const std::string golden = ProjectData("small_v8_saved.TIK");
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(golden));
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument("SMALL.TIK"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "SMALL.TIK");
    EXPECT_EQ(doc.GetTitle(), "SMALL.TIK");
    EXPECT_EQ(ReadBytes("SMALL.TIK"), ReadBytes(golden));
}

// The output-point count follows the in-use flags, whatever count the file states, so
// that deleting a point never leaves a count the next open refuses.
TEST_F(TikDoc, OutputPointCountFollowsTheInUseFlags) {
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(ProjectData("small_v8_calc_count_zero.TIK")));
    EXPECT_EQ(g_calcPoints.GetCount(), 2);
    g_calcPoints.RemoveAt(0);
    g_calcPoints.RemoveAt(2);
    EXPECT_EQ(g_calcPoints.GetCount(), 0);
    ASSERT_TRUE(doc.OnSaveDocument("FLAGS.TIK"));
    ResetTikData();
    ASSERT_TRUE(doc.OnOpenDocument("FLAGS.TIK")) << doc.GetLastError();
    EXPECT_EQ(g_calcPoints.GetCount(), 0);
}

// A load that runs out of memory is refused like a damaged file: a message naming the
// file, and the open project as it was.
TEST_F(TikDoc, AllocationFailureDuringAnOpenChangesNothing) {
    class Starved : public CTikDoc {
    public:
        bool starve = false;
        void Serialize(CArchive& ar) override {
            if (starve && ar.IsLoading()) throw std::bad_alloc();
            CTikDoc::Serialize(ar);
        }
    };
    Starved doc;
    OpenSmallModified(doc);
    doc.starve = true;
    ExpectRefused(doc, OpenProjectBytes(), ProjectData("small_v8_saved.TIK"));
}

TEST_F(TikDoc, LargeProjectGrowsItsTablesAndSurvivesTheRoundTrip) {
    CTikDoc doc;
    for (int i = 0; i < 5002; ++i) g_surveyPoints.AddFromWithDepth(i, i * 0.5, i % 7, -i * 0.01, 0);
    for (int i = 0; i < 5001; ++i)
        g_lines.Add(i * 0.5, i % 7, (i + 1) * 0.5, (i + 1) % 7, 0, 0, 0, kLineDepth, i, i + 1);
    for (int i = 0; i < 11; ++i) g_blocks.Add(i, -i);
    g_lines.RemoveAt(17);
    g_surveyPoints.RemoveAt(4000);
    UpdatePointLineLinks(kLinksAll);
    ASSERT_TRUE(doc.OnSaveDocument("BIG.TIK"));
    const auto saved = ReadBytes("BIG.TIK");

    ResetTikData();
    ASSERT_TRUE(doc.OnOpenDocument("BIG.TIK"));
    EXPECT_EQ(g_surveyPoints.GetSlotCount(), 6000);
    EXPECT_EQ(g_surveyPoints.GetCount(), 5001);
    EXPECT_EQ(g_lines.GetSlotCount(), 6000);
    EXPECT_EQ(g_lines.GetCount(), 5000);
    EXPECT_EQ(g_blocks.GetCapacity(), 20);
    EXPECT_EQ(g_surveyPoints.GetAt(3999).GetLineCount(), 2);
    EXPECT_EQ(g_lines.GetAt(5000).GetEndPos(), CPointD(2500.5, 5001 % 7));
    EXPECT_EQ(OpenProjectBytes(), saved);
}

TEST_F(TikDoc, ProjectGrownAsFarAsItMayOpensAgain) {
    // The empty project whose point table grew to 4,195,000 slots: it opens and saves to
    // the same bytes.
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(ProjectData("empty_v8_points_4195000.TIK"))) << doc.GetLastError();
    EXPECT_EQ(g_surveyPoints.GetSlotCount(), kMaxTableSlots);
    EXPECT_EQ(g_surveyPoints.GetCount(), 0);
    EXPECT_EQ(OpenProjectBytes(), ReadBytes(ProjectData("empty_v8_points_4195000.TIK")));

    // A project of 4,194,001 points added to a new one fills its table to that size; the
    // next point is refused, and the project saves and opens with every point.
    ResetTikData();
    int last = -1;
    for (int i = 0; i < 4'194'001; ++i) last = g_surveyPoints.AddFrom(last + 1, i * 0.001, 1.5, 0);
    ASSERT_EQ(last, 4'194'000);
    ASSERT_EQ(g_surveyPoints.GetSlotCount(), 4'195'000);
    for (int i = last + 1; i < kMaxTableSlots; ++i) last = g_surveyPoints.AddFrom(last + 1, -1.0, i, 0);
    EXPECT_EQ(g_surveyPoints.Add(7.0, 7.0, 0), -1);
    ASSERT_TRUE(doc.OnSaveDocument("FULL.TIK"));
    ResetTikData();
    ASSERT_TRUE(doc.OnOpenDocument("FULL.TIK")) << doc.GetLastError();
    EXPECT_EQ(g_surveyPoints.GetCount(), kMaxTableSlots);
    EXPECT_EQ(g_surveyPoints.GetAt(4'194'000).GetPos(), CPointD(4'194'000 * 0.001, 1.5));
    EXPECT_EQ(g_surveyPoints.GetAt(kMaxTableSlots - 1).GetPos(), CPointD(-1.0, kMaxTableSlots - 1));
    std::filesystem::remove("FULL.TIK");
}

TEST_F(TikDoc, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(ProjectData("small_v8.TIK")));
    ASSERT_TRUE(doc.OnSaveDocument("KEEP.TIK"));
    const auto old = ReadBytes("KEEP.TIK");
    g_blocks.Add(1, 1);
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.OnSaveDocument("missing_folder/KEEP.TIK"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "KEEP.TIK");
    EXPECT_NE(doc.GetLastError().find("missing_folder/KEEP.TIK"), std::string::npos);
    EXPECT_EQ(ReadBytes("KEEP.TIK"), old);
}

// A project the user may not write is refused with the save-failure message and stays
// as it is; a saved project keeps its mode; a project reached by a link is saved into the
// link's target, and the link stays.
TEST_F(TikDoc, SavingRespectsReadOnlyFilesModesAndLinks) {
    namespace fs = std::filesystem;
    CTikDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(ProjectData("small_v8.TIK")));
    ASSERT_TRUE(doc.OnSaveDocument("RO.TIK"));
    const auto old = ReadBytes("RO.TIK");
    fs::permissions("RO.TIK", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    g_blocks.Add(1, 1);
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.OnSaveDocument("RO.TIK"));
    EXPECT_EQ(doc.GetLastError(), "RO.TIK\nファイルに保存できません。\n(RO.TIK: 読み取り専用のファイルです)");
    EXPECT_EQ(ReadBytes("RO.TIK"), old);
    EXPECT_EQ(fs::status("RO.TIK").permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_TRUE(doc.IsModified());

    ASSERT_TRUE(doc.OnSaveDocument("PRIVATE.TIK"));
    fs::permissions("PRIVATE.TIK", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(doc.OnSaveDocument("PRIVATE.TIK"));
    EXPECT_EQ(fs::status("PRIVATE.TIK").permissions(), fs::perms::owner_read | fs::perms::owner_write);

    fs::create_directory("elsewhere");
    ASSERT_TRUE(doc.OnSaveDocument("elsewhere/BAY.TIK"));
    fs::create_symlink("elsewhere/BAY.TIK", "LINKED.TIK");
    g_blocks.Add(2, 2);
    ASSERT_TRUE(doc.OnSaveDocument("LINKED.TIK"));
    EXPECT_TRUE(fs::is_symlink("LINKED.TIK"));
    EXPECT_EQ(ReadBytes("elsewhere/BAY.TIK"), ReadBytes("LINKED.TIK"));
    EXPECT_NE(ReadBytes("elsewhere/BAY.TIK"), ReadBytes("PRIVATE.TIK"));
}

}  // namespace
}  // namespace wv
