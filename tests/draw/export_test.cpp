// DXF and BFO export through a stand-in converter: the job files byte for byte, how the
// converter is started, and every way a conversion can fail to produce its file.
#include "draw/plot_export.h"
#include "platform/files.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace wv;
namespace fs = std::filesystem;

namespace {

class Export : public testing::Test {
protected:
    void SetUp() override {
        // A start folder with a blank in its name: nothing may split or quote it.
        m_start = (fs::current_path() / "start dir").string() + "/";
        fs::create_directories(m_start);
        SetStartFolder(m_start);
        m_out = (fs::current_path() / "out files").string() + "/";
        fs::create_directories(m_out);
    }
    void TearDown() override { SetStartFolder(fs::current_path().string()); }

    void InstallStub(const std::string& name) {
        fs::copy_file(CONVERTER_STUB, m_start + name, fs::copy_options::overwrite_existing);
    }
    void InstallScript(const std::string& name, const std::string& body) {
        std::ofstream(m_start + name) << "#!/bin/sh\n" << body << "\n";
        ::chmod((m_start + name).c_str(), 0755);
    }
    std::string Read(const std::string& path) {
        std::string text;
        ReadWholeFile(path, text, nullptr);
        return text;
    }

    std::string m_start;
    std::string m_out;
    ScriptedUi m_ui;
    ScopedUi m_scope{&m_ui};
};

}  // namespace

TEST_F(Export, JobFormatsPutThePathsInTheirOrder) {
    EXPECT_EQ(FormatDxfJob(10, 12.5, "/s/pdata000.plt", "/o/a b.dxf"),
              "10.000000\r\n12.500000\r\n/s/pdata000.plt\r\n/o/a b.dxf\r\n");
    EXPECT_EQ(FormatBfoJob(-0.5, 0, "/s/pdata000.plt", "/o/a.bfo"),
              "-0.500000\r\n0.000000\r\n/o/a.bfo\r\n/s/pdata000.plt\r\n");
}

TEST_F(Export, DxfRunsTheChosenConverterInTheStartFolder) {
    struct Case {
        int choice;
        const char* installed;
    };
    // Choice 1 is Vectorex, any other linefold; a ".exe" name is found as well.
    for (Case c : {Case{1, "Vectorex"}, Case{0, "linefold.exe"}, Case{7, "linefold"}}) {
        fs::remove_all(m_start);
        fs::create_directories(m_start);
        InstallStub(c.installed);
        const std::string out = m_out + "bay figure.dxf";
        fs::remove(out);
        ASSERT_EQ(ExportDxf(10, 20, c.choice, out), kExportOk) << c.installed;
        EXPECT_EQ(Read(m_start + "dxf_conv.tmp"),
                  "10.000000\r\n20.000000\r\n" + m_start + "pdata000.plt\r\n" + out + "\r\n");
        const std::string start = m_start.substr(0, m_start.size() - 1);
        EXPECT_EQ(Read(m_start + "stub.log"),
                  std::string("argc=1\nargv0=") + c.installed + "\ncwd=" + start + "\n");
        EXPECT_EQ(Read(out), "converted\n");
        EXPECT_TRUE(m_ui.Messages().empty());
    }
}

TEST_F(Export, RelativeOutputPathIsNamedInFullForTheConverter) {
    InstallStub("Vectorex");
    ASSERT_EQ(ExportDxf(0, 0, 1, "out files/rel.dxf"), kExportOk);
    EXPECT_EQ(Read(m_out + "rel.dxf"), "converted\n");
    EXPECT_NE(Read(m_start + "dxf_conv.tmp").find(m_out + "rel.dxf\r\n"), std::string::npos);
}

TEST_F(Export, BfoRunsShapewrightAndRewritesItsJobEachTime) {
    InstallStub("Shapewright");
    ASSERT_EQ(ExportBfo(5, 6, m_out + "first.bfo"), kExportOk);
    ASSERT_EQ(ExportBfo(15, 10, m_out + "second.bfo"), kExportOk);
    EXPECT_EQ(Read(m_start + "bfo_conv.tmp"),
              "15.000000\r\n10.000000\r\n" + m_out + "second.bfo\r\n" + m_start + "pdata000.plt\r\n");
    EXPECT_EQ(Read(m_out + "second.bfo"), "converted\n");
}

