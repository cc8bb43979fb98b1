#include "FitEngine.h"

#include <immintrin.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstring>

#include "FitEngineSpeed.h"
#include "FloatTraps.h"

// Arithmetic: every formula is evaluated in extended precision in the written
// operand order and rounded to double where a value is stored, so the search
// takes the same path on every machine with the same exponential.
//
// Speed. A pass evaluates the residual sum up to fifteen times, which is all of
// the engine's time. Each sum holds three chains of dependent steps (E^j, b*j
// and the running sum of squares), and every step, rounded to double through
// memory, waits for the one before. The fast sums keep the exact results and
// lose that wait:
// - A chain is run in double precision. A double-precision step gives the same
//   double as the extended-precision step rounded to double unless the exact
//   result lies within a 64-bit unit of a point halfway between two doubles.
//   Its exact rounding error, from an error-free product or sum, tells; the
//   steps are checked in blocks, four at a time. A step that is not proven
//   (about one in a thousand) is done the extended way and the steps after it
//   again.
// - The running sum takes each square with a fused multiply-add, so that the
//   double-precision step rounds once, as the extended one nearly does.
// - The residuals themselves are formed in extended precision as written;
//   E^j - 1 comes ready from the double unit where it is exact.
// - E^j depends only on c and d, and b*j only on b: a trial reads the chains of
//   the current point that it shares and forms only the one it changes.
// - A few recent sums are remembered: the c search often tries the point it
//   has just left.
// Any trap flag raised in a fast sum sends it to the plain sum, which faults
// exactly where the one-by-one arithmetic would. The fast sums need the
// processor's fused multiply-add and four-wide double arithmetic; without them
// every sum is the plain one.
namespace {

using Extended = long double;

double Stored(Extended value)
{
    return static_cast<double>(value);
}

// Within a residual sum every input is finite and the only infinity comes from
// the exponential, so the first fault is always an overflow; an invalid
// operation can only follow one. The chain values are passed so that their
// last updates are made before the flags are read.
__attribute__((noipa)) double CheckedSum(double value, double, double)
{
    if (std::fetestexcept(FE_OVERFLOW)) {
        ClearFloatingPointFlags();
        throw EFloatingPointTrap(TrapOverflowText);
    }
    CheckFloatingPointTraps();
    return value;
}

// True when a trap flag is raised; the values are passed so that the
// operations producing them are done before the flags are read.
__attribute__((noipa)) bool TrapRaised(double, double, double)
{
    return std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != 0;
}

bool TakesPart(double value)
{
    return !(value < PresentThreshold);
}

// The residual sum exactly as the model defines it, one rounding after the
// other; the trap flags must be clear on entry.
double PlainSum(const TMeasurementSeries& series, double a, double b, double c, double d)
{
    const double* y = series.y;
    double sum = 0;
    const bool exponential = std::isgreater(c, 0.0);
    double E = 0, P = 0;
    if (exponential) {
        const double q = CheckedSum(Stored(Extended(d) / c), 0, 0);
        E = std::exp(q);
        ClearFloatingPointFlags();  // the exponential never traps
        P = E;
    }
    double X = b;
    for (int j = 1; j <= series.n; ++j) {
        if (TakesPart(y[j])) {
            double r;
            if (exponential)
                r = Stored(Extended(y[j]) - ((Extended(P) - 1) * c + (Extended(a) + X)));
            else
                r = Stored((Extended(a) + X) - y[j]);
            sum = Stored(Extended(r) * r + sum);
        }
        if (exponential) P = Stored(Extended(E) * P);
        X = Stored(Extended(b) + X);
    }
    return CheckedSum(sum, P, X);
}

// ---- Proofs that a double-precision step rounds as the extended one ------------
//
// A step wants RN53(RN64(x)): the exact result x rounded to 64 bits and then to
// 53. Let v = RN53(x) and let the exact error x - v be known (an error-free
// product or sum gives it). Let h be half the spacing of the doubles just below
// v; it is half the spacing above too, unless v is a power of two, where the
// spacing above is twice as wide. If |x - v| < h - g, where g bounds how far the
// 64-bit roundings between x and x64 = RN64(x) can move it, then x64 lies
// strictly within h of v and RN53(x64) = v.
// - A product or a sum of two doubles is rounded to 64 bits once: g is half a
//   64-bit unit, 2^-11 h; the test uses a margin of 2^-10 h.
// - A step of the running sum rounds twice, r*r and then q + s, together by at
//   most 2^-10 h; the test uses a margin of 1.5 * 2^-10 h, which also covers
//   the rounding of the test itself. (When v is a power of two and x lies
//   above it, the spacing there is twice as wide and the margin ample.)
// About one step in a thousand is not proven and is done the extended way.
// Steps are proven only well inside the normal range, where every error-free
// transformation is exact.

#define QUEL_VECTOR __attribute__((target("avx2,fma")))
#define QUEL_LIKELY(condition) __builtin_expect(!!(condition), 1)

// h - g as a multiple of the binade 2^e of the doubles just below v, where
// h = 2^(e-53).
constexpr double ChainBound = 0x1p-53 - 0x1p-63;
constexpr double SumBound = 0x1p-53 - 0x1.8p-63;
constexpr double SmallestProven = 0x1p-960;

// 2^e for |v| in [2^e, 2^(e+1)), of the doubles just below v: v * (1 - 2^-53)
// lies below a power of two and in the binade of any other v.
QUEL_VECTOR inline double SpacingBinadeOf(double v)
{
    const __m128d mask = _mm_castsi128_pd(_mm_set1_epi64x(0x7ff0000000000000LL));
    return _mm_cvtsd_f64(_mm_and_pd(_mm_set_sd(v * (1 - 0x1p-53)), mask));
}

QUEL_VECTOR inline __m256d SpacingBinadeOf(__m256d v)
{
    const __m256d mask = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7ff0000000000000LL));
    return _mm256_and_pd(_mm256_mul_pd(v, _mm256_set1_pd(1 - 0x1p-53)), mask);
}

