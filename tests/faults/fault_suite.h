// What the fault suite's tests share: the driver program in a child process (started,
// read line by line, stopped, killed), the files a killed save leaves, the windows a kill
// can hit, and the tally each scenario prints.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <sys/types.h>
#include <vector>

namespace wv::faultsuite {

// The test's scratch folder (the current folder), ending in '/'.
std::string Here();

// What a driver process said and how it ended.
struct Finished {
    bool killed = false;  // ended by SIGKILL
    int exitCode = -1;    // when it exited
    std::vector<std::string> lines;

    bool Has(const std::string& line) const;
    // The last line that starts with `prefix`, empty when none.
    std::string Last(const std::string& prefix) const;
    // The texts of the messages it showed ("caption: text", line ends as "\n").
    std::vector<std::string> Messages() const;
    // Those shown once the operation had begun.
    std::vector<std::string> MessagesSinceBegin() const;
    // Every line, for a failure report.
    std::string Transcript() const;
};

// The driver in a child process, started in the scratch folder (its start folder) with
// its settings and runtime folders inside it, one solver thread, and `env` added
// ("NAME=value"). Its standard error goes to driver.log in the scratch folder.
class Driver {
public:
    explicit Driver(const std::vector<std::string>& args, const std::vector<std::string>& env = {});
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    pid_t Pid() const { return m_pid; }
    // Lets a driver that waits for its go (FAULT_DRIVER_WAIT) go on.
    void Go();
    // Reads until a line equal to `line`: false at the end of the output or after
    // `seconds` (a generous bound: correctness never depends on it).
    bool WaitForLine(const std::string& line, double seconds = 120.0);
    void Signal(int sig);
    // Reads the rest of the output and waits for the process to end.
    Finished Wait();

private:
    bool ReadSome(int timeoutMs);

    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;  // the driver's standard input
    std::string m_pending;
    Finished m_seen;
};

Finished RunDriver(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// The environment entry that kills the driver the `nth` time it passes `moment`.
std::string KillAt(const std::string& moment, int nth);
// A moment is passed a few times per operation at most; the named-kill loops stop at the
// first count the driver lives through, or here.
constexpr int kMaxPasses = 12;

// Starts the driver and kills it `delay` after it said "begin" (or, with no delay, lets it
// run: a WAVORA_TEST_KILL_AT in `env` may kill it).
Finished RunKilled(const std::vector<std::string>& args, std::optional<std::chrono::microseconds> delay,
                   const std::vector<std::string>& env, pid_t* pid);

// Seconds from the driver's "begin" to its "end", the shortest of `runs` runs: the span
// random kills are drawn over. The shortest, because a run slowed by the machine's other
// work would spread the kills past the end of the others. `out` is the last run.
double MeasureSpan(const std::vector<std::string>& args, Finished* out, int runs = 3);

// Delays drawn from a seeded generator, evenly over the span and a tenth beyond it, so
// that "after" gets its share too.
class KillClock {
public:
    KillClock(unsigned seed, double spanSeconds) : m_gen(seed), m_span(spanSeconds) {}
    std::chrono::microseconds Next() {
        std::uniform_real_distribution<double> d(0.0, m_span * 1.1);
        return std::chrono::microseconds(static_cast<long long>(d(m_gen) * 1e6));
    }

private:
    std::mt19937 m_gen;
    double m_span;
};

std::string ReadFile(const std::string& path);  // empty when missing
bool Exists(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
void Remove(const std::string& path);

// Our temporary files beside `path` (".<name>.wvtmp-<pid>-..."), with the pid that made
// each and its size.
struct TempFile {
    std::string path;
    int pid = 0;
    long long size = 0;
};
std::vector<TempFile> TempsOf(const std::string& path);
std::string TempList(const std::vector<std::string>& paths);  // for reports

// The moments of a save a kill can hit, in order.
enum class Window { BeforeTemp, InWrite, BeforeRename, BetweenRenames, After };
const char* WindowName(Window w);

// One file of a save: where it goes, what was there before and what the save writes.
struct SaveTarget {
    std::string path;
    const std::string* oldBytes;
    const std::string* newBytes;
};
// The window a kill of process `pid` hit, read from what it left: how many files of the
// save were in place, and how far the temporary files of that process had got.
Window WindowOfSave(const std::vector<SaveTarget>& files, int pid, bool ended);

// A scenario's counts: kills by window and kills after which anything was wrong.
class Tally {
public:
    Tally(std::string scenario, std::vector<std::string> windows)
        : m_scenario(std::move(scenario)), m_windows(std::move(windows)) {}
    void Add(const std::string& window, bool good);
    void Note(const std::string& what) { ++m_notes[what]; }
    int Kills() const { return m_kills; }
    int Bad() const { return m_bad; }
    // "[fault-suite] <scenario>: N kills, a <window>, ..., B left anything but old or new"
    void Print(const std::string& badText = "left anything but old or new") const;

private:
    std::string m_scenario;
    std::vector<std::string> m_windows;
    std::map<std::string, int> m_counts;
    std::map<std::string, int> m_notes;
    int m_kills = 0;
    int m_bad = 0;
};

// Texts the suite looks for in messages.
bool IsJapanese(const std::string& text);
bool AnyMessageHas(const std::vector<std::string>& messages, const std::string& part);

}  // namespace wv::faultsuite
