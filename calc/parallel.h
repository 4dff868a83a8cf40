// A small fixed pool of worker threads for the data-parallel loops of the depth
// calculation (grid lines, rows). Work items are independent and each writes only its
// own output, so results do not depend on the number of threads.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace wv {

class ParallelRunner {
public:
    // 0 threads: one per hardware thread. 1: everything runs on the caller's thread. Fewer
    // where the system cannot start as many.
    explicit ParallelRunner(int threads = 0);
    ~ParallelRunner();
    ParallelRunner(const ParallelRunner&) = delete;
    ParallelRunner& operator=(const ParallelRunner&) = delete;

    int Threads() const { return m_threads; }
    // The threads a runner asked for `threads` starts with, the caller's included.
    static int ThreadsFor(int threads);
    // The memory each worker thread takes beyond the caller's: what a command that
    // weighs its memory first counts for each.
    static std::uint64_t BytesPerWorker();

    // Calls fn(i) for every i in [begin, end), spread over the threads; returns when all
    // are done. An exception thrown by fn is rethrown here after the others finished.
    void For(int begin, int end, const std::function<void(int)>& fn);

private:
    void Worker();
    void RunShare();

    int m_threads = 1;
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::function<void(int)>* m_fn = nullptr;
    int m_next = 0;
    int m_end = 0;
    int m_busy = 0;
    unsigned m_generation = 0;
    bool m_stop = false;
    std::exception_ptr m_error;
};

}  // namespace wv