QUEL_VECTOR inline bool Proven(double v, double error, double bound)
{
    const double m = SpacingBinadeOf(v);
    return (std::fabs(error) < m * bound) & (m >= SmallestProven);
}

// All-ones lanes where the step is proven.
QUEL_VECTOR inline __m256d Proven(__m256d v, __m256d error, double bound)
{
    const __m256d absMask = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffffLL));
    const __m256d m = SpacingBinadeOf(v);
    const __m256d small =
        _mm256_cmp_pd(_mm256_and_pd(error, absMask), _mm256_mul_pd(m, _mm256_set1_pd(bound)), _CMP_LT_OQ);
    return _mm256_and_pd(small, _mm256_cmp_pd(m, _mm256_set1_pd(SmallestProven), _CMP_GE_OQ));
}

// Steps are proven in blocks of this many.
constexpr int Block = 48;

QUEL_VECTOR inline bool AllSet(__m256d lanes)
{
    return _mm256_movemask_pd(lanes) == 0xF;
}

// The chain E^j: P[i] = E * P[i-1]. The exact error of the product is
// fma(E, P[i-1], -P[i]).
struct TPowerChain {
    QUEL_VECTOR static double Next(double E, double p) { return E * p; }

    QUEL_VECTOR static bool StepProven(double E, double p, double next)
    {
        return Proven(next, __builtin_fma(E, p, -next), ChainBound);
    }

    QUEL_VECTOR static __m256d StepsProven(__m256d E, __m256d p, __m256d next)
    {
        return Proven(next, _mm256_fmsub_pd(E, p, next), ChainBound);
    }

    QUEL_VECTOR static double ExtendedStep(double E, double p) { return Stored(Extended(E) * p); }
};

// The chain b*j: X[i] = b + X[i-1], where |X[i-1]| >= |b| with the same sign,
// so the exact error of the sum is b - (X[i] - X[i-1]); an exact sum is
// proven whatever its size.
struct TStepChain {
    QUEL_VECTOR static double Next(double b, double x) { return b + x; }

    QUEL_VECTOR static bool StepProven(double b, double x, double next)
    {
        const double e = b - (next - x);
        return Proven(next, e, ChainBound) | (e == 0);
    }

    QUEL_VECTOR static __m256d StepsProven(__m256d b, __m256d x, __m256d next)
    {
        const __m256d e = _mm256_sub_pd(b, _mm256_sub_pd(next, x));
        return _mm256_or_pd(Proven(next, e, ChainBound), _mm256_cmp_pd(e, _mm256_setzero_pd(), _CMP_EQ_OQ));
    }

    QUEL_VECTOR static double ExtendedStep(double b, double x) { return Stored(Extended(b) + x); }
};

// Whether chain[i] = Next(factor, chain[i-1]) is proven for i = from ... to.
template <typename TChain>
QUEL_VECTOR __attribute__((always_inline)) inline bool ChainProven(double factor, const double* chain, int from, int to)
{
    const __m256d f = _mm256_set1_pd(factor);
    __m256d proven = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    int i = from;
    for (; i + 3 <= to; i += 4)
        proven = _mm256_and_pd(proven, TChain::StepsProven(f, _mm256_loadu_pd(chain + i - 1), _mm256_loadu_pd(chain + i)));
    bool all = AllSet(proven);
    for (; i <= to; ++i) all &= TChain::StepProven(factor, chain[i - 1], chain[i]);
    return all;
}

// The first i in from ... to whose step is not proven, or to + 1.
template <typename TChain>
QUEL_VECTOR inline int FirstUnprovenStep(double factor, const double* chain, int from, int to)
{
    const __m256d f = _mm256_set1_pd(factor);
    int i = from;
    for (; i + 3 <= to; i += 4) {
        const int proven =
            _mm256_movemask_pd(TChain::StepsProven(f, _mm256_loadu_pd(chain + i - 1), _mm256_loadu_pd(chain + i)));
        if (proven != 0xF) return i + __builtin_ctz(~proven);
    }
    for (; i <= to; ++i)
        if (!TChain::StepProven(factor, chain[i - 1], chain[i])) return i;
    return to + 1;
}

// Repairs chain[from ... to], formed in double precision after a proven
// chain[from - 1]: the first step not proven is done the extended way, the
// steps after it again in double precision, until every step is proven.
template <typename TChain>
QUEL_VECTOR inline void RepairChain(double factor, double* chain, int from, int to)
{
    for (int i = FirstUnprovenStep<TChain>(factor, chain, from, to); i <= to;
         i = FirstUnprovenStep<TChain>(factor, chain, i + 1, to)) {
        chain[i] = TChain::ExtendedStep(factor, chain[i - 1]);
        for (int k = i + 1; k <= to; ++k) chain[k] = TChain::Next(factor, chain[k - 1]);
    }
}

