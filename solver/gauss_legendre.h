// Gauss-Legendre quadrature with the tabulated rules for 1 to 16 points.
#pragma once

namespace wv::solv {

struct GaussLegendreRule {
    int n;
    double centreWeight;  // weight of the abscissa 0 for odd n, else 0
    double abscissa[8];   // positive abscissae, increasing
    double weight[8];
};

// The rule for n points, or nullptr outside 1..16.
const GaussLegendreRule* GaussLegendreRuleFor(int n);

// Integrates f over [a, b] with the n-point rule. For n outside 1..16 `result` is left
// as it was.
template <class F>
void GAUSSLEGENDRE(F&& f, double a, double b, int n, double& result) {
    const GaussLegendreRule* rule = GaussLegendreRuleFor(n);
    if (!rule) return;
    const double c = (a + b) * 0.5;
    const double h = (b - a) * 0.5;
    double sum = (n % 2 == 1) ? rule->centreWeight * f(c) : 0.0;
    for (int i = 0; i < n / 2; ++i) {
        const double x = rule->abscissa[i];
        sum += rule->weight[i] * (f(c - h * x) + f(c + h * x));
    }
    result = h * sum;
}

}  // namespace wv::solv
