#include "draw/plot_export.h"

#include "platform/atomic_file.h"
#include "draw/draw_messages.h"
#include "draw/plot_writer.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wv {

namespace {

struct FileStamp {
    bool exists = false;
    ino_t inode = 0;
    off_t size = 0;
    long long mtimeNs = 0;

    bool operator==(const FileStamp&) const = default;
};

FileStamp Stamp(const std::string& path) {
    FileStamp s;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return s;
    s.exists = true;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return s;
}

std::string JobHead(double offsetX, double offsetY) {
    return Sprintf("%f\r\n%f\r\n", offsetX, offsetY);
}

// The converter runs in the start folder: a relative output path would mean something
// else there than here.
std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.string();
}

void Report(const std::string& text, const char* caption) {
    Ui().MessageBox(text, caption, MbButtons::Ok, MbIcon::Warning);
}

struct ExportKind {
    const char* jobName;
    const char* jobFailed;
    const char* caption;
};

// Runs `program` (a file of the start folder) with its own name as the only argument and
// the start folder as its working folder, and waits for it.
int RunConverter(const std::string& folder, const std::string& program, const std::string& outputPath,
                 const ExportKind& kind) {
    const FileStamp before = Stamp(outputPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The converter finds its job file by its bare name in its working folder.
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    const std::string path = folder + program;
    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        Report(Sprintf(msg::kConverterNotStarted, program.c_str(), SystemErrorText(rc).c_str()), kind.caption);
        return kExportConverterFailed;
    }
    int status = 0;
    pid_t w;
    do {
        w = ::waitpid(pid, &status, 0);
    } while (w < 0 && errno == EINTR);
    if (w < 0) {
        Report(Sprintf(msg::kConverterNotStarted, program.c_str(), SystemErrorText(errno).c_str()), kind.caption);
        return kExportConverterFailed;
    }
    if (WIFSIGNALED(status)) {
        Report(Sprintf(msg::kConverterSignal, program.c_str(), WTERMSIG(status)), kind.caption);
        return kExportConverterFailed;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        Report(Sprintf(msg::kConverterExitCode, program.c_str(), WEXITSTATUS(status)), kind.caption);
        return kExportConverterFailed;
    }
    // A converter that ends quietly without writing its file must not pass as success.
    const FileStamp after = Stamp(outputPath);
    if (!after.exists || after == before) {
        Report(Sprintf(msg::kConverterNoOutput, program.c_str(), outputPath.c_str()), kind.caption);
        return kExportConverterFailed;
    }
    return kExportOk;
}

int Export(const std::string& job, const std::string& converter, const std::string& outputPath,
           const ExportKind& kind) {
    const std::string folder = StartFolder();
    if (!AtomicWriteFile(folder + kind.jobName, job, nullptr)) {
        Report(kind.jobFailed, kind.caption);
        return kExportJobFailed;
    }
    const std::string program = FindConverter(folder, converter);
    if (program.empty()) {
        Report(Sprintf(msg::kConverterMissing, converter.c_str(), folder.c_str(), kind.jobName),
               kind.caption);
        return kExportNoConverter;
    }
    return RunConverter(folder, program, outputPath, kind);
}

}  // namespace

std::string FormatDxfJob(double offsetX, double offsetY, const std::string& plotPath,
                         const std::string& outputPath) {
    return JobHead(offsetX, offsetY) + plotPath + "\r\n" + outputPath + "\r\n";
}

std::string FormatBfoJob(double offsetX, double offsetY, const std::string& plotPath,
                         const std::string& outputPath) {
    return JobHead(offsetX, offsetY) + outputPath + "\r\n" + plotPath + "\r\n";
}

std::string FindConverter(const std::string& folder, const std::string& name) {
    for (const std::string& candidate : {name, name + ".exe"}) {
        struct stat st {};
        if (::stat((folder + candidate).c_str(), &st) == 0 && S_ISREG(st.st_mode)) return candidate;
    }
    return std::string();
}

int ExportDxf(double offsetX, double offsetY, int dxfConverter, const std::string& chosenPath) {
    const std::string outputPath = AbsolutePath(chosenPath);
    const std::string plot = StartFolder() + kPlotFileName;
    const ExportKind kind{kDxfJobFileName, msg::kDxfJobFailed, msg::kDxfCaption};
    return Export(FormatDxfJob(offsetX, offsetY, plot, outputPath),
                  dxfConverter == 1 ? kConverterVectorex : kConverterLinefold, outputPath, kind);
}

int ExportBfo(double offsetX, double offsetY, const std::string& chosenPath) {
    const std::string outputPath = AbsolutePath(chosenPath);
    const std::string plot = StartFolder() + kPlotFileName;
    const ExportKind kind{kBfoJobFileName, msg::kBfoJobFailed, msg::kBfoCaption};
    return Export(FormatBfoJob(offsetX, offsetY, plot, outputPath), kConverterShapewright, outputPath,
                  kind);
}

}  // namespace wv
