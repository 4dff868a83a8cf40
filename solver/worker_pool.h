// A small fixed pool of threads for the work of one column: independent tasks (row
// blocks of the wave quantities, the statistics and the records; small segments) and
// teams of threads that solve one system together. Which thread runs what never enters
// a result: tasks write only their own slots, and a team's sums run in a fixed order of
// their own (segment_solver.h).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace wv::solv {

inline void CpuRelax() {
#if defined(__x86_64__) || defined(__i386__)
    asm volatile("" ::: "memory");
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// How long a wait inside a job spins before it sleeps: the waits inside a column last
// microseconds, and waking a sleeper costs about as much again.
inline constexpr std::chrono::microseconds kSpinBeforeSleep{200};

// Waits until ready(counter's value) is true: spinning first, then sleeping on the
// counter, so that on a loaded machine the thread that is waited for gets the
// processor. Whoever changes the counter notifies.
template <class T, class Ready>
void WaitUntil(std::atomic<T>& counter, Ready ready) {
    if (ready(counter.load(std::memory_order_acquire))) return;
    const auto until = std::chrono::steady_clock::now() + kSpinBeforeSleep;
    for (int n = 1;; ++n) {
        if (ready(counter.load(std::memory_order_acquire))) return;
        CpuRelax();
        if ((n & 63) == 0 && std::chrono::steady_clock::now() >= until) break;
    }
    for (;;) {
        const T seen = counter.load(std::memory_order_acquire);
        if (ready(seen)) return;
        counter.wait(seen, std::memory_order_acquire);
    }
}

// A barrier for the members of one team.
class TeamBarrier {
public:
    explicit TeamBarrier(int members) : m_members(members) {}
    // Between two uses, while no member waits.
    void Reset(int members) {
        m_members = members;
        m_arrived.store(0, std::memory_order_relaxed);
    }
    void Wait();

private:
    int m_members;
    alignas(64) std::atomic<int> m_arrived{0};
    alignas(64) std::atomic<unsigned> m_phase{0};
};

class WorkerPool {
public:
    // `threads` counts the calling thread, which takes part in every Run.
    explicit WorkerPool(int threads);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int Size() const { return static_cast<int>(m_threads.size()) + 1; }
    // Calls fn(task, worker) for every task in 0..count-1 and returns when all are done.
    // worker is in 0..Size()-1 and names the per-thread work space to use.
    void Run(int count, const std::function<void(int task, int worker)>& fn);
    // Calls fn(member) on `members` threads at the same time (member 0 is the caller),
    // for work whose members wait for each other; members <= Size().
    void RunTeam(int members, const std::function<void(int member)>& fn);

private:
    void WorkerLoop(int worker);
    void Dispatch(int count, int members, const std::function<void(int, int)>* tasks,
                  const std::function<void(int)>* team);
    void Drain(int worker);

    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    int m_sleepers = 0;
    bool m_callerSleeps = false;
    // The job of the current generation; written only while every worker is idle.
    const std::function<void(int, int)>* m_tasks = nullptr;
    const std::function<void(int)>* m_team = nullptr;
    int m_count = 0;
    int m_members = 0;
    alignas(64) std::atomic<std::uint64_t> m_generation{0};
    alignas(64) std::atomic<int> m_next{0};
    alignas(64) std::atomic<int> m_pending{0};
    std::atomic<bool> m_stop{false};
};

// Threads for a run: the override of the tests, else WAVORA_THREADS, else the
// hardware's count.
int ResolveThreadCount();

}  // namespace wv::solv
