#include "fuzz_support.h"

#include "platform/files.h"
#include "platform/ui_service.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <filesystem>

namespace wv::fuzz {

namespace {

// The folder goes when the process ends normally; a crash leaves it for a look.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        namespace fs = std::filesystem;
        const fs::path p = fs::current_path() / ("fuzz-scratch-" + std::to_string(::getpid()));
        fs::remove_all(p);
        fs::create_directories(p);
        path = p.string() + "/";
        SetStartFolder(path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

const std::string& Scratch() {
    static const ScratchFolder folder;
    return folder.path;
}

ScriptedUi& SilentUi() {
    static ScriptedUi ui;
    static const bool installed = [] {
        SetUi(&ui);
        return true;
    }();
    (void)installed;
    return ui;
}

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::string err;
    Check(AtomicWriteFile(path, data, size, &err), "the scratch folder takes a file");
}

void WriteFile(const std::string& path, const std::string& bytes) {
    WriteFile(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string ReadFile(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return "<missing>";
    return text;
}

std::string TestData(const std::string& relative) { return std::string(WAVORA_TEST_DATA) + "/" + relative; }

}  // namespace wv::fuzz
