#include "tests/faults/fault_suite.h"

#include "platform/atomic_file.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace wv::faultsuite {

namespace {


using Clock = std::chrono::steady_clock;

// The environment of a driver: the test's own, without faults meant for this process, with
// settings and runtime folders in the scratch folder and one solver thread (many drivers
// run at once; one thread each keeps the machine's cores for them).
std::vector<std::string> DriverEnvironment(const std::vector<std::string>& extra) {
    const std::string here = Here();
    const std::string config = here + "xdg-config";
    const std::string runtime = here + "xdg-runtime";
    std::filesystem::create_directories(config);
    std::filesystem::create_directories(runtime);
    ::chmod(runtime.c_str(), 0700);
    std::vector<std::string> env;
    auto overridden = [&](const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (name == "XDG_CONFIG_HOME=" || name == "XDG_RUNTIME_DIR=" || name == "WAVORA_THREADS=" ||
            name == "WAVORA_TEST_FAULTS=" || name == "WAVORA_TEST_KILL_AT=")
            return true;
        for (const std::string& e : extra)
            if (e.compare(0, name.size(), name) == 0) return true;
        return false;
    };
    for (char** e = environ; *e; ++e)
        if (!overridden(*e)) env.emplace_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + config);
    env.push_back("XDG_RUNTIME_DIR=" + runtime);
    env.push_back("WAVORA_THREADS=1");
    for (const std::string& e : extra) env.push_back(e);
    return env;
}

}  // namespace

std::string Here() { return std::filesystem::current_path().string() + "/"; }

bool Finished::Has(const std::string& line) const {
    for (const std::string& l : lines)
        if (l == line) return true;
    return false;
}

std::string Finished::Last(const std::string& prefix) const {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (it->compare(0, prefix.size(), prefix) == 0) return *it;
    return std::string();
}

namespace {

std::vector<std::string> MessagesOf(const std::vector<std::string>& lines, bool sinceBegin) {
    std::vector<std::string> out;
    bool begun = !sinceBegin;
    for (const std::string& l : lines) {
        begun = begun || l == "begin";
        if (!begun || l.compare(0, 8, "message\t") != 0) continue;
        const std::string rest = l.substr(8);
        const auto tab = rest.find('\t');
        out.push_back(tab == std::string::npos ? rest : rest.substr(0, tab) + ": " + rest.substr(tab + 1));
    }
    return out;
}

}  // namespace

std::vector<std::string> Finished::Messages() const { return MessagesOf(lines, false); }
std::vector<std::string> Finished::MessagesSinceBegin() const { return MessagesOf(lines, true); }

std::string Finished::Transcript() const {
    std::string out = killed ? "(killed)\n" : "(exit " + std::to_string(exitCode) + ")\n";
    for (const std::string& l : lines) out += "  " + l + "\n";
    return out;
}

Driver::Driver(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    int pipeFds[2], inFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0 || ::pipe2(inFds, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "no pipe for the driver: " << std::strerror(errno);
        return;
    }
    const std::string log = Here() + "driver.log";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, inFds[0], STDIN_FILENO);
    std::vector<std::string> argv{FAULT_DRIVER};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    std::vector<std::string> envStrings = DriverEnvironment(env);
    std::vector<char*> cenv;
    for (std::string& e : envStrings) cenv.push_back(e.data());
    cenv.push_back(nullptr);
    const int rc = ::posix_spawn(&m_pid, FAULT_DRIVER, &actions, nullptr, cargv.data(), cenv.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    ::close(inFds[0]);
    m_in = inFds[1];
    if (rc != 0) {
        ADD_FAILURE() << "cannot start " << FAULT_DRIVER << ": " << std::strerror(rc);
        m_pid = -1;
        ::close(pipeFds[0]);
        return;
    }
    m_out = pipeFds[0];
}

Driver::~Driver() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::kill(m_pid, SIGCONT);
        Wait();
    }
    if (m_out >= 0) ::close(m_out);
    if (m_in >= 0) ::close(m_in);
}

void Driver::Go() {
    if (m_in < 0) return;
    (void)!::write(m_in, "g", 1);
    ::close(m_in);
    m_in = -1;
}

bool Driver::ReadSome(int timeoutMs) {
    if (m_out < 0) return false;
    pollfd p{m_out, POLLIN, 0};
    const int r = ::poll(&p, 1, timeoutMs);
    if (r <= 0) return r == 0 || errno == EINTR;  // nothing yet: not the end
    char buf[4096];
    const ssize_t n = ::read(m_out, buf, sizeof buf);
    if (n <= 0) {
        ::close(m_out);
        m_out = -1;
        return false;
    }
    m_pending.append(buf, static_cast<std::size_t>(n));
    std::size_t nl;
    while ((nl = m_pending.find('\n')) != std::string::npos) {
        m_seen.lines.push_back(m_pending.substr(0, nl));
        m_pending.erase(0, nl + 1);
    }
    return true;
}

bool Driver::WaitForLine(const std::string& line, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    std::size_t checked = 0;
    for (;;) {
        for (; checked < m_seen.lines.size(); ++checked)
            if (m_seen.lines[checked] == line) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !ReadSome(static_cast<int>(std::min<long long>(left, 1000)))) return false;
    }
}

void Driver::Signal(int sig) {
    if (m_pid > 0) ::kill(m_pid, sig);
}

