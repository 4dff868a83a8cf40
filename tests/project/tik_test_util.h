// Helpers shared by the project-file tests.
#pragma once

#include "project/tik_archive.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace wv::test {

inline std::string ProjectData(const std::string& name) {
    return std::string(WAVORA_TEST_DATA) + "/project/" + name;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    EXPECT_TRUE(ReadWholeFile(path, bytes, &err)) << err;
    return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::string err;
    ASSERT_TRUE(AtomicWriteFile(path, bytes.data(), bytes.size(), &err)) << err;
}

// The open project as the writer would store it: equal bytes, equal projects.
inline std::vector<std::uint8_t> OpenProjectBytes() {
    CArchive ar;
    WriteTikArchive(ar, g_tikInf, g_surveyPoints, g_lines, g_blocks, g_calcPoints);
    return ar.Bytes();
}

}  // namespace wv::test
