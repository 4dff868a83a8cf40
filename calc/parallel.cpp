#include "calc/parallel.h"

#include <algorithm>
#include <exception>

namespace wv {

ParallelRunner::ParallelRunner(int threads) {
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    m_threads = std::max(1, threads);
    for (int t = 1; t < m_threads; ++t) m_workers.emplace_back([this] { Worker(); });
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