// chain[i] for i = from ... to, proven block by block.
template <typename TChain>
QUEL_VECTOR inline void FormChain(double factor, double* chain, int from, int to)
{
    for (int first = from; first <= to; first += Block) {
        const int last = std::min(to, first + Block - 1);
        for (int i = first; i <= last; ++i) chain[i] = TChain::Next(factor, chain[i - 1]);
        if (!QUEL_LIKELY(ChainProven<TChain>(factor, chain, first, last)))
            RepairChain<TChain>(factor, chain, first, last);
    }
}

// The running sum of squares: sums[k] = r[k]*r[k] + sums[k-1], sums[-1] = s.
// A step is one fused multiply-add, the exact s + r*r rounded once (adding a
// rounded square would often meet an exact tie that the extended sum breaks
// the other way). Its exact error is (sigma - t) + (e + pl), with pl the
// square's rounding error, sigma = s + r*r rounded and e the error of that sum
// (two-sum); sigma - t is exact, and rounding e + pl costs far less than the
// margin. A zero residual leaves the sum as it is, whatever its size.
QUEL_VECTOR inline double SquareStep(double s, double r)
{
    return __builtin_fma(r, r, s);
}

QUEL_VECTOR inline bool SquareStepProven(double s, double r, double t)
{
    const double ph = r * r;
    const double sigma = s + ph;
    const double bv = sigma - s;
    const double e = (s - (sigma - bv)) + (ph - bv);
    return Proven(t, (sigma - t) + (e + __builtin_fma(r, r, -ph)), SumBound) | (r == 0);
}

// Lanes set where sums[k + i] = sums[k + i - 1] + r[k + i]^2 is proven, i < 4.
QUEL_VECTOR inline __m256d FourSquaresProven(const double* r, const double* sums, int k)
{
    const __m256d rk = _mm256_loadu_pd(r + k), t = _mm256_loadu_pd(sums + k);
    const __m256d sk = _mm256_loadu_pd(sums + k - 1);
    const __m256d ph = _mm256_mul_pd(rk, rk);
    const __m256d sigma = _mm256_add_pd(sk, ph);
    const __m256d bv = _mm256_sub_pd(sigma, sk);
    const __m256d e = _mm256_add_pd(_mm256_sub_pd(sk, _mm256_sub_pd(sigma, bv)), _mm256_sub_pd(ph, bv));
    const __m256d error = _mm256_add_pd(_mm256_sub_pd(sigma, t), _mm256_add_pd(e, _mm256_fmsub_pd(rk, rk, ph)));
    return _mm256_or_pd(Proven(t, error, SumBound), _mm256_cmp_pd(rk, _mm256_setzero_pd(), _CMP_EQ_OQ));
}

// Whether sums[k] = sums[k-1] + r[k]*r[k] is proven for k = 0 ... count - 1;
// sums[-1] is the sum before.
QUEL_VECTOR __attribute__((always_inline)) inline bool SquaresProven(const double* r, const double* sums, int count)
{
    __m256d proven = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    int k = 0;
    for (; k + 4 <= count; k += 4) proven = _mm256_and_pd(proven, FourSquaresProven(r, sums, k));
    bool all = AllSet(proven);
    for (; k < count; ++k) all &= SquareStepProven(sums[k - 1], r[k], sums[k]);
    return all;
}

// The first k in from ... count - 1 whose step is not proven, or count.
QUEL_VECTOR inline int FirstUnprovenSquare(const double* r, const double* sums, int from, int count)
{
    int k = from;
    for (; k + 4 <= count; k += 4) {
        const int proven = _mm256_movemask_pd(FourSquaresProven(r, sums, k));
        if (proven != 0xF) return k + __builtin_ctz(~proven);
    }
    for (; k < count; ++k)
        if (!SquareStepProven(sums[k - 1], r[k], sums[k])) return k;
    return count;
}

// Repairs sums[0 ... count - 1] after a proven sums[-1], as RepairChain does.
// Returns the last sum.
QUEL_VECTOR inline double RepairSquares(const double* r, double* sums, int count)
{
    for (int k = FirstUnprovenSquare(r, sums, 0, count); k < count; k = FirstUnprovenSquare(r, sums, k + 1, count)) {
        sums[k] = Stored(Extended(r[k]) * r[k] + sums[k - 1]);
        for (int i = k + 1; i < count; ++i) sums[i] = SquareStep(sums[i - 1], r[i]);
    }
    return sums[count - 1];
}

// ---- Fast sums -------------------------------------------------------------

// What a fast sum reads and forms. A chain of the sum's own (E^j when c or d
// changes, b*j when b changes, both for a sum on its own) is formed into the
// given array, indexed by j = 1 ... n + 1; the others are read from the
// current point's.
struct TFastSumInput {
    const double* y;
    int n;
    const bool* takesPart;  // by j; kept apart from y, which only the extended unit reads
    const int* points;      // the j that take part, ascending
    int pointCount;
    double a, b, c;
    double E;              // exp(d/c), when the powers are formed
    const double* powers;  // E^j, or E^j - 1 (see below), when read
    const double* steps;   // b*j, when read
    double* ownPowers;
    double* ownLessOne;    // E^j - 1, when the powers are formed
    double* ownSteps;
};