TEST_F(Export, MissingConverterIsExplainedAndTheFilesStay) {
    ASSERT_EQ(ExportDxf(10, 10, 1, m_out + "x.dxf"), kExportNoConverter);
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    const MessageRecord m = m_ui.Messages()[0];
    EXPECT_EQ(m.caption, "DXF_CONV");
    EXPECT_NE(m.text.find("Vectorex"), std::string::npos);
    EXPECT_NE(m.text.find(m_start), std::string::npos);
    EXPECT_TRUE(FileExists(m_start + "dxf_conv.tmp"));

    m_ui.Clear();
    InstallStub("Vectorex");  // DXF converters do not stand in for the BFO one
    EXPECT_EQ(ExportBfo(10, 10, m_out + "x.bfo"), kExportNoConverter);
    ASSERT_EQ(m_ui.Messages().size(), 1u);
    EXPECT_EQ(m_ui.Messages()[0].caption, "BFO_CONV");
    EXPECT_NE(m_ui.Messages()[0].text.find("Shapewright"), std::string::npos);
}

TEST_F(Export, FailingConvertersAreNeverASuccess) {
    const std::string out = m_out + "y.dxf";
    struct Case {
        const char* script;
        bool staleOutput;
    };
    const Case cases[] = {
        {"exit 3", false},                  // non-zero exit
        {"kill -9 $$", false},              // killed
        {"exit 0", false},                  // quiet, but no file
        {"exit 0", true},                   // an old file of that name is not this run's
        {"printf x > /dev/null; exit 0", true},
    };
    for (const Case& c : cases) {
        m_ui.Clear();
        fs::remove(out);
        if (c.staleOutput) std::ofstream(out) << "old";
        InstallScript("linefold", c.script);
        EXPECT_EQ(ExportDxf(0, 0, 0, out), kExportConverterFailed) << c.script;
        const auto messages = m_ui.Messages();
        ASSERT_EQ(messages.size(), 1u) << c.script;
        EXPECT_NE(messages[0].text.find("linefold"), std::string::npos);
        if (c.staleOutput) {
            EXPECT_EQ(Read(out), "old");
        }
    }
    // A file that is there but cannot be run.
    m_ui.Clear();
    std::ofstream(m_start + "Vectorex") << "not a program";
    ::chmod((m_start + "Vectorex").c_str(), 0644);
    EXPECT_EQ(ExportDxf(0, 0, 1, out), kExportConverterFailed);
    EXPECT_EQ(m_ui.Messages().size(), 1u);
}

TEST_F(Export, UnwritableStartFolderReportsTheJobFile) {
    InstallStub("Vectorex");
    // Root writes into read-only folders, so a folder that is gone stands in there.
    std::string folder = m_start;
    if (::geteuid() == 0) {
        SetStartFolder(m_start + "gone/");
    } else {
        ::chmod(m_start.c_str(), 0555);
    }
    EXPECT_EQ(ExportDxf(0, 0, 1, m_out + "z.dxf"), kExportJobFailed);
    EXPECT_EQ(ExportBfo(0, 0, m_out + "z.bfo"), kExportJobFailed);
    ::chmod(m_start.c_str(), 0755);
    ASSERT_EQ(m_ui.Messages().size(), 2u);
    EXPECT_EQ(m_ui.Messages()[0].text, "dxf_conv.tmp作成に失敗しました。");
    EXPECT_EQ(m_ui.Messages()[0].caption, "DXF_CONV");
    EXPECT_EQ(m_ui.Messages()[0].icon, MbIcon::Warning);
    EXPECT_EQ(m_ui.Messages()[1].text, "bfo_conv.tmp作成に失敗しました。");
    EXPECT_EQ(m_ui.Messages()[1].caption, "BFO_CONV");
    EXPECT_FALSE(FileExists(m_out + "z.dxf"));
}
