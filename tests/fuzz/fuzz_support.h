// What the fuzz harnesses share: a scratch folder of the process (settings and working
// files inside it, never the user's), a silent user interface, and checks of what a user
// relies on that end the process like a crash when they fail, so that libFuzzer keeps the
// input and the replay test fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace wv {
class ScriptedUi;
}

namespace wv::fuzz {

// The process's scratch folder, ending in '/'; made on first use, the start folder
// points at it.
const std::string& Scratch();
// The silent user interface that every harness installs; cleared before each input.
ScriptedUi& SilentUi();

// Ends the process with `what` when `ok` is false.
void Check(bool ok, const char* what);

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteFile(const std::string& path, const std::string& bytes);
// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadFile(const std::string& path);

// A golden file of the test data.
std::string TestData(const std::string& relative);

}  // namespace wv::fuzz
