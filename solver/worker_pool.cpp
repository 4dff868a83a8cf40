#include "solver/worker_pool.h"

#include "platform/text.h"
#include "solver/solver_hooks.h"

#include <cstdlib>

namespace wv::solv {

namespace {
std::atomic<int> g_threadOverride{0};
}

void SetThreadCountOverride(int n) { g_threadOverride.store(n > 0 ? n : 0); }

int SolverThreadCount() { return ResolveThreadCount(); }

int ResolveThreadCount() {
    const int forced = g_threadOverride.load();
    if (forced > 0) return forced;
    if (const char* env = std::getenv("WAVORA_THREADS")) {
        const int n = WinAtoi(env);
        if (n > 0) return n > 256 ? 256 : n;
    }
    const unsigned hw = std::thread::hardware_concurrency();
    return hw > 0 ? static_cast<int>(hw) : 1;
}

WorkerPool::WorkerPool(int threads) {
    for (int w = 1; w < threads; ++w) m_threads.emplace_back([this, w] { WorkerLoop(w); });
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    for (auto& t : m_threads) t.join();
}

void WorkerPool::Drain(int worker) {
    for (;;) {
        const int task = m_next.fetch_add(1);
        if (task >= m_count) break;
        (*m_job)(task, worker);
    }
}

void WorkerPool::WorkerLoop(int worker) {
    unsigned long seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stop || m_generation != seen; });
            if (m_stop) return;
            seen = m_generation;
        }
        Drain(worker);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (--m_busy == 0) m_done.notify_all();
        }
    }
}

void WorkerPool::Run(int count, const std::function<void(int, int)>& fn) {
    if (count <= 0) return;
    if (m_threads.empty() || count == 1) {
        for (int t = 0; t < count; ++t) fn(t, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_job = &fn;
        m_count = count;
        m_next.store(0);
        m_busy = static_cast<int>(m_threads.size());
        ++m_generation;
    }
    m_wake.notify_all();
    Drain(0);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [&] { return m_busy == 0; });
    m_job = nullptr;
}

}  // namespace wv::solv
