#include "calc/parallel.h"

#include <algorithm>
#include <exception>
#include <pthread.h>
#include <system_error>

namespace wv {

ParallelRunner::ParallelRunner(int threads) {
    m_threads = ThreadsFor(threads);
    // Where the system has no room for another thread (a limit on the address space, on
    // processes), the work goes on with those it has: results do not depend on the count.
    for (int t = 1; t < m_threads; ++t) {
        try {
            m_workers.emplace_back([this] { Worker(); });
        } catch (const std::system_error&) {
            m_threads = t;
            break;
        }
    }
}

std::uint64_t ParallelRunner::BytesPerWorker() {
    // The thread's stack, and the arena its first allocation reserves in the allocator
    // (64 MB of address space on a 64-bit system).
    std::uint64_t stack = std::uint64_t{8} << 20;
    pthread_attr_t attr;
    if (pthread_attr_init(&attr) == 0) {
        std::size_t size = 0;
        if (pthread_attr_getstacksize(&attr, &size) == 0 && size > 0) stack = size;
        pthread_attr_destroy(&attr);
    }
    return stack + (std::uint64_t{64} << 20);
}

int ParallelRunner::ThreadsFor(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, threads);
}

ParallelRunner::~ParallelRunner() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (auto& w : m_workers) w.join();
}

// Takes items one small chunk at a time until none are left.
void ParallelRunner::RunShare() {
    for (;;) {
        int begin, end;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_next >= m_end) return;
            const int left = m_end - m_next;
            const int chunk = std::max(1, std::min(64, left / (4 * m_threads)));
            begin = m_next;
            end = begin + chunk;
            m_next = end;
        }
        try {
            for (int i = begin; i < end; ++i) (*m_fn)(i);
        } catch (...) {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_error) m_error = std::current_exception();
            m_next = m_end;
        }
    }
}

void ParallelRunner::Worker() {
    unsigned seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
            if (m_stop) return;
            seen = m_generation;
            ++m_busy;
        }
        RunShare();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            --m_busy;
        }
        m_done.notify_all();
    }
}

void ParallelRunner::For(int begin, int end, const std::function<void(int)>& fn) {
    if (begin >= end) return;
    if (m_workers.empty()) {
        for (int i = begin; i < end; ++i) fn(i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_fn = &fn;
        m_next = begin;
        m_end = end;
        m_error = nullptr;
        ++m_generation;
    }
    m_wake.notify_all();
    RunShare();
    std::exception_ptr error;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return m_busy == 0 && m_next >= m_end; });
        m_fn = nullptr;
        error = m_error;
        m_error = nullptr;
    }
    if (error) std::rethrow_exception(error);
}

}  // namespace wv
