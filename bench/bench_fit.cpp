// Fit speed beside GSL: straight line on 10^6 points, degree-6 polynomial on 10^4 points, Marquardt
// fits of the exponential and the saturation model, and each model's fit of 101 points as the
// fitting window runs it at every drag step (which must stay under 1 ms).
#include <benchmark/benchmark.h>
#include <gsl/gsl_fit.h>
#include <gsl/gsl_multifit.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <cmath>
#include <functional>
#include <vector>

#include "numeric/FitModels.h"
#include "numeric/LeastSquares.h"
#include "numeric/SineFit.h"
#include "numeric/Statistics.h"

namespace {

using namespace kurvex;

// Points 1..n (index 0 unused) of f with a fixed, noise-like disturbance.
struct Data {
    TVector x{0.0};
    TVector y{0.0};
    int n = 0;
};

template <typename F> Data makeData(int n, double from, double to, F f, double noise)
{
    Data d;
    d.n = n;
    for (int i = 0; i < n; ++i) {
        const double x = from + (to - from) * i / (n - 1);
        d.x.push_back(x);
        d.y.push_back(f(x) + noise * std::sin(12.9898 * i) * std::cos(78.233 * i));
    }
    return d;
}

const Data& lineData()
{
    static const Data d = makeData(
        1000000, -10.0, 10.0, [](double x) { return 1.5 - 0.7 * x; }, 0.3);
    return d;
}

const Data& polyData()
{
    static const Data d = makeData(
        10000, -2.0, 2.0, [](double x) { return 1.0 + x - 0.5 * x * x + 0.1 * x * x * x * x * x * x; }, 0.3);
    return d;
}

const Data& expoData()
{
    static const Data d = makeData(
        1000, 0.0, 10.0, [](double x) { return 5.0 * std::exp(-0.3 * x); }, 0.05);
    return d;
}

void BM_StraightLine_Kurvex(benchmark::State& state)
{
    const Data& d = lineData();
    TMatrix v;
    TVector b;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FitStraightLine(d.x, d.y, d.n, v, b));
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_StraightLine_Kurvex)->Unit(benchmark::kMillisecond);

void BM_StraightLine_Gsl(benchmark::State& state)
{
    const Data& d = lineData();
    double c0, c1, cov00, cov01, cov11, sumsq;
    for (auto _ : state) {
        gsl_fit_linear(d.x.data() + 1, 1, d.y.data() + 1, 1, d.n, &c0, &c1, &cov00, &cov01, &cov11, &sumsq);
        benchmark::DoNotOptimize(c1);
    }
}
BENCHMARK(BM_StraightLine_Gsl)->Unit(benchmark::kMillisecond);

void BM_Polynomial6_Kurvex(benchmark::State& state)
{
    const Data& d = polyData();
    TMatrix v;
    TVector b;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FitPolynomial(d.x, d.y, d.n, v, b, 6));
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_Polynomial6_Kurvex)->Unit(benchmark::kMillisecond);

void BM_Polynomial6_Gsl(benchmark::State& state)
{
    const Data& d = polyData();
    const int p = 7;
    gsl_matrix* xm = gsl_matrix_alloc(d.n, p);
    gsl_vector* yv = gsl_vector_alloc(d.n);
    gsl_vector* c = gsl_vector_alloc(p);
    gsl_matrix* cov = gsl_matrix_alloc(p, p);
    gsl_multifit_linear_workspace* w = gsl_multifit_linear_alloc(d.n, p);
    double chisq = 0.0;
    for (auto _ : state) {
        // The design matrix is built inside the loop, as FitPolynomial builds its power matrix.
        for (int i = 0; i < d.n; ++i) {
            double power = 1.0;
            for (int k = 0; k < p; ++k, power *= d.x[i + 1])
                gsl_matrix_set(xm, i, k, power);
            gsl_vector_set(yv, i, d.y[i + 1]);
        }
        gsl_multifit_linear(xm, yv, c, cov, &chisq, w);
        benchmark::DoNotOptimize(chisq);
    }
    gsl_multifit_linear_free(w);
    gsl_matrix_free(cov);
    gsl_vector_free(c);
    gsl_vector_free(yv);
    gsl_matrix_free(xm);
}
BENCHMARK(BM_Polynomial6_Gsl)->Unit(benchmark::kMillisecond);

constexpr double kStartA = 1.0;
constexpr double kStartB = 1.0;

