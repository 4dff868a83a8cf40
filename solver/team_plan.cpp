#include "solver/team_plan.h"

#include <algorithm>
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
    const std::size_t n = static_cast<std::size_t>(threads > 0 ? threads : 0);
    m_pace.assign(n, Measure{});
    m_order.resize(n);
    for (std::size_t w = 0; w < n; ++w) m_order[w] = static_cast<int>(w);
    m_placeBefore.assign(n, -1);
    m_settled.assign(n, 0);
    m_columns = 0;
    m_spareTried = 0;
}

void ThreadPlaces::Measured(int worker, double seconds) {
    if (worker < 0 || static_cast<std::size_t>(worker) >= m_pace.size() || !(seconds > 0.0)) return;
    // A solve interrupted by the host counts at most as one and a half times the thread's
    // pace: one alone moves the mean by five per cent at most.
    double& pace = m_pace[static_cast<std::size_t>(worker)].seconds;
    pace = pace > 0.0 ? 0.9 * pace + 0.1 * std::min(seconds, 1.5 * pace) : seconds;
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
        if (slower >= kSetOutEarlier) expected[j] *= slower;
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return expected[static_cast<std::size_t>(a)] > expected[static_cast<std::size_t>(b)];
    });
    return order;
}

const std::vector<int>& ThreadPlaces::Order(int working) {
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
    const int threads = Threads();
    if (working > 0 && working < threads && ++m_columns % kTrySpareColumns == 0) {
        // Each spare place in turn. The thread that comes in is measured anew; until
        // then it holds its place, and the thread that made way for it keeps its measure,
        // so that whichever is clearly faster takes the place.
        const int spare = working + m_spareTried++ % (threads - working);
        std::swap(m_order[static_cast<std::size_t>(working - 1)], m_order[static_cast<std::size_t>(spare)]);
        m_pace[static_cast<std::size_t>(m_order[static_cast<std::size_t>(working - 1)])].seconds = 0.0;
    }
    for (std::size_t p = 0; p < m_order.size(); ++p) {
        const auto w = static_cast<std::size_t>(m_order[p]);
        m_settled[w] = m_placeBefore[w] == static_cast<int>(p) ? 1 : 0;
        m_placeBefore[w] = static_cast<int>(p);
    }
    return m_order;
}

}  // namespace wv::solv
