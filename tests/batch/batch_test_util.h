// A list that records what the queue shows, and batch inputs written in a scratch folder.
#pragma once

#include "batch/batch_queue.h"
#include "platform/files.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace wv::batchtest {

struct Row {
    std::string file, title, state;
};

class RecordingRows : public BatchRowSink {
public:
    void InsertRow(int row, const std::string& file, const std::string& title, const std::string& state) override {
        ++calls;
        rows.insert(rows.begin() + row, Row{file, title, state});
    }
    void SetRowState(int row, const std::string& state) override {
        ++calls;
        ASSERT_LT(static_cast<std::size_t>(row), rows.size());
        rows[static_cast<std::size_t>(row)].state = state;
    }
    void DeleteRow(int row) override {
        ++calls;
        rows.erase(rows.begin() + row);
    }
    void DeleteAllRows() override {
        ++calls;
        rows.clear();
    }
    void SolverRunning(bool running) override { solverRunning = running; }

    std::vector<std::string> States() const {
        std::vector<std::string> s;
        for (const Row& r : rows) s.push_back(r.state);
        return s;
    }

    std::vector<Row> rows;
    int calls = 0;
    bool solverRunning = false;
};

// Moves into a folder of the running test's own: the start folder with "CALC.DAT" idle.
inline std::string EnterOwnFolder() {
    const std::filesystem::path base = std::filesystem::current_path();
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path folder = base / (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    const std::string here = folder.string() + "/";
    SetStartFolder(here);
    EXPECT_TRUE(AtomicWriteFile(StartFolderFile("CALC.DAT"), std::string("0\r\n"), nullptr));
    return here;
}

inline void Write(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(AtomicWriteFile(path, bytes, nullptr)) << path;
}

inline std::string ReadAll(const std::string& path) {
    std::string s;
    ReadWholeFile(path, s, nullptr);
    return s;
}

// A batch input as the batch-data command writes it.
inline std::string DecText(const std::string& titleUtf8, int nd, int nf, int nx, int ny) {
    return "\"" + Utf8ToCp932(titleUtf8) + "\"\r\n" + Sprintf("%10d\r\n%10d\r\n%5d,%5d\r\n%5d\r\n", nd, nf, nx, ny, 1);
}

// The header of a solver input with the given counts (the depths are not read here).
inline std::string CalHeader(int nd, int nf, int nx, int ny) {
    return Sprintf("0\r\n    1\r\n0\r\n1\r\n%5d\r\n   10\r\n      90.0      90.0\r\n%5d\r\n%5d%5d\r\n", nd, nf, nx, ny);
}

}  // namespace wv::batchtest