// The residual at one point, in extended precision as the model defines it;
// with LessOne, P holds E^j - 1.
template <bool Exponential, bool LessOne>
inline double Residual(const double& y, double P, double c, double a, double X)
{
    if constexpr (!Exponential)
        return Stored((Extended(a) + X) - y);
    else if constexpr (LessOne)
        return Stored(Extended(y) - (Extended(P) * c + (Extended(a) + X)));
    else
        return Stored(Extended(y) - ((Extended(P) - 1) * c + (Extended(a) + X)));
}

// E^j - 1 for i = from ... to. The residual needs E^j - 1, which is exact in
// double while E^j lies in [0.5, 2^53]: then it is taken from a chain of its
// own, formed by the double unit, and the extended unit has one operation less
// per residual.
QUEL_VECTOR inline void FormLessOne(const double* P, double* lessOne, int from, int to)
{
    int i = from;
    for (; i + 3 <= to; i += 4)
        _mm256_storeu_pd(lessOne + i, _mm256_sub_pd(_mm256_loadu_pd(P + i), _mm256_set1_pd(1)));
    for (; i <= to; ++i) lessOne[i] = P[i] - 1;
}

// An own chain runs ChainLead points ahead of the residuals, so that a value
// is proven before it is read and is read by the extended unit well after the
// double unit stored it; the running sum adds the residuals SumLag behind their
// forming, for the same reason the other way round.
constexpr int ChainLead = Block;
constexpr int SumLag = 8;

// A chain of the sum's own, with E^j - 1 beside the powers when lessOne is
// given.
template <typename TChain>
struct TOwnChain {
    double factor;
    double* chain;
    double* lessOne;
    double value = 0;
    int provenTo = 0;

    QUEL_VECTOR void Start(int n)
    {
        chain[1] = factor;
        provenTo = std::min(n + 1, ChainLead + 1);
        FormChain<TChain>(factor, chain, 2, provenTo);
        if (lessOne) FormLessOne(chain, lessOne, 1, provenTo);
        value = chain[provenTo];
    }

    // Forms chain[j + ChainLead + 1].
    QUEL_VECTOR void FormAhead(int j, int n)
    {
        if (j + ChainLead < n + 1) chain[j + ChainLead + 1] = value = TChain::Next(factor, value);
    }

    QUEL_VECTOR void ProveUpTo(int to)
    {
        if (to <= provenTo) return;
        if (!QUEL_LIKELY(ChainProven<TChain>(factor, chain, provenTo + 1, to))) {
            RepairChain<TChain>(factor, chain, provenTo + 1, to);
            value = chain[to];
        }
        if (lessOne) FormLessOne(chain, lessOne, provenTo + 1, to);
        provenTo = to;
    }
};

// The running sums of one fast evaluation, checked block by block: the sums
// from checked on are proven, or repaired (sums[-1] is 0). Returns the last
// sum.
QUEL_VECTOR __attribute__((always_inline)) inline double CheckSquares(const double* residuals, double* sums, int& checked, int added)
{
    const int count = added - checked;
    double sum = sums[added - 1];
    if (!QUEL_LIKELY(SquaresProven(residuals + checked, sums + checked, count)))
        sum = RepairSquares(residuals + checked, sums + checked, count);
    checked = added;
    return sum;
}

// False when a trap flag was raised.
template <bool OwnPowers, bool OwnSteps, bool Exponential, bool LessOne = false>
QUEL_VECTOR bool FastSum(const TFastSumInput& in, double& result)
{
    const double* y = in.y;
    const int n = in.n;
    double residuals[SeriesCapacity];
    double sumStore[SeriesCapacity + 1];
    double* sums = sumStore + 1;
    sums[-1] = 0;
    double sum = 0;
    int added = 0, checked = 0;
    if constexpr (!OwnPowers && !OwnSteps) {
        // Neither chain changes: only the points that take part are visited.
        const int count = in.pointCount;
        for (int k0 = 0; k0 < count; k0 += Block) {
            const int k1 = std::min(count, k0 + Block);
            for (int k = k0; k < k1; ++k) {
                const int j = in.points[k];
                residuals[k] = Residual<Exponential, LessOne>(y[j], Exponential ? in.powers[j] : 0, in.c, in.a, in.steps[j]);
                if (k >= SumLag) {
                    sums[added] = sum = SquareStep(sum, residuals[added]);
                    ++added;
                }
            }
            if (added > checked) sum = CheckSquares(residuals, sums, checked, added);
        }
        for (; added < count; ++added) sums[added] = sum = SquareStep(sum, residuals[added]);
        if (added > checked) sum = CheckSquares(residuals, sums, checked, added);
        result = sum;
        return !TrapRaised(result, 0, 0);
    } else {
        TOwnChain<TPowerChain> powers{in.E, in.ownPowers, LessOne ? in.ownLessOne : nullptr};
        TOwnChain<TStepChain> steps{in.b, in.ownSteps, nullptr};
        if constexpr (OwnPowers) powers.Start(n);
        if constexpr (OwnSteps) steps.Start(n);
        const double* P = OwnPowers ? (LessOne ? in.ownLessOne : in.ownPowers) : in.powers;
        const double* X = OwnSteps ? in.ownSteps : in.steps;
        int formed = 0;
        for (int j0 = 1; j0 <= n; j0 += Block) {
            const int j1 = std::min(n, j0 + Block - 1);
            for (int j = j0; j <= j1; ++j) {
                if constexpr (OwnPowers) powers.FormAhead(j, n);
                if constexpr (OwnSteps) steps.FormAhead(j, n);
                if (in.takesPart[j])
                    residuals[formed++] = Residual<Exponential, LessOne>(y[j], Exponential ? P[j] : 0, in.c, in.a, X[j]);
                if (formed - added > SumLag) {
                    sums[added] = sum = SquareStep(sum, residuals[added]);
                    ++added;
                }
            }
            const int to = std::min(n + 1, j1 + ChainLead + 1);
            if constexpr (OwnPowers) powers.ProveUpTo(to);
            if constexpr (OwnSteps) steps.ProveUpTo(to);
            if (added > checked) sum = CheckSquares(residuals, sums, checked, added);
        }
        for (; added < formed; ++added) sums[added] = sum = SquareStep(sum, residuals[added]);
        if (added > checked) sum = CheckSquares(residuals, sums, checked, added);
        result = sum;
        return !TrapRaised(result, OwnPowers ? in.ownPowers[n + 1] : 0, OwnSteps ? in.ownSteps[n + 1] : 0);
    }
}

