// The NIST StRD linear regression data sets against their certified values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "numeric/LeastSquares.h"
#include "numeric/SamplePoints.h"
#include "numeric/Statistics.h"
#include "support/NumericState.h"

namespace kurvex {
namespace {

struct NistData {
    std::vector<double> estimates; // certified B0, B1, ...
    double residualSd = 0.0;
    std::vector<std::vector<double>> rows; // y, x1, x2, ...
};

std::vector<double> numbersOf(const std::string& line)
{
    std::vector<double> values;
    const char* p = line.data();
    const char* end = p + line.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t' || *p == '\r'))
            ++p;
        if (p == end)
            break;
        double v = 0.0;
        const auto [next, ec] = std::from_chars(p, end, v);
        if (ec != std::errc())
            break;
        values.push_back(v);
        p = next;
    }
    return values;
}

// Certified estimates are the "B<k>" lines, the residual deviation the "Standard Deviation" line with a
// number; the data rows follow the last "Data:" line.
NistData readNist(const std::string& name)
{
    std::ifstream in(std::string(KURVEX_SHARED_DATA_DIR) + "/nist/" + name);
    NistData data;
    for (std::string line; std::getline(in, line);) {
        const std::string text = line.substr(std::min(line.size(), line.find_first_not_of(' ')));
        if (text.rfind("Data:", 0) == 0) {
            data.rows.clear();
        } else if (text.size() > 1 && text[0] == 'B' && std::isdigit(static_cast<unsigned char>(text[1]))) {
            // B0 .. B10: the name's digits are not a number of the line.
            const std::size_t afterName = text.find_first_not_of("0123456789", 1);
            if (const auto numbers = numbersOf(text.substr(afterName)); numbers.size() == 2)
                data.estimates.push_back(numbers[0]);
        } else if (text.rfind("Standard Deviation", 0) == 0) {
            if (const auto numbers = numbersOf(text.substr(18)); !numbers.empty())
                data.residualSd = numbers[0];
        } else if (auto row = numbersOf(text); !row.empty()) {
            data.rows.push_back(std::move(row));
        }
    }
    return data;
}

// Column k of the data rows at 1-based indices.
TVector column(const NistData& data, std::size_t k)
{
    TVector v{0.0};
    for (const auto& row : data.rows)
        v.push_back(row.at(k));
    return v;
}

double relativeError(double value, double certified)
{
    return certified == 0.0 ? std::fabs(value) : std::fabs(value - certified) / std::fabs(certified);
}

// How a data set is fitted: the closed-form proportional fit, FitPolynomial, or every x column as a
// regressor of the general linear fit with a constant.
enum class Route { Proportional, Polynomial, Regressors };

// Tolerances are relative to the certified values, as far as each data set's difficulty allows.
struct NistCase {
    const char* file;
    Route route;
    int degree;             // of the polynomial route
    double tolerance;       // estimates by the decomposition (the closed form for a proportional fit)
    double normalTolerance; // estimates by the normal equations; 0 when that route is not checked
    double residualTolerance;
    const char* name;
    bool normalRefused = false; // the normal equations must refuse rather than return a number
};

const NistCase kNistCases[] = {
    // Lower difficulty: every route reaches well beyond 7 significant digits.
    {"Norris.dat", Route::Polynomial, 1, 1e-10, 1e-10, 1e-9, "Norris"},
    // Lower difficulty, but x reaches 3e6 so x^2 spans 12 orders of magnitude: the decomposition
    // keeps 9 digits, the normal equations 7.
    {"Pontius.dat", Route::Polynomial, 2, 1e-9, 1e-7, 1e-7, "Pontius"},
    // Average difficulty; the closed-form proportional fit is exact to rounding.
    {"NoInt1.dat", Route::Proportional, 0, 1e-12, 0.0, 1e-10, "NoInt1"},
    {"NoInt2.dat", Route::Proportional, 0, 1e-12, 0.0, 1e-10, "NoInt2"},
    // Higher difficulty (strongly collinear regressors): the decomposition reaches 7 digits, the
    // normal equations with Gauss-Jordan only 6.
    {"Longley.dat", Route::Regressors, 0, 1e-7, 1e-6, 1e-7, "Longley"},
    // Higher difficulty: degree 5 on x = 0..20 (x^5 up to 3.2e6). Wampler1 and 2 are exact fits.
    {"Wampler1.dat", Route::Polynomial, 5, 1e-8, 0.0, 1e-7, "Wampler1"},
    {"Wampler2.dat", Route::Polynomial, 5, 1e-8, 0.0, 1e-7, "Wampler2"},
    {"Wampler3.dat", Route::Polynomial, 5, 1e-8, 0.0, 1e-7, "Wampler3"},
    // Higher difficulty: degree 10 on x = -8.8..-3.1. The decomposition of the column-scaled design
    // (condition about 1e9) keeps 7 digits; the normal equations square that beyond 1 / epsilon.
    {"Filip.dat", Route::Polynomial, 10, 1e-7, 0.0, 1e-8, "Filip", true},
};

struct Fitted {
    int code = 0;
    TVector b;
    TVector ycalc{0.0};
    int params = 0;
};

Fitted fitBy(const NistCase& c, const NistData& data, int method)
{
    const test::NumericStateScope shared;
    LinearFitMethod = method;
    const int n = static_cast<int>(data.rows.size());
    const TVector y = column(data, 0);
    const TVector x = column(data, 1);
    Fitted f;
    TMatrix v;
    TMatrix xm{TVector{}};
    if (c.route == Route::Proportional) {
        f.b = {0.0};
        f.code = FitProportional(x, y, n, v, f.b);
    } else if (c.route == Route::Polynomial) {
        f.code = FitPolynomial(x, y, n, v, f.b, c.degree);
        BuildPowerMatrix(x, n, c.degree, xm);
    } else {
        for (std::size_t k = 1; k < data.rows.front().size(); ++k)
            xm.push_back(column(data, k));
        f.code = LinearLeastSquares(xm, y, n, v, f.b, true, static_cast<int>(xm.size()) - 1);
    }
    if (f.code != 0)
        return f; // a refused fit has no coefficients to evaluate
    const bool constant = c.route != Route::Proportional;
    const int nvar = constant ? static_cast<int>(xm.size()) - 1 : 1;
    f.params = constant ? nvar + 1 : 1;
    for (int i = 1; i <= n; ++i) {
        double value = constant ? f.b[0] : f.b[0] * x[i];
        for (int k = 1; constant && k <= nvar; ++k)
            value += f.b[k] * xm[k][i];
        f.ycalc.push_back(value);
    }
    return f;
}

void expectEstimates(const TVector& b, const NistData& data, double tolerance)
{
    ASSERT_FALSE(data.estimates.empty());
    for (std::size_t k = 0; k < data.estimates.size(); ++k)
        EXPECT_LE(relativeError(b[k], data.estimates[k]), tolerance) << "B" << k << " = " << b[k];
}

// Shown by file name in test listings instead of as bytes.
void PrintTo(const NistCase& c, std::ostream* os)
{
    *os << c.file;
}

class NistRegression : public ::testing::TestWithParam<NistCase> {
    test::NumericStateScope shared_;
};

TEST_P(NistRegression, CertifiedValues)
{
    const NistCase& c = GetParam();
    const NistData data = readNist(c.file);
    ASSERT_FALSE(data.rows.empty());
    const int n = static_cast<int>(data.rows.size());
    const Fitted fit = fitBy(c, data, kSingularValueMethod);
    ASSERT_EQ(fit.code, 0);
    ASSERT_EQ(data.estimates.size(), static_cast<std::size_t>(fit.params));
    expectEstimates(fit.b, data, c.tolerance);

    const TVector y = column(data, 0);
    FitStatistics stats;
    RegressionStatistics(y, fit.ycalc, n, stats, 0, fit.params - 1);
    const double sd = std::sqrt(stats.Vr);
    if (data.residualSd == 0.0)
        EXPECT_LE(sd, c.residualTolerance * std::fabs(VectorMean(y, 1, n)));
    else
        EXPECT_LE(relativeError(sd, data.residualSd), c.residualTolerance);

    if (c.normalTolerance > 0.0) {
        const Fitted normal = fitBy(c, data, kNormalEquations);
        ASSERT_EQ(normal.code, 0);
        expectEstimates(normal.b, data, c.normalTolerance);
    }
    if (c.normalRefused) {
        EXPECT_EQ(fitBy(c, data, kNormalEquations).code, -1);
    }
    if (c.route == Route::Polynomial && c.degree == 1) {
        TMatrix v;
        TVector b;
        ASSERT_EQ(FitStraightLine(column(data, 1), y, n, v, b), 0);
        expectEstimates(b, data, c.tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(DataSets, NistRegression, ::testing::ValuesIn(kNistCases),
                         [](const ::testing::TestParamInfo<NistCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace kurvex
