// The standard normal quantile by lookup in a fixed table with linear
// interpolation, as the distribution check has always computed it.
#pragma once

#include <array>

// A probability T and the standard normal quantile W with Phi(W) = T. The
// probabilities fall strictly from row 0 (0.52955) to row 322 (0); rows 322 ...
// 500 are zero. Rows 0 and 1 mirror rows 4 and 3 and are never reached.
struct TQuantileRow {
    double T;
    double W;
};

constexpr int QuantileTableRows = 501;
extern const TQuantileRow QuantileTable[QuantileTableRows];

// The probabilities of rows 20, 40, ..., 480 (entry i - 1 for row 20 * i), which
// shorten the search. Built on first use and then kept for the program's life.
const std::array<double, 24>& CoarseIndex();

// The quantile of p, 0 < p < 1: -NormalQuantile(1 - p) above one half, exactly 0
// at one half. Reads only rows 1 ... 500 whatever p is.
double NormalQuantile(double p);