bool& FastSumsChosen()
{
    static bool chosen = FastResidualSumsAvailable();
    return chosen;
}

// Starts a sum with its own powers: forms exp(d/c) as the plain sum does. The
// exponential never traps: an infinite result raises the overflow flag, which
// is cleared then, unless d/c itself overflowed, which the sum's final check
// must see. True when every E^j up to j = n + 1 lies in [0.55, e^36], well
// inside [0.5, 2^53] for the few units in the last place that the chain's
// roundings add.
bool PreparePowers(double c, double d, int n, double& E)
{
    const double q = Stored(Extended(d) / c);
    E = std::exp(q);
    if (std::isinf(E) && std::isfinite(q)) ClearFloatingPointFlags();
    const double span = q * (n + 1);
    return span > -0.59 && span < 36;
}

// A sum at a point that shares no chain with the current one: both chains
// are its own.
double SumOnItsOwn(const TMeasurementSeries& series, const bool* takesPart, double a, double b, double c,
                   double d)
{
    if (FastSumsChosen()) {
        double powers[SeriesCapacity + 2], lessOne[SeriesCapacity + 2], steps[SeriesCapacity + 2];
        TFastSumInput in{series.y, series.n, takesPart, nullptr, 0, a, b, c, 0, nullptr, nullptr, powers, lessOne, steps};
        double result;
        bool formed;
        if (std::isgreater(c, 0.0)) {
            const bool exact = PreparePowers(c, d, series.n, in.E);
            formed = exact ? FastSum<true, true, true, true>(in, result) : FastSum<true, true, true>(in, result);
        } else {
            formed = FastSum<false, true, false>(in, result);
        }
        if (formed) return result;
        ClearFloatingPointFlags();
    }
    return PlainSum(series, a, b, c, d);
}

// ---- The search -------------------------------------------------------------

enum class TVaries { A, B, C, D };

constexpr int ChainCapacity = SeriesCapacity + 2;

class TEngineRun {
public:
    TEngineRun(const TMeasurementSeries& series, TModelParameters& params, double ThreeSN2,
               TFitEngineState& engine, TFitObserver* observer)
        : series(series), y(series.y), params(params), ThreeSN2(ThreeSN2), engine(engine),
          observer(observer), fast(FastSumsChosen()), freeA(params.FixedA == 0),
          freeB(params.FixedB == 0), freeC(params.FixedC == 0), freeD(params.FixedD == 0),
          a(params.a), b(params.b), c(params.c), d(params.d)
    {
    }

    int Run();

private:
    const TMeasurementSeries& series;
    const double* y;
    TModelParameters& params;
    const double ThreeSN2;
    TFitEngineState& engine;
    TFitObserver* const observer;
    const bool fast;  // the fast sums are used
    const bool freeA, freeB, freeC, freeD;

    double a, b, c, d;
    double StepA = 0.05, StepB = 0.05, StepC = 0.05, StepD = 0.05;
    int ValidCount = 0;
    double TargetSum = 0;
    double CurrentSum = 0;
    bool TrendStarted = false;
    double TrendA = 0, TrendB = 0, TrendC = 0, TrendD = 0;
    int LoopAt80 = -200000000, LoopAt90 = -200000000;
    bool Lift80Pending = true, Lift90Pending = true, Lift100Pending = true;
    bool RestartAvailable = true;

    // The points that take part, and the chains of the current point and of
    // the last trial, swapped in when that trial is taken.
    bool takesPart[SeriesCapacity + 1] = {};
    int points[SeriesCapacity];
    double chainStore[6][ChainCapacity] = {};
    double* powers = chainStore[0];
    double* trialPowers = chainStore[1];
    double* lessOne = chainStore[2];
    double* trialLessOne = chainStore[3];
    double* steps = chainStore[4];
    double* trialSteps = chainStore[5];
    bool powersValid = false;   // powers hold E^j for the current c > 0 and d
    bool lessOneValid = false;  // and lessOne holds E^j - 1, exact
    bool stepsValid = false;    // steps hold b*j for the current b
    bool trialChainFormed = false, trialLessOneFormed = false;

