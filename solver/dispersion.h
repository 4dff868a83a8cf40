// Linear-wave routines: the dispersion relation of the march (pi = 3.14159) and the
// shoaling family behind the refraction coefficient (full-precision pi).
#pragma once

namespace wv::solv {

enum class DispersionFault { None, Land, NoSolution };

// Wavelength L at depth h for period T, by Newton's method on y tanh y = w^2 h / g.
// Returns 1 in deep water (w^2 h / g > 10, L = g T^2 / 2 pi), 0 at finite depth, -1 on
// failure: a depth <= 0 (L is not written) or an iteration that does not give a
// positive kh. It shows no message: the caller reports `fault` (threads must not).
int DISPERSION(double h, double T, double& L, DispersionFault* fault = nullptr);

// Group velocity from the dispersion result: c/2 (1 + 2kh / sinh 2kh), or c/2 in deep
// water, with 2kh written as 4 pi h / L.
double GroupVelocity(double h, double L, double c, int flag);

// tanh x as (e^x - e^-x) / (e^-x + e^x).
double TANHF(double x);
// Wavelength by Newton's method on L/L0' - tanh(2 pi h / L), at most 21 steps.
double WAVELENGTH(double g, double T, double h);
// Linear shoaling coefficient Ks = 1 / sqrt(tanh kh (1 + 2kh / sinh 2kh)).
double SHOALCOEF(double h, double L);
// H divided by the shoaling coefficient of period T at depth h.
double REFRCOEF(double T, double h, double H);

}  // namespace wv::solv