void BM_MarquardtExponential_Kurvex(benchmark::State& state)
{
    const Data& d = expoData();
    SelectModel(kModelExponential, 0, {});
    const ModelFunction value = CurrentModelFunction();
    const ModelDerivatives derivatives = CurrentModelDerivativeRoutine();
    const TVector bmin(3, -1e5);
    const TVector bmax(3, 1e5);
    TMatrix v;
    for (auto _ : state) {
        TVector b{0.0, kStartA, kStartB};
        const int code = FitNonlinear(value, derivatives, d.x, d.y, d.n, 1, 2, 100, 0.001, b, bmin, bmax, v);
        if (code != 0)
            state.SkipWithError("the fit did not converge");
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_MarquardtExponential_Kurvex)->Unit(benchmark::kMillisecond);

int gslExpoF(const gsl_vector* p, void* raw, gsl_vector* f)
{
    const Data& d = *static_cast<const Data*>(raw);
    const double a = gsl_vector_get(p, 0);
    const double b = gsl_vector_get(p, 1);
    for (int i = 0; i < d.n; ++i)
        gsl_vector_set(f, i, a * std::exp(-b * d.x[i + 1]) - d.y[i + 1]);
    return GSL_SUCCESS;
}

int gslExpoDf(const gsl_vector* p, void* raw, gsl_matrix* j)
{
    const Data& d = *static_cast<const Data*>(raw);
    const double a = gsl_vector_get(p, 0);
    const double b = gsl_vector_get(p, 1);
    for (int i = 0; i < d.n; ++i) {
        const double e = std::exp(-b * d.x[i + 1]);
        gsl_matrix_set(j, i, 0, e);
        gsl_matrix_set(j, i, 1, -d.x[i + 1] * a * e);
    }
    return GSL_SUCCESS;
}

// state.range(0): GSL's step tolerance as a negative power of ten (3: the program's relative 0.001;
// 8: about the accuracy the final Gauss-Newton step of our minimiser reaches).
void BM_MarquardtExponential_Gsl(benchmark::State& state)
{
    const double xtol = std::pow(10.0, -static_cast<double>(state.range(0)));
    const Data& d = expoData();
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = gslExpoF;
    fdf.df = gslExpoDf;
    fdf.n = d.n;
    fdf.p = 2;
    fdf.params = const_cast<Data*>(&d);
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    gsl_multifit_nlinear_workspace* w =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, d.n, 2);
    const double start[] = {kStartA, kStartB};
    gsl_vector_const_view p0 = gsl_vector_const_view_array(start, 2);
    for (auto _ : state) {
        int info = 0;
        gsl_multifit_nlinear_init(&p0.vector, &fdf, w);
        const int status = gsl_multifit_nlinear_driver(100, xtol, 1e-8, 1e-8, nullptr, nullptr, &info, w);
        if (status != GSL_SUCCESS)
            state.SkipWithError("GSL did not converge");
        benchmark::DoNotOptimize(gsl_multifit_nlinear_position(w)->data);
    }
    gsl_multifit_nlinear_free(w);
}
BENCHMARK(BM_MarquardtExponential_Gsl)->Arg(3)->Arg(8)->Unit(benchmark::kMillisecond);

// y = b1 (1 - exp(-b2 x)) with parameters five orders of magnitude apart, started a factor of 2
// and 5 away from the exact values.
const Data& saturationData()
{
    static const Data d = makeData(
        14, 77.6, 790.0, [](double x) { return 500.0 * (1.0 - std::exp(-1e-4 * x)); }, 0.0);
    return d;
}

double saturationValue(double x, const TVector& b)
{
    return b[1] * (1.0 - std::exp(-b[2] * x));
}

void BM_MarquardtSaturation_Kurvex(benchmark::State& state)
{
    const Data& d = saturationData();
    const ModelDerivatives derivatives = [](const ModelFunction&, double x, double, const TVector& b,
                                            TVector& g) {
        const double e = std::exp(-b[2] * x);
        g[1] = 1.0 - e;
        g[2] = b[1] * x * e;
    };
    const TVector bmin(3, -1e5);
    const TVector bmax(3, 1e5);
    TMatrix v;
    for (auto _ : state) {
        TVector b{0.0, 240.0, 5e-4};
        const int code =
            FitNonlinear(saturationValue, derivatives, d.x, d.y, d.n, 1, 2, 100, 0.001, b, bmin, bmax, v);
        if (code != 0)
            state.SkipWithError("the fit did not converge");
        benchmark::DoNotOptimize(b.data());
    }
}
BENCHMARK(BM_MarquardtSaturation_Kurvex)->Unit(benchmark::kMicrosecond);

// One model of the fitting window with its 101 points (a little disturbed).
struct WindowCase {
    int model;
    TVector degrees;
    double from;
    double to;
    std::function<double(double)> f;
    double noise;
};

