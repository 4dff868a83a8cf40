// A headless host for the application object, and the example project in the test's
// scratch folder.
#pragma once

#include "app/wavora_app.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <filesystem>
#include <string>
#include <vector>

namespace wv::apptest {

class FakeHost : public AppHost {
public:
    bool AcquireSingleInstance() override { return lockOk; }
    CProfile& Profile() override { return profile; }
    bool CreateMainWindow(CMainFrame&) override {
        windowCreated = true;
        return true;
    }
    void ShowMainWindow() override { shown = true; }
    void MenusChanged() override { ++menusChanged; }
    bool OpenWithShell(const std::string& path) override {
        opened.push_back(path);
        return shellResult;
    }
    void ShowAbout(const std::string& versionLine) override { about = versionLine; }
    void Quit(int exitCode) override { quitCode = exitCode; }

    bool lockOk = true;
    MemoryProfile profile;
    bool windowCreated = false;
    bool shown = false;
    int menusChanged = 0;
    std::vector<std::string> opened;
    bool shellResult = true;
    std::string about;
    int quitCode = -1;
};

inline std::string Here() { return std::filesystem::current_path().string(); }

// A copy of the example project BAY (BAY.TIK, BAY1.TYD and its side archive) in `folder`.
inline std::string CopyBay(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    for (const char* f : {"BAY.TIK", "BAY1.TYD", "BAY1.DPT"})
        fs::copy_file(fs::path(WAVORA_SOURCE_DIR) / "examples/bay/BAY" / f, fs::path(folder) / f,
                      fs::copy_options::overwrite_existing);
    return fs::path(folder).string();
}

inline std::string Bytes(const std::string& path) {
    std::string s;
    return ReadWholeFile(path, s, nullptr) ? s : "<missing>";
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    AtomicWriteFile(path, bytes, nullptr);
}

// A program's start in the test's scratch folder: its runtime and settings folders there,
// a version file, and a copy of the example project. Returns the project's folder.
inline std::string StartInScratch() {
    const std::string here = Here();
    std::filesystem::create_directories(here + "/runtime");
    // Qt wants the runtime folder private to its user, as a session's is.
    std::filesystem::permissions(here + "/runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (here + "/runtime").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (here + "/config").c_str(), 1);
    WriteFile(here + "/SYSVER.DAT", "1.2\r\n");
    return CopyBay(here + "/BAY");
}

}  // namespace wv::apptest