    // Recent sums, by the exact bits of their point.
    struct TRemembered {
        double a, b, c, d, sum;
    };
    static constexpr int MemoryCapacity = 8;
    TRemembered memory[MemoryCapacity] = {};
    int memoryUsed = 0, memoryNext = 0;

    bool Recall(double ta, double tb, double tc, double td, double& sum) const;
    void Remember(double ta, double tb, double tc, double td, double sum);
    double SumAt(double ta, double tb, double tc, double td);
    template <TVaries V>
    double TrialSum(double value);
    template <TVaries V>
    bool FastTrialSum(double value, double& sum);
    template <TVaries V>
    void Taken();
    void PointMoved() { powersValid = stepsValid = false; }
    void UsePowers();
    void UseSteps();
    template <TVaries V>
    bool Attempt(double& p, double step, bool& upFirst);

    void SetUp();
    void TrendStep();
    void Lifts();
    void SearchC();
    void SearchD();
    void SearchB();
    void SearchA();
    bool CurvatureEnds();
    void Restart();
    void FloorSteps();
    void RecordBest();
    int Finish(int code);
};

double Scaled(double step, double factor)
{
    return CheckedValue(Stored(Extended(step) * factor));
}

bool SameBits(double x, double y)
{
    return std::memcmp(&x, &y, sizeof x) == 0;
}

bool TEngineRun::Recall(double ta, double tb, double tc, double td, double& sum) const
{
    for (int i = 0; i < memoryUsed; ++i) {
        const TRemembered& m = memory[i];
        if (SameBits(m.a, ta) && SameBits(m.b, tb) && SameBits(m.c, tc) && SameBits(m.d, td)) {
            sum = m.sum;
            return true;
        }
    }
    return false;
}

void TEngineRun::Remember(double ta, double tb, double tc, double td, double sum)
{
    memory[memoryNext] = {ta, tb, tc, td, sum};
    memoryNext = (memoryNext + 1) % MemoryCapacity;
    memoryUsed = std::max(memoryUsed, memoryNext == 0 ? MemoryCapacity : memoryNext);
}

// A sum at a point that shares no chain with the current one.
double TEngineRun::SumAt(double ta, double tb, double tc, double td)
{
    double sum;
    if (Recall(ta, tb, tc, td, sum)) return sum;
    sum = SumOnItsOwn(series, takesPart, ta, tb, tc, td);
    Remember(ta, tb, tc, td, sum);
    return sum;
}

void TEngineRun::UsePowers()
{
    if (powersValid) return;
    // The current point's own sum formed this chain without a fault.
    const double E = std::exp(Stored(Extended(d) / c));
    ClearFloatingPointFlags();
    powers[1] = E;
    auto exact = [](double P) { return P >= 0.5 && P <= 0x1p53; };
    lessOneValid = exact(powers[1]);
    for (int j = 1; j <= series.n; ++j) {
        powers[j + 1] = Stored(Extended(E) * powers[j]);
        lessOneValid &= exact(powers[j + 1]);
    }
    if (lessOneValid)
        for (int j = 1; j <= series.n + 1; ++j) lessOne[j] = powers[j] - 1;
    powersValid = true;
}

void TEngineRun::UseSteps()
{
    if (stepsValid) return;
    steps[1] = b;
    for (int j = 1; j <= series.n; ++j) steps[j + 1] = Stored(Extended(b) + steps[j]);
    stepsValid = true;
}

// The sum at the current point with one parameter set to value.
template <TVaries V>
double TEngineRun::TrialSum(double value)
{
    trialChainFormed = false;
    const double ta = V == TVaries::A ? value : a, tb = V == TVaries::B ? value : b;
    const double tc = V == TVaries::C ? value : c, td = V == TVaries::D ? value : d;
    if constexpr (V == TVaries::C || V == TVaries::D) {
        // Without the exponential term before and after, the trial is the same
        // line as the current point: its sum is the current one.
        if (!std::isgreater(c, 0.0) && !std::isgreater(tc, 0.0)) return CurrentSum;
    }
    double sum;
    if (Recall(ta, tb, tc, td, sum)) return sum;
    if (!fast || !FastTrialSum<V>(value, sum)) {
        if (fast) ClearFloatingPointFlags();
        trialChainFormed = false;
        sum = PlainSum(series, ta, tb, tc, td);
    }
    Remember(ta, tb, tc, td, sum);
    return sum;
}

template <TVaries V>
bool TEngineRun::FastTrialSum(double value, double& sum)
{
    TFastSumInput in{y, series.n, takesPart, points, ValidCount, a, b, c, 0,
                     nullptr, nullptr, trialPowers, trialLessOne, trialSteps};
    const bool exponential = std::isgreater(V == TVaries::C ? value : c, 0.0);
    if constexpr (V == TVaries::A || V == TVaries::B) {
        if (exponential) UsePowers();
        const bool exact = exponential && lessOneValid;
        in.powers = exact ? lessOne : powers;
        if constexpr (V == TVaries::A) {
            in.a = value;
            UseSteps();
            in.steps = steps;
            if (!exponential) return FastSum<false, false, false>(in, sum);
            return exact ? FastSum<false, false, true, true>(in, sum) : FastSum<false, false, true>(in, sum);
        } else {
            in.b = value;
            trialChainFormed = true;
            if (!exponential) return FastSum<false, true, false>(in, sum);
            return exact ? FastSum<false, true, true, true>(in, sum) : FastSum<false, true, true>(in, sum);
        }
    } else {
        UseSteps();
        in.steps = steps;
        if (!exponential) return FastSum<false, false, false>(in, sum);
        in.c = V == TVaries::C ? value : c;
        const bool exact = PreparePowers(in.c, V == TVaries::D ? value : d, series.n, in.E);
        trialChainFormed = true;
        trialLessOneFormed = exact;
        return exact ? FastSum<true, false, true, true>(in, sum) : FastSum<true, false, true>(in, sum);
    }
}

