#include "platform/archive.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace wv;

namespace {
std::vector<std::uint8_t> Golden(const char* name) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    EXPECT_TRUE(ReadWholeFile(std::string(WAVORA_TEST_DATA) + "/platform/" + name, bytes, &err)) << err;
    return bytes;
}

void StoreMixed(CArchive& ar) {
    ar << std::int32_t(8) << std::int32_t(-123456) << std::uint32_t(0xDEADBEEF) << std::int16_t(-2)
       << std::uint16_t(65535) << 1.5f << 99999999.999;
    ar.WriteString("");
    ar.WriteString(Utf8ToCp932("測点"));
    ar.WriteString(Utf8ToCp932("ｹｲｻﾝ"));
    ar.WriteString(std::string(254, 'x'));
    ar.WriteString(std::string(255, 'y'));
    ar.WriteString(std::string(70000, 'z'));
}

// Reads back what StoreMixed wrote, checking every value on the way; on a cut archive
// it throws at the first value that is not all there.
void LoadMixed(CArchive& ar) {
    std::int32_t version, i;
    std::uint32_t u;
    std::int16_t s;
    std::uint16_t w;
    float f;
    double d;
    ar >> version >> i >> u >> s >> w >> f >> d;
    EXPECT_EQ(version, 8);
    EXPECT_EQ(i, -123456);
    EXPECT_EQ(u, 0xDEADBEEFu);
    EXPECT_EQ(s, -2);
    EXPECT_EQ(w, 65535);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, 99999999.999);
    EXPECT_EQ(ar.ReadString(), "");
    EXPECT_EQ(Cp932ToUtf8(ar.ReadString()), "測点");
    const std::string kana = ar.ReadString();
    EXPECT_EQ(kana.size(), 4u) << "half-width katakana stay one byte each";
    EXPECT_EQ(Cp932ToUtf8(kana), "ｹｲｻﾝ");
    EXPECT_EQ(ar.ReadString(), std::string(254, 'x'));
    EXPECT_EQ(ar.ReadString(), std::string(255, 'y'));
    EXPECT_EQ(ar.ReadString(), std::string(70000, 'z'));
}
}  // namespace

TEST(Archive, StoresAndLoadsTheGoldenLayoutByteForByte) {
    CArchive out;
    StoreMixed(out);
    EXPECT_EQ(out.Bytes(), Golden("mixed.bin"));
    CArchive in(Golden("mixed.bin"));
    LoadMixed(in);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Archive, StringPrefixBoundaries) {
    auto prefix = [](std::size_t n) {
        CArchive ar;
        ar.WriteString(std::string(n, 'a'));
        return std::vector<std::uint8_t>(ar.Bytes().begin(), ar.Bytes().end() - static_cast<long>(n));
    };
    EXPECT_EQ(prefix(0), (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(prefix(254), (std::vector<std::uint8_t>{254}));
    EXPECT_EQ(prefix(255), (std::vector<std::uint8_t>{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(prefix(65533), (std::vector<std::uint8_t>{0xFF, 0xFD, 0xFF}));
    EXPECT_EQ(prefix(65534), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
}

TEST(Archive, TruncationsAndImpossibleLengthsAreCleanErrors) {
    const auto full = Golden("mixed.bin");
    // Cut the archive at many points: each read sequence must throw, never crash.
    for (std::size_t cut : {0ul, 3ul, 4ul, 17ul, 30ul, 31ul, 35ul, 300ul, 600ul, full.size() - 1}) {
        CArchive ar(std::vector<std::uint8_t>(full.begin(), full.begin() + static_cast<long>(cut)));
        EXPECT_THROW(LoadMixed(ar), ArchiveError) << "cut at " << cut;
    }
    CArchive huge(std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a'});
    EXPECT_THROW(huge.ReadString(), ArchiveError);
}

// FF FE FF is the marker of a Unicode string in the MFC layout; this system never writes
// one (65534 bytes take the 32-bit form), so a file that has it is damaged.
TEST(Archive, UnicodeStringMarkerIsRefused) {
    std::vector<std::uint8_t> bytes{0xFF, 0xFE, 0xFF};
    bytes.resize(bytes.size() + 65534 * 2, 'a');
    CArchive ar(bytes);
    EXPECT_THROW(ar.ReadString(), ArchiveError);
    // The 16-bit form just below it still reads.
    std::vector<std::uint8_t> below{0xFF, 0xFD, 0xFF};
    below.resize(below.size() + 65533, 'b');
    CArchive ok(below);
    EXPECT_EQ(ok.ReadString(), std::string(65533, 'b'));
}

TEST(Archive, CountChecksRejectImpossibleCounts) {
    CArchive ar(std::vector<std::uint8_t>(40, 0));
    EXPECT_NO_THROW(ar.CheckCount(5, 100, 8, "points"));
    EXPECT_THROW(ar.CheckCount(6, 100, 8, "points"), ArchiveError);  // 48 bytes > 40 left
    EXPECT_THROW(ar.CheckCount(-1, 100, 8, "points"), ArchiveError);
    EXPECT_THROW(ar.CheckCount(1001, 1000, 0, "points"), ArchiveError);
    EXPECT_THROW(CArchive::CheckRange(9, 0, 8, "link count"), ArchiveError);
}

TEST(Archive, SaveIsAtomicAndLoadsBack) {
    CArchive ar;
    ar << std::int32_t(42);
    ar.SaveToFile("saved.bin");
    CArchive in = CArchive::ForLoadingFile("saved.bin");
    std::int32_t v;
    in >> v;
    EXPECT_EQ(v, 42);
    EXPECT_THROW(CArchive::ForLoadingFile("no-such-file.bin"), ArchiveError);
}