Finished Driver::Wait() {
    while (ReadSome(1000)) {
    }
    if (m_pid > 0) {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_seen.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        m_seen.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m_pid = -1;
    }
    if (!m_pending.empty()) m_seen.lines.push_back(m_pending);
    m_pending.clear();
    return m_seen;
}

Finished RunDriver(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    Driver d(args, env);
    return d.Wait();
}

std::string KillAt(const std::string& moment, int nth) {
    return "WAVORA_TEST_KILL_AT=" + moment + ":" + std::to_string(nth);
}

Finished RunKilled(const std::vector<std::string>& args, std::optional<std::chrono::microseconds> delay,
                   const std::vector<std::string>& env, pid_t* pid) {
    Driver d(args, env);
    if (pid) *pid = d.Pid();
    if (delay) {
        // A driver that never says "begin" ends on its own; Wait reports how.
        if (d.WaitForLine("begin")) {
            std::this_thread::sleep_for(*delay);
            d.Signal(SIGKILL);
        }
    }
    return d.Wait();
}

double MeasureSpan(const std::vector<std::string>& args, Finished* out, int runs) {
    double shortest = 0.0;
    for (int i = 0; i < runs; ++i) {
        Driver d(args);
        if (d.WaitForLine("begin")) {
            const auto start = Clock::now();
            if (d.WaitForLine("end")) {
                const double span = std::chrono::duration<double>(Clock::now() - start).count();
                shortest = i == 0 ? span : std::min(shortest, span);
            }
        }
        *out = d.Wait();
        if (out->exitCode != 0) break;
    }
    return shortest;
}

std::string ReadFile(const std::string& path) {
    std::string s;
    ReadWholeFile(path, s, nullptr);
    return s;
}

bool Exists(const std::string& path) { return FileExists(path); }

void WriteFile(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(AtomicWriteFile(path, bytes, nullptr)) << path;
}

void Remove(const std::string& path) { ::unlink(path.c_str()); }

std::vector<TempFile> TempsOf(const std::string& path) {
    std::vector<TempFile> out;
    const std::string folder = FolderOf(path);
    const std::string prefix = TempNamePrefix(path);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return out;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        TempFile t;
        t.path = folder + name;
        t.pid = std::atoi(name.c_str() + prefix.size());
        struct stat st {};
        if (::stat(t.path.c_str(), &st) == 0) t.size = st.st_size;
        out.push_back(t);
    }
    ::closedir(dir);
    return out;
}

std::string TempList(const std::vector<std::string>& paths) {
    std::string out;
    for (const std::string& p : paths)
        for (const TempFile& t : TempsOf(p)) out += "  " + t.path + " (" + std::to_string(t.size) + " bytes)\n";
    return out.empty() ? "  (none)\n" : out;
}

const char* WindowName(Window w) {
    switch (w) {
        case Window::BeforeTemp: return "before the temporary file";
        case Window::InWrite: return "in the write";
        case Window::BeforeRename: return "between write and rename";
        case Window::BetweenRenames: return "between the two renames";
        case Window::After: return "after";
    }
    return "?";
}

Window WindowOfSave(const std::vector<SaveTarget>& files, int pid, bool ended) {
    if (ended) return Window::After;
    std::size_t inPlace = 0;
    bool anyTemp = false, anyShort = false;
    for (const SaveTarget& f : files) {
        const std::string now = ReadFile(f.path);
        if (now == *f.newBytes && now != *f.oldBytes) {
            ++inPlace;
            continue;
        }
        for (const TempFile& t : TempsOf(f.path)) {
            if (t.pid != pid) continue;
            anyTemp = true;
            if (t.size < static_cast<long long>(f.newBytes->size())) anyShort = true;
        }
    }
    if (inPlace == files.size()) return Window::After;
    if (inPlace > 0) return Window::BetweenRenames;
    if (!anyTemp) return Window::BeforeTemp;
    return anyShort ? Window::InWrite : Window::BeforeRename;
}

void Tally::Add(const std::string& window, bool good) {
    ++m_kills;
    ++m_counts[window];
    if (!good) ++m_bad;
}

void Tally::Print(const std::string& badText) const {
    std::string line = "[fault-suite] " + m_scenario + ": " + std::to_string(m_kills) + " kills";
    for (const std::string& w : m_windows) {
        const auto it = m_counts.find(w);
        line += ", " + std::to_string(it == m_counts.end() ? 0 : it->second) + " " + w;
    }
    for (const auto& [w, n] : m_counts)
        if (std::find(m_windows.begin(), m_windows.end(), w) == m_windows.end())
            line += ", " + std::to_string(n) + " " + w;
    line += "; " + std::to_string(m_bad) + " " + badText;
    for (const auto& [what, n] : m_notes) line += "; " + std::to_string(n) + " " + what;
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool IsJapanese(const std::string& text) {
    // Hiragana, katakana and the common kanji all lie in three-byte UTF-8 sequences
    // starting E3 to E9; half-width katakana start EF BD / EF BE.
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0xE3 && c <= 0xE9) return true;
        if (c == 0xEF && (static_cast<unsigned char>(text[i + 1]) == 0xBD ||
                          static_cast<unsigned char>(text[i + 1]) == 0xBE))
            return true;
    }
    return false;
}

bool AnyMessageHas(const std::vector<std::string>& messages, const std::string& part) {
    for (const std::string& m : messages)
        if (m.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace wv::faultsuite