// The last trial was taken: the chain it formed becomes the current one.
template <TVaries V>
void TEngineRun::Taken()
{
    if constexpr (V == TVaries::B) {
        if (trialChainFormed) std::swap(steps, trialSteps);
        stepsValid = trialChainFormed;
    } else if constexpr (V == TVaries::C || V == TVaries::D) {
        if (trialChainFormed) std::swap(powers, trialPowers);
        if (trialChainFormed && trialLessOneFormed) std::swap(lessOne, trialLessOne);
        powersValid = trialChainFormed;
        lessOneValid = trialChainFormed && trialLessOneFormed;
    }
}

// One attempt of a coordinate search on p, first in the direction upFirst
// names; true when it moved. A move of c below 0 lands on 0, which gives the
// same line and so the same sum.
template <TVaries V>
bool TEngineRun::Attempt(double& p, double step, bool& upFirst)
{
    const bool clamp = V == TVaries::C;
    const double first = CheckedValue(Stored(upFirst ? Extended(p) + step : Extended(p) - step));
    const double firstSum = TrialSum<V>(first);
    if (std::isgreater(CurrentSum, firstSum)) {
        p = (clamp && !upFirst && first < 0) ? 0 : first;
        CurrentSum = firstSum;
        Taken<V>();
        return true;
    }
    const double second = CheckedValue(Stored(upFirst ? Extended(p) - step : Extended(p) + step));
    const double secondSum = TrialSum<V>(second);
    if (std::isgreater(CurrentSum, secondSum)) {
        p = (clamp && upFirst && second < 0) ? 0 : second;
        CurrentSum = secondSum;
        upFirst = !upFirst;
        Taken<V>();
        return true;
    }
    return false;
}

void TEngineRun::SetUp()
{
    StepA = StepB = StepC = StepD = 0.05;
    ValidCount = 0;
    for (int j = 1; j <= series.n; ++j) {
        takesPart[j] = TakesPart(y[j]);
        if (takesPart[j]) points[ValidCount++] = j;
    }
    TargetSum = CheckedValue(Stored(Extended(ThreeSN2) * ThreeSN2 * (ValidCount - 4) * (1.0L / 9)));
    CurrentSum = SumAt(a, b, c, d);
    engine.LoopCount = 0;
    if (!freeA) StepA = 1e-18;
    if (!freeB) StepB = 1e-18;
    if (!freeC) StepC = 1e-18;
    if (!freeD) StepD = 1e-18;
    engine.BestSum = 1e99;
}

// Every 1000 passes the movement of the last 1000 passes is extrapolated; the
// result is taken while it stays within 10 % of the best sum.
void TEngineRun::TrendStep()
{
    if (!(StepC > 1e-6 && engine.LoopCount % 1000 == 0 && engine.LoopCount >= 5000)) return;
    if (!TrendStarted) {
        TrendA = a, TrendB = b, TrendC = c, TrendD = d;
        engine.BestSum = SumAt(a, b, c, d);
        TrendStarted = true;
        return;
    }
    if (freeA) TrendA = CheckedValue(Stored((Extended(a) - TrendA) * 0.98 + a));
    if (freeB) TrendB = CheckedValue(Stored((Extended(b) - TrendB) * 1.029 + b));
    if (freeC) TrendC = CheckedValue(Stored((Extended(c) - TrendC) * 0.98 + c));
    if (freeD) TrendD = CheckedValue(Stored((Extended(d) - TrendD) * 1.029 + d));
    const double T = SumAt(TrendA, TrendB, TrendC, TrendD);
    if (std::isgreater(Extended(engine.BestSum) * 1.1, Extended(T)) && TrendC > 0) {
        CurrentSum = T;
        if (std::isless(T, engine.BestSum)) engine.BestSum = T;
        a = TrendA, b = TrendB, c = TrendC, d = TrendD;
        PointMoved();
    } else {
        TrendA = a, TrendB = b, TrendC = c, TrendD = d;
    }
}

// A growing c is set to 80, 90 and 100, each once per run.
void TEngineRun::Lifts()
{
    if (!freeC) return;
    if (Lift80Pending && c > 50) {
        c = 80;
        Lift80Pending = false;
        LoopAt80 = engine.LoopCount;
        PointMoved();
        CurrentSum = SumAt(a, b, c, d);
    }
    if (Lift90Pending && c > 70 && engine.LoopCount - LoopAt80 > 20000) {
        c = 90;
        Lift90Pending = false;
        LoopAt90 = engine.LoopCount;
        PointMoved();
        CurrentSum = SumAt(a, b, c, d);
    }
    if (Lift100Pending && c > 80 && engine.LoopCount - LoopAt90 > 20000) {
        c = 100;
        Lift100Pending = false;
        PointMoved();
        CurrentSum = SumAt(a, b, c, d);
    }
}

