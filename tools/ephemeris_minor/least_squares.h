// Gauss-Newton least squares with a numerical Jacobian, for the fits of the generators in this
// folder (the start of Pluto's integration, the mean elements of the fallback).
#pragma once

#include <cmath>
#include <cstddef>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace fit {

using Parameters = std::vector<double>;
// Residuals (data minus model) of the parameters.
using ResidualFn = std::function<std::vector<double>(const Parameters&)>;

// Solves the square system a x = b by Gaussian elimination with partial pivoting.
inline Parameters SolveLinear(std::vector<std::vector<double>> a, Parameters b) {
  const std::size_t n = b.size();
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t pivot = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    std::swap(a[c], a[pivot]);
    std::swap(b[c], b[pivot]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const double f = a[r][c] / a[c][c];
      for (std::size_t k = c; k < n; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  Parameters x(n);
  for (std::size_t r = n; r-- > 0;) {
    double s = b[r];
    for (std::size_t k = r + 1; k < n; ++k) s -= a[r][k] * x[k];
    x[r] = s / a[r][r];
  }
  return x;
}

// One Gauss-Newton step from `p`: the derivatives come from moving each parameter by its `delta`,
// `threads` residual evaluations at a time. Returns the improved parameters.
inline Parameters GaussNewtonStep(const ResidualFn& residuals, const Parameters& p,
                                  const Parameters& delta, std::size_t threads) {
  const std::size_t n = p.size();
  const std::vector<double> base = residuals(p);
  std::vector<std::vector<double>> jacobian(n);  // d(model) / d(parameter), one column each
  std::vector<std::thread> workers;
  for (std::size_t k = 0; k < n; ++k) {
    workers.emplace_back([&, k] {
      Parameters q = p;
      q[k] += delta[k];
      const std::vector<double> moved = residuals(q);
      jacobian[k].resize(base.size());
      for (std::size_t i = 0; i < base.size(); ++i)
        jacobian[k][i] = (base[i] - moved[i]) / delta[k];
    });
    if (workers.size() == threads || k + 1 == n) {
      for (std::thread& w : workers) w.join();
      workers.clear();
    }
  }
  std::vector<std::vector<double>> normal(n, std::vector<double>(n, 0.0));
  Parameters rhs(n, 0.0);
  for (std::size_t a = 0; a < n; ++a) {
    for (std::size_t b = 0; b < n; ++b)
      for (std::size_t i = 0; i < base.size(); ++i) normal[a][b] += jacobian[a][i] * jacobian[b][i];
    for (std::size_t i = 0; i < base.size(); ++i) rhs[a] += jacobian[a][i] * base[i];
  }
  const Parameters step = SolveLinear(std::move(normal), std::move(rhs));
  Parameters next = p;
  for (std::size_t k = 0; k < n; ++k) next[k] += step[k];
  return next;
}

}  // namespace fit
