#include "solver/team_plan.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace wv::solv {

double TeamPlan::Rate(int members) const {
    if (members < 1 || members >= static_cast<int>(m_sizes.size())) return 0.0;
    return m_sizes[static_cast<std::size_t>(members)].rate;
}

std::vector<int> TeamPlan::Sizes(const std::vector<double>& cost, const std::vector<int>& cap, int threads) const {
    const int jobs = static_cast<int>(cost.size());
    std::vector<int> size(static_cast<std::size_t>(jobs), 1);
    const double solo = Rate(1);
    if (solo <= 0.0 || m_sizes[1].age >= kSoloRecheckColumns) return size;
    // The time a job is expected to take with s members; a size not yet measured is
    // taken as sharing the work perfectly, so that it gets tried, one size beyond the
    // measured ones at a time.
    auto span = [&](int job, int s) {
        const double r = Rate(s);
        return cost[static_cast<std::size_t>(job)] * (r > 0.0 ? r : solo / s);
    };
    for (int spare = threads - jobs; spare > 0; --spare) {
        // Only the job the column waits for is worth a thread: a shorter one ending
        // sooner shortens nothing.
        int longest = 0, second = -1;
        for (int t = 1; t < jobs; ++t)
            if (span(t, size[static_cast<std::size_t>(t)]) > span(longest, size[static_cast<std::size_t>(longest)]))
                longest = t;
        for (int t = 0; t < jobs; ++t)
            if (t != longest &&
                (second < 0 || span(t, size[static_cast<std::size_t>(t)]) > span(second, size[static_cast<std::size_t>(second)])))
                second = t;
        const int s = size[static_cast<std::size_t>(longest)];
        if (s >= cap[static_cast<std::size_t>(longest)] || Rate(s) <= 0.0) break;
        // A spare thread finds the next column's work while the column runs; in a team it
        // leaves that work to the end of the column, for every thread to share. So it
        // joins only where the column then ends sooner by more than its share of the
        // column.
        const double before = span(longest, s);
        double after = span(longest, s + 1);
        if (second >= 0) after = std::max(after, span(second, size[static_cast<std::size_t>(second)]));
        if (!(after < before * (1.0 - 1.0 / threads))) break;
        ++size[static_cast<std::size_t>(longest)];
    }
    return size;
}

void TeamPlan::Measured(int members, double cost, double seconds) {
    if (members < 1 || !(cost > 0.0) || !(seconds >= 0.0)) return;
    if (members >= static_cast<int>(m_sizes.size())) m_sizes.resize(static_cast<std::size_t>(members) + 1);
    Size& s = m_sizes[static_cast<std::size_t>(members)];
    s.seconds += seconds;
    s.cost += cost;
}

void TeamPlan::EndColumn() {
    for (Size& s : m_sizes) {
        if (s.cost > 0.0) {
            // Half the old measure, half the new: one column held up by another program
            // does not turn the plan on its own.
            const double rate = s.seconds / s.cost;
            s.rate = s.rate > 0.0 ? 0.5 * (s.rate + rate) : rate;
            s.age = 0;
        } else if (s.rate > 0.0 && ++s.age > kRetryColumns) {
            s.rate = 0.0;
            s.age = 0;
        }
        s.seconds = s.cost = 0.0;
    }
}

void ThreadPlaces::Reset(int threads) {
    m_pace.assign(static_cast<std::size_t>(threads > 0 ? threads : 0), Measure{});
    m_order.resize(m_pace.size());
    for (std::size_t w = 0; w < m_order.size(); ++w) m_order[w] = static_cast<int>(w);
}

void ThreadPlaces::Probe(int worker) {
    if (worker < 0 || static_cast<std::size_t>(worker) >= m_pace.size()) return;
    // Twelve independent chains of multiplications and additions keep the arithmetic
    // units of a core busy, so that a core shared with another program's thread shows;
    // a loop bound by the latency of one chain runs alike on shared and unshared cores.
    // The chains stay near 1, far from subnormal numbers and overflow.
    using Pair = double __attribute__((vector_size(16)));
    constexpr int kChains = 12;
    constexpr int kSteps = 384;
    Pair chain[kChains];
    for (int c = 0; c < kChains; ++c) chain[c] = Pair{1.0 + c * 1e-3, 1.0 - c * 1e-3};
    const Pair scale{0.999999, 0.999998};
    const Pair lift{1e-6, 2e-6};
    const auto begun = std::chrono::steady_clock::now();
    for (int n = 0; n < kSteps; ++n)
        for (int c = 0; c < kChains; ++c) chain[c] = chain[c] * scale + lift;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    Pair sum{0.0, 0.0};
    for (int c = 0; c < kChains; ++c) sum += chain[c];
    m_pace[static_cast<std::size_t>(worker)].probed = sum[0] + sum[1];
    Measured(worker, seconds);
}

void ThreadPlaces::Measured(int worker, double seconds) {
    if (worker < 0 || static_cast<std::size_t>(worker) >= m_pace.size() || !(seconds > 0.0)) return;
    // A measure interrupted by the host counts at most as twice the thread's pace.
    double& pace = m_pace[static_cast<std::size_t>(worker)].seconds;
    pace = pace > 0.0 ? 0.9 * pace + 0.1 * std::min(seconds, 2.0 * pace) : seconds;
}

double ThreadPlaces::Pace(int worker) const {
    return worker >= 0 && static_cast<std::size_t>(worker) < m_pace.size()
               ? m_pace[static_cast<std::size_t>(worker)].seconds
               : 0.0;
}

std::vector<int> ThreadPlaces::StartOrder(const std::vector<double>& cost, const std::vector<int>& threadOf) const {
    const std::size_t n = std::min(cost.size(), threadOf.size());
    std::vector<int> order(n);
    std::vector<double> expected(cost.begin(), cost.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t j = 0; j < n; ++j) order[j] = static_cast<int>(j);
    double fastest = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
        const double pace = Pace(threadOf[j]);
        if (!(pace > 0.0)) return order;
        fastest = j == 0 ? pace : std::min(fastest, pace);
    }
    for (std::size_t j = 0; j < n; ++j) {
        const double slower = Pace(threadOf[j]) / fastest;
        if (slower >= kClearlySlower) expected[j] *= slower;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return expected[static_cast<std::size_t>(a)] > expected[static_cast<std::size_t>(b)];
    });
    return order;
}

const std::vector<int>& ThreadPlaces::Order() {
    for (bool moved = true; moved;) {
        moved = false;
        for (std::size_t p = 0; p + 1 < m_order.size(); ++p) {
            const double here = Pace(m_order[p]), next = Pace(m_order[p + 1]);
            if (next > 0.0 && here > kClearlySlower * next) {
                std::swap(m_order[p], m_order[p + 1]);
                moved = true;
            }
        }
    }
    return m_order;
}

}  // namespace wv::solv
