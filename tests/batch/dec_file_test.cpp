// The batch input as the main program writes it, and the files the reader must refuse.
#include "batch/dec_file.h"

#include "batch/version_text.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "tests/batch/batch_test_util.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

TEST(DecFile, ReadsWhatTheBatchDataCommandWrites) {
    struct Case {
        const char* name;
        std::string text;
        std::string title;  // UTF-8
        int p[5];
    };
    const Case cases[] = {
        {"CR LF, quoted", "\"Bay A\"\r\n        45\r\n         7\r\n   40,   60\r\n    1\r\n", "Bay A", {45, 7, 40, 60, 1}},
        {"LF only", "\"Bay A\"\n        45\n         7\n   40,   60\n    1\n", "Bay A", {45, 7, 40, 60, 1}},
        {"no line end after line 5", "\"x\"\r\n3\r\n1\r\n2,3\r\n0", "x", {3, 1, 2, 3, 0}},
        {"empty remark", "\"\"\r\n        16\r\n         5\r\n   30,   40\r\n    1\r\n", "", {16, 5, 30, 40, 1}},
        {"blank-separated counts, extra tokens", "\"t\"\r\n 45 9\r\n 7\r\n 40 60 99\r\n 1\r\n", "t", {45, 7, 40, 60, 1}},
        {"negative and signed", "\"t\"\r\n+45\r\n7\r\n-40,60\r\n-1\r\n", "t", {45, 7, -40, 60, -1}},
        {"CP932 remark", "\"" + Utf8ToCp932("湾奥 ﾃｽﾄ 波浪") + "\"\r\n45\r\n7\r\n40,60\r\n1\r\n", "湾奥 ﾃｽﾄ 波浪",
         {45, 7, 40, 60, 1}},
        {"lines after the fifth", "\"t\"\r\n45\r\n7\r\n40,60\r\n1\r\nmore\r\n", "t", {45, 7, 40, 60, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecContents dec;
        std::string why;
        ASSERT_TRUE(ParseDecText(c.text, dec, &why)) << why;
        EXPECT_EQ(Cp932ToUtf8(dec.title), c.title);
        EXPECT_EQ(dec.title.find('"'), std::string::npos);
        const int got[5] = {dec.p1, dec.p2, dec.p3, dec.p4, dec.p5};
        for (int k = 0; k < 5; ++k) EXPECT_EQ(got[k], c.p[k]) << k;
    }
}

TEST(DecFile, RefusesWhatIsNoBatchInput) {
    struct Case {
        const char* name;
        std::string text;
        const char* why;
    };
    const Case cases[] = {
        {"empty file", "", "1行目"},
        {"short line 1", "\"\r\n45\r\n7\r\n40,60\r\n1\r\n", "1行目"},
        {"four lines", "\"t\"\r\n45\r\n7\r\n40,60\r\n", "5行目"},
        {"two lines", "\"t\"\r\n45\r\n", "3行目"},
        {"one token on line 4", "\"t\"\r\n45\r\n7\r\n   40\r\n1\r\n", "4行目"},
        {"blank line 2", "\"t\"\r\n\r\n7\r\n40,60\r\n1\r\n", "2行目"},
        {"text for a count", "\"t\"\r\n45\r\nseven\r\n40,60\r\n1\r\n", "3行目"},
        {"a real number", "\"t\"\r\n45\r\n7\r\n40.5,60\r\n1\r\n", "4行目"},
        {"trailing junk", "\"t\"\r\n45x\r\n7\r\n40,60\r\n1\r\n", "2行目"},
        {"blank flag line", "\"t\"\r\n45\r\n7\r\n40,60\r\n \r\n", "5行目"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecContents dec;
        dec.p1 = 123;
        std::string why;
        EXPECT_FALSE(ParseDecText(c.text, dec, &why));
        EXPECT_NE(why.find(c.why), std::string::npos) << why;
        EXPECT_EQ(dec.p1, 123);  // nothing taken from a refused file
    }
}

}  // namespace
}  // namespace wv

namespace wv {
namespace {

TEST(VersionText, FirstLineOfTheVersionFileOrOneMessage) {
    const std::string dir = batchtest::EnterOwnFolder();
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    DeleteFileSilently(dir + "SYSVER.DAT");
    EXPECT_EQ(LoadVersionText(dir), "");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "ﾊﾞｰｼﾞｮﾝが読み込めませんでした。");
    EXPECT_EQ(ui.Messages()[0].caption, "SYSVER");
    EXPECT_EQ(ui.Messages()[0].icon, MbIcon::Warning);
    batchtest::Write(dir + "SYSVER.DAT", Utf8ToCp932("Ver 3.2 ﾃｽﾄ版") + "\r\nsecond\r\n");
    EXPECT_EQ(LoadVersionText(dir), "Ver 3.2 ﾃｽﾄ版");
    EXPECT_EQ(ui.Messages().size(), 1u);
}

}  // namespace
}  // namespace wv
