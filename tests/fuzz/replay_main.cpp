// Stands in for libFuzzer where it is not linked: runs the harness once on every file
// named on the command line, and on every file of every folder named there. A folder may
// be followed by "=EXT,EXT" to take only files with those extensions (any case). A
// failed check or a crash ends the process, so the test that replays a corpus fails.
#include "fuzz_support.h"
#include "tools/tool_args.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Wanted(const std::filesystem::path& file, const std::vector<std::string>& exts) {
    if (file.filename().string().rfind('.', 0) == 0) return false;  // .gitkeep and the like
    if (exts.empty()) return true;
    const std::string ext = Lower(file.extension().string());
    return std::find(exts.begin(), exts.end(), ext) != exts.end();
}

int RunOne(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return 1;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    static const char kUsage[] =
        "usage: fuzz_NAME FILE|FOLDER[=EXT,EXT]...\n"
        "Runs the harness once on every file named, and on every file of every folder named\n"
        "(only those with the extensions given after '=', when given).\n";
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage); code >= 0) return code;
    namespace fs = std::filesystem;
    int files = 0, failures = 0;
    for (int a = 1; a < argc; ++a) {
        std::string arg = argv[a];
        std::vector<std::string> exts;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            std::string list = arg.substr(eq + 1);
            arg.resize(eq);
            std::size_t start = 0;
            while (start <= list.size()) {
                const std::size_t comma = list.find(',', start);
                const std::string ext = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
                if (!ext.empty()) exts.push_back(Lower("." + ext));
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
        }
        const fs::path p(arg);
        if (fs::is_directory(p)) {
            std::vector<fs::path> entries;
            for (const auto& e : fs::directory_iterator(p))
                if (e.is_regular_file() && Wanted(e.path(), exts)) entries.push_back(e.path());
            std::sort(entries.begin(), entries.end());
            for (const auto& e : entries) {
                failures += RunOne(e);
                ++files;
            }
        } else if (fs::exists(p)) {
            failures += RunOne(p);
            ++files;
        }
    }
    std::fprintf(stderr, "replayed %d inputs\n", files);
    return failures == 0 && files > 0 ? 0 : 1;
}