void TEngineRun::SearchC()
{
    if (!freeC) return;
    int moves = 0;
    while (moves < 3 && Attempt<TVaries::C>(c, StepC, engine.UpFirstC)) ++moves;
    if (moves == 0)
        StepC = Scaled(StepC, 0.33249999999999996);
    else if (StepC > 0.001)
        StepC = Scaled(StepC, 1.21);
    else if (StepC > 1e-6)
        StepC = Scaled(StepC, 1.41);
    else
        StepC = Scaled(StepC, 1.31);
}

void TEngineRun::SearchD()
{
    if (!freeD) return;
    const bool moved = Attempt<TVaries::D>(d, StepD, engine.UpFirstD);
    StepD = Scaled(StepD, moved ? 1.53 : 0.475);
}

void TEngineRun::SearchB()
{
    if (!freeB) return;
    const bool moved = Attempt<TVaries::B>(b, StepB, engine.UpFirstB);
    StepB = Scaled(StepB, moved ? 1.59 : 0.475);
}

void TEngineRun::SearchA()
{
    if (!freeA) return;
    const bool moved = Attempt<TVaries::A>(a, StepA, engine.UpFirstA);
    if (!moved)
        StepA = Scaled(StepA, 0.475);
    else if (StepA > 1e-4)
        StepA = Scaled(StepA, 1.57);
    else if (StepA > 1e-7)
        StepA = Scaled(StepA, 1.77);
    else
        StepA = Scaled(StepA, 1.57);
}

// Ends the search when the fit is still worse than the line's target while the
// exponential term has become nearly straight over the series.
bool TEngineRun::CurvatureEnds()
{
    if (!(std::isgreater(CurrentSum, TargetSum) && engine.LoopCount > 10000 && StepC < 1e-5 &&
          StepA < 1e-5 && StepB < 1e-5 && StepD < 1e-5))
        return false;
    const double t = CheckedValue(Stored(Extended(d) / c * series.n));
    return CurvatureEndsSearch(t);
}

void TEngineRun::Restart()
{
    engine.LoopCount = 0;
    RestartAvailable = false;
    if (freeA) {
        a = CheckedValue(Stored((Extended(y[1]) - y[2]) * 1.1 + y[1]));
        StepA = 0.05;
    }
    if (freeB) b = 0, StepB = 0.05;
    if (freeC) c = 30, StepC = 0.05;
    if (freeD) d = 0, StepD = 0.05;
    PointMoved();
    CurrentSum = SumAt(a, b, c, d);
}

void TEngineRun::FloorSteps()
{
    if (StepA < 1e-12) StepA = 1e-12;
    if (StepB < 1e-12) StepB = 1e-12;
    if (StepC < 1e-12) StepC = 1e-12;
    if (StepD < 1e-12) StepD = 1e-12;
}

void TEngineRun::RecordBest()
{
    if (!std::isless(CurrentSum, engine.BestSum)) return;
    engine.BestSum = CurrentSum;
    engine.BestA = a, engine.BestB = b, engine.BestC = c, engine.BestD = d;
}

int TEngineRun::Finish(int code)
{
    params.a = engine.BestA;
    params.b = engine.BestB;
    params.c = engine.BestC;
    params.d = engine.BestD;
    const double q = CheckedValue(Stored(Extended(engine.BestSum) / (ValidCount - 4)));
    const Extended root = std::sqrt(Extended(q));
    ClearFloatingPointFlags();  // the square root never traps
    params.ThreeSN4 = Stored(3 * root);
    return code;
}

int TEngineRun::Run()
{
    ClearFloatingPointFlags();
    SetUp();
    while (StepC > 1e-7 || StepA > 1e-7 || StepB > 1e-7 || StepD > 1e-7) {
        TrendStep();
        Lifts();
        SearchC();
        SearchD();
        SearchB();
        SearchA();
        if (CurvatureEnds()) return Finish(FitConverged);
        if (engine.LoopCount > 2000000) return Finish(FitLoopLimit);
        if (c > 200) {
            if (!RestartAvailable) return Finish(FitCLimit);
            Restart();
        }
        FloorSteps();
        RecordBest();
        ++engine.LoopCount;
        if (observer && engine.LoopCount % 1000 == 0)
            observer->OnProgress(RestartAvailable ? TFitPhase::First : TFitPhase::AfterRestart,
                                 engine.LoopCount);
    }
    return Finish(FitConverged);
}

}  // namespace

bool FastResidualSumsAvailable()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

void UseFastResidualSums(bool use)
{
    FastSumsChosen() = use && FastResidualSumsAvailable();
}

double ExpModelResidualSum(const TMeasurementSeries& series, double a, double b, double c, double d)
{
    bool takesPart[SeriesCapacity + 1];
    for (int j = 1; j <= series.n; ++j) takesPart[j] = TakesPart(series.y[j]);
    ClearFloatingPointFlags();
    return SumOnItsOwn(series, takesPart, a, b, c, d);
}

int FitExpModel(const TMeasurementSeries& series, TModelParameters& params, double ThreeSN2,
                TFitEngineState& engine, TFitObserver* observer)
{
    TEngineRun run(series, params, ThreeSN2, engine, observer);
    return run.Run();
}

bool CurvatureEndsSearch(double t)
{
    return 1 + Extended(t) > ((1.0L / 3) * t + 1) * ((Extended(t) * t) * 0.5) * (100.0 / 3);
}
