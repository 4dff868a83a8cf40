#include "solver/team_plan.h"

namespace wv::solv {

double TeamPlan::Rate(int members) const {
    if (members < 1 || members >= static_cast<int>(m_sizes.size())) return 0.0;
    return m_sizes[static_cast<std::size_t>(members)].rate;
}

std::vector<int> TeamPlan::Sizes(const std::vector<double>& cost, const std::vector<int>& cap, int threads) const {
    const int jobs = static_cast<int>(cost.size());
    std::vector<int> size(static_cast<std::size_t>(jobs), 1);
    const double solo = Rate(1);
    if (solo <= 0.0) return size;
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
        int longest = 0;
        for (int t = 1; t < jobs; ++t)
            if (span(t, size[static_cast<std::size_t>(t)]) > span(longest, size[static_cast<std::size_t>(longest)]))
                longest = t;
        const int s = size[static_cast<std::size_t>(longest)];
        if (s >= cap[static_cast<std::size_t>(longest)] || Rate(s) <= 0.0 || !(span(longest, s + 1) < span(longest, s)))
            break;
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

}  // namespace wv::solv
