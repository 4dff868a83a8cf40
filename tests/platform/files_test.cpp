#include "platform/files.h"
#include "platform/large_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace wv;

TEST(Files, SideFileNamesReplaceTheLastExtension) {
    EXPECT_EQ(SideFileName("/data/bay/run1.tyd", "DPT"), "/data/bay/run1.DPT");
    EXPECT_EQ(SideFileName("/data/v1.2/run", "CAL"), "") << "a dot in a folder name is no extension";
    EXPECT_EQ(SideFileName("run", "CAL"), "");
    EXPECT_EQ(SideFileName("/data/a.b.TYD", "KKA"), "/data/a.b.KKA");
    EXPECT_EQ(SideFileName("run.", "DEC"), "run.DEC");
}

TEST(Files, ExtensionsCompareWithoutCase) {
    EXPECT_TRUE(HasExtensionNoCase("/x/a.tyd", ".TYD"));
    EXPECT_TRUE(HasExtensionNoCase("/x/a.Tik", "tik"));
    EXPECT_FALSE(HasExtensionNoCase("/x.tyd/a", "tyd"));
    EXPECT_FALSE(HasExtensionNoCase("/x/a.tydx", "tyd"));
    EXPECT_EQ(FileTitleOf("/x/run1.TYD"), "run1");
    EXPECT_EQ(FolderOf("/x/run1.TYD"), "/x/");
    EXPECT_EQ(FolderOf("run1.TYD"), "");
}

TEST(Files, DeletingAMissingFileIsSilent) {
    EXPECT_TRUE(DeleteFileSilently("not-there.KKA"));
    std::string err;
    ASSERT_TRUE(AtomicWriteFile("there.KKA", std::string("x"), &err));
    EXPECT_TRUE(FileExists("there.KKA"));
    EXPECT_TRUE(DeleteFileSilently("there.KKA"));
    EXPECT_FALSE(FileExists("there.KKA"));
}

TEST(Files, AFailedAtomicSaveKeepsTheOldFile) {
    std::string err;
    ASSERT_TRUE(AtomicWriteFile("keep.dat", std::string("old contents"), &err));
    // Writing into a folder that does not exist fails and reports the file.
    EXPECT_FALSE(AtomicWriteFile("missing-folder/keep.dat", std::string("new"), &err));
    EXPECT_NE(err.find("missing-folder/keep.dat"), std::string::npos);
    ASSERT_TRUE(AtomicWriteFile("keep.dat", std::string("new"), &err));
    std::string back;
    ASSERT_TRUE(ReadWholeFile("keep.dat", back, &err));
    EXPECT_EQ(back, "new");
    EXPECT_EQ(FileSize("keep.dat"), 3);
}

TEST(Files, StartFolderEndsInSlash) {
    const std::string before = StartFolder();
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), '/');
    SetStartFolder("/tmp");
    EXPECT_EQ(StartFolderFile("CALC.DAT"), "/tmp/CALC.DAT");
    SetStartFolder(before);
}

// Large files and arrays go into storage taken once, advised as huge pages; what they
// hold must not depend on where the storage came from.
TEST(Files, LargeFilesAndArraysHoldExactlyTheirContents) {
    std::string big(5u << 20, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>((i * 2654435761u) >> 13);
    std::string err;
    ASSERT_TRUE(AtomicWriteFile("big.dat", big, &err));
    std::string back = "left from before";
    ASSERT_TRUE(ReadWholeFile("big.dat", back, &err));
    EXPECT_TRUE(back == big);
    std::vector<std::uint8_t> bytes(7, 1);
    ASSERT_TRUE(ReadWholeFile("big.dat", bytes, &err));
    EXPECT_TRUE(std::string(bytes.begin(), bytes.end()) == big);

    std::vector<double> v(100, 7.0);
    AssignLarge(v, 3u << 20);  // fresh storage
    EXPECT_EQ(std::count(v.begin(), v.end(), 0.0), 3 << 20);
    std::fill(v.begin(), v.end(), 5.0);
    AssignLarge(v, 1u << 20, -1.0);  // the same storage again
    EXPECT_EQ(v.size(), 1u << 20);
    EXPECT_EQ(std::count(v.begin(), v.end(), -1.0), 1 << 20);

    // Faulting pages in for writing leaves what they hold, whatever the bounds.
    std::vector<double> held(300000);
    for (std::size_t i = 0; i < held.size(); ++i) held[i] = static_cast<double>(i) * 0.5 - 3.0;
    PopulatePages(reinterpret_cast<char*>(held.data()) + 3, held.size() * sizeof(double) - 7);
    PopulatePages(held.data(), 0);
    PopulatePages(held.data() + 5, 100);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < held.size(); ++i) kept += held[i] == static_cast<double>(i) * 0.5 - 3.0;
    EXPECT_EQ(kept, held.size());
}
