// A small fixed pool of threads for the independent pieces of one column (frequency
// components, result rows). Tasks write only their own slots, so results do not depend
// on the number of threads or on which thread runs which task.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace wv::solv {

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

private:
    void WorkerLoop(int worker);
    void Drain(int worker);

    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void(int, int)>* m_job = nullptr;
    int m_count = 0;
    std::atomic<int> m_next{0};
    int m_busy = 0;
    unsigned long m_generation = 0;
    bool m_stop = false;
};

// Threads for a run: the override of the tests, else WAVORA_THREADS, else the
// hardware's count.
int ResolveThreadCount();

}  // namespace wv::solv
