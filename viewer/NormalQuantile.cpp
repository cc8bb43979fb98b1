#include "NormalQuantile.h"

const std::array<double, 24>& CoarseIndex()
{
    static const std::array<double, 24> index = [] {
        std::array<double, 24> built{};
        for (int i = 1; i <= 24; ++i) built[i - 1] = QuantileTable[20 * i].T;
        return built;
    }();
    return index;
}

namespace {

// The first row from row 1 on whose probability is below b: at most 24
// comparisons in the coarse index, then at most 22 rows of the table.
int FirstRowBelow(double b)
{
    const std::array<double, 24>& coarse = CoarseIndex();
    int i = 1;
    while (i < 24 && !(b > coarse[i - 1])) ++i;
    int e = 20 * i - 21;
    if (e < 1) e = 1;
    while (e < QuantileTableRows - 1 && b <= QuantileTable[e].T) ++e;
    return e;
}

}  // namespace

double NormalQuantile(double p)
{
    const bool upper = p > 0.5;
    const double b = upper ? static_cast<double>(1 - static_cast<long double>(p)) : p;
    const int e = FirstRowBelow(b);
    const TQuantileRow& below = QuantileTable[e];
    const TQuantileRow& above = QuantileTable[e - 1];
    using Extended = long double;
    const double r = static_cast<double>(below.W + (Extended(b) - below.T) /
                                                       (Extended(above.T) - below.T) *
                                                       (Extended(above.W) - below.W));
    return upper ? -r : r;
}
