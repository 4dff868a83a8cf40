// Runs the solver library on one prepared calculation input:
//   tydsolv_run <folder/NAME.CAL> [--threads N]
// The results go beside the .CAL (NAME.KKA); "CALC.DAT" and "TIME.TMP" go to the
// current folder. The run is a batch run (no end-of-run message) and, without a
// window system, headless: progress and messages on stderr.
#include "platform/fixed_format.h"
#include "platform/files.h"
#include "platform/text.h"
#include "solver/tydsolv.h"
#include "tools/tool_args.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

const char kUsage[] = "usage: tydsolv_run <folder/NAME.CAL> [--threads N]\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Records 5, 8 and 9 of the input give the counts the request must carry.
bool ReadCounts(const std::string& path, int& nd, int& nf, int& nx, int& ny, std::string& err) {
    wv::LineReader reader("");
    if (!wv::LineReader::FromFile(path, reader, &err)) return false;
    std::string line;
    for (int rec = 1; rec <= 9; ++rec) {
        if (!reader.Next(line)) {
            err = path + ": the file ends before record " + std::to_string(rec);
            return false;
        }
        wv::FixedReader r(line);
        bool ok = true;
        if (rec == 5) ok = r.ReadInt(5, nd);
        if (rec == 8) ok = r.ReadInt(5, nf);
        if (rec == 9) ok = r.ReadInt(5, nx) && r.ReadInt(5, ny);
        if (!ok) {
            err = path + ": record " + std::to_string(rec) + " is not a number";
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage, {{"--threads", 1}}); code >= 0) return code;
    std::string calPath;
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--threads") == 0) {
            if (a + 1 >= argc) return Usage();
            const int n = wv::WinAtoi(argv[++a]);
            if (n < 1) return Usage();
            setenv("WAVORA_THREADS", std::to_string(n).c_str(), 1);
        } else if (calPath.empty()) {
            calPath = argv[a];
        } else {
            return Usage();
        }
    }
    if (calPath.empty()) return Usage();
    // The solver opens <folder><title>.CAL, so the name must end in ".CAL" exactly.
    if (calPath.size() < 5 || calPath.compare(calPath.size() - 4, 4, ".CAL") != 0) {
        std::fprintf(stderr, "tydsolv_run: %s: the input name must end in .CAL\n", calPath.c_str());
        return 2;
    }
    int nd = 0, nf = 0, nx = 0, ny = 0;
    std::string err;
    if (!ReadCounts(calPath, nd, nf, nx, ny, err)) {
        std::fprintf(stderr, "tydsolv_run: %s\n", err.c_str());
        return 1;
    }

    // An absolute folder, so that the report says where the results went.
    std::error_code ec;
    const std::string absolute = std::filesystem::absolute(calPath, ec).lexically_normal().string();
    if (!ec) calPath = absolute;
    const std::string folder = wv::FolderOf(calPath);
    const std::string name = wv::FileNameOf(calPath);
    const std::string title = name.substr(0, name.size() - 4);
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd)) {
        std::fprintf(stderr, "tydsolv_run: cannot get the current folder\n");
        return 1;
    }
    const std::string workDir = cwd;

    CalcRequest req{};
    req.m_pszFolder = folder.c_str();
    req.m_nFolderLen = static_cast<int32_t>(folder.size());
    req.m_pszTitle = title.c_str();
    req.m_nTitleLen = static_cast<int32_t>(title.size());
    req.m_pszWorkDir = workDir.c_str();
    req.m_nWorkDirLen = static_cast<int32_t>(workDir.size());
    req.m_nDirDiv = nd;
    req.m_nFreqDiv = nf;
    req.m_nMeshX = nx;
    req.m_nMeshY = ny;
    req.m_nMode = 1;
    const int32_t result = TYDSOLV(&req);

    const std::string status = workDir + "/CALC.DAT";
    if (result == 0) {
        std::printf("completed: %d x %d nodes\n", nx, ny);
        std::printf("results:   %s%s.KKA\n", folder.c_str(), title.c_str());
        std::printf("status:    %s\n", status.c_str());
        std::printf("timing:    %s/TIME.TMP\n", workDir.c_str());
    } else {
        std::printf("not completed (result 1); status: %s\n", status.c_str());
    }
    return result;
}