Data windowData(const WindowCase& c)
{
    return makeData(101, c.from, c.to, c.f, c.noise);
}

// The fitting window's call: start fit, refinement (100 passes, tolerance 0.001), bounds 1e5.
void BM_WindowFit(benchmark::State& state, const WindowCase& c)
{
    const Data d = windowData(c);
    SelectModel(c.model, 0, c.degrees);
    const int last = CurrentLastParam();
    const TVector bmin(last + 1, -1e5);
    const TVector bmax(last + 1, 1e5);
    for (auto _ : state) {
        TVector x = d.x;
        TVector y = d.y;
        TVector b(last + 1, 0.0);
        TVector vr(1);
        TVector s(d.n + 1);
        TVector ycalc(d.n + 1);
        TMatrix v;
        FitStatistics stats;
        FitFailed = false;
        const int code =
            FitAndEvaluate(x, {}, y, d.n, true, 100, 0.001, vr, b, bmin, bmax, v, ycalc, s, stats);
        if (code != 0 || FitFailed)
            state.SkipWithError("the fit failed");
        benchmark::DoNotOptimize(ycalc.data());
    }
}

const WindowCase kLine{kModelLine, {}, -10.0, 10.0, [](double x) { return 1.5 - 0.7 * x; }, 0.3};
const WindowCase kQuadratic{
    kModelPolynomial, {2.0}, -3.0, 3.0, [](double x) { return 1.0 + x - 0.5 * x * x; }, 0.2};
const WindowCase kPolynomial6{kModelPolynomial,
                              {6.0},
                              -2.0,
                              2.0,
                              [](double x) { return 1.0 + x - 0.5 * x * x + 0.1 * std::pow(x, 6); },
                              0.2};
const WindowCase kRational{
    kModelRational, {1.0, 1.0}, 0.0, 5.0, [](double x) { return (2.0 + 3.0 * x) / (1.0 + 0.5 * x); }, 0.05};
const WindowCase kExponential{
    kModelExponential, {}, 0.0, 10.0, [](double x) { return 5.0 * std::exp(-0.3 * x); }, 0.05};
const WindowCase kWarming{
    kModelBoundedGrowth, {}, 0.0, 15.0, [](double x) { return 8.0 - 6.0 * std::exp(-0.25 * x); }, 0.08};
const WindowCase kCooling{
    kModelBoundedGrowth, {}, 0.0, 40.0, [](double t) { return 20.0 + 60.0 * std::exp(-0.1 * t); }, 0.5};
const WindowCase kPower{kModelPower, {}, 0.5, 6.0, [](double x) { return 2.0 * std::pow(x, 1.5); }, 0.1};
const WindowCase kProportional{kModelProportional, {}, -3.0, 4.0, [](double x) { return -0.75 * x; }, 0.2};
const WindowCase kLogistic{
    kModelLogistic, {}, 0.0, 10.0, [](double x) { return 10.0 / (1.0 + std::exp(2.0 - x)); }, 0.2};
const WindowCase kLogisticYears{kModelLogistic,
                                {},
                                1920.0,
                                2020.0,
                                [](double t) { return 10.5 / (1.0 + std::exp(-0.032 * (t - 1990.0))); },
                                0.05};

BENCHMARK_CAPTURE(BM_WindowFit, Line, kLine)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Quadratic, kQuadratic)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Polynomial6, kPolynomial6)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Rational11, kRational)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Exponential, kExponential)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, BoundedGrowthWarming, kWarming)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, BoundedGrowthCooling, kCooling)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Power, kPower)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Proportional, kProportional)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, Logistic, kLogistic)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowFit, LogisticYears, kLogisticYears)->Unit(benchmark::kMicrosecond);

// The sine fit of the window (automatic start values) over about 1.6 and 4 periods.
void BM_WindowSineFit(benchmark::State& state, double periods)
{
    const double b = 2.0 * 3.141592653589793 * periods / 10.0;
    const Data d = makeData(
        101, 0.0, 10.0, [b](double x) { return 3.0 * std::sin(b * x + 0.5) + 1.0; }, 0.3);
    NewModel = true;
    for (auto _ : state) {
        const int status = RunSineFit(d.x, d.y, d.n);
        if (status == kSineFailed)
            state.SkipWithError("the sine fit failed");
        benchmark::DoNotOptimize(SineParams.data());
    }
    state.counters["amplitude"] = std::fabs(SineParams[0]);
}
BENCHMARK_CAPTURE(BM_WindowSineFit, OnePeriod, 10.0 / (2.0 * 3.141592653589793))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WindowSineFit, FourPeriods, 4.0)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
