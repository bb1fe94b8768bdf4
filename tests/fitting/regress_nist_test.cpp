// The NIST StRD linear regression data sets against their certified values.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "fitting/regress.h"
#include "fitting/stat.h"
#include "sample_points.h"

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

NistData readNist(const std::string& name)
{
    std::ifstream in(std::string(KURVEX_SHARED_DATA_DIR) + "/nist/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    NistData data;
    int first = 0, last = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (const auto at = line.find("Data  ");
            at != std::string::npos && line.find("(lines") != std::string::npos) {
            const auto numbers = numbersOf(line.substr(line.find("lines") + 5));
            first = static_cast<int>(numbers.at(0));
            const auto rest = line.substr(line.find("to") + 2);
            last = static_cast<int>(numbersOf(rest.substr(0, rest.find(')'))).at(0));
        }
        const auto trimmed = line.find_first_not_of(' ');
        if (trimmed != std::string::npos && line[trimmed] == 'B' && i < 60) {
            const auto numbers = numbersOf(line.substr(trimmed + 2));
            if (numbers.size() == 2)
                data.estimates.push_back(numbers[0]);
        }
        if (line.find("Standard Deviation") != std::string::npos && i > 0 &&
            lines[i - 1].find("Residual") != std::string::npos) {
            data.residualSd = numbersOf(line.substr(line.find("Deviation") + 9)).at(0);
        }
    }
    for (int i = first; i <= last; ++i) {
        auto row = numbersOf(lines.at(i - 1));
        if (!row.empty())
            data.rows.push_back(row);
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

using testing::MethodGuard;

void expectEstimates(const TVector& b, const NistData& data, double tolerance)
{
    ASSERT_FALSE(data.estimates.empty());
    for (std::size_t k = 0; k < data.estimates.size(); ++k) {
        EXPECT_LE(relativeError(b[k], data.estimates[k]), tolerance) << "B" << k << " = " << b[k];
    }
}

void expectResidualSd(const TVector& y, const TVector& ycalc, int n, int params, const NistData& data,
                      double tolerance)
{
    FitStatistics stats;
    RegressionStatistics(y, ycalc, n, stats, 0, params - 1);
    FitFailed = false;
    if (data.residualSd == 0.0) {
        EXPECT_LE(std::sqrt(stats.Vr),
                  tolerance * std::sqrt(VectorSum(y, 1, n) * VectorSum(y, 1, n)) / n + 1e-300);
    } else {
        EXPECT_LE(relativeError(std::sqrt(stats.Vr), data.residualSd), tolerance);
    }
}

TEST(NistRegression, NorrisStraightLine)
{
    // Lower difficulty: every route reaches well beyond 7 significant digits.
    MethodGuard guard;
    const NistData data = readNist("Norris.dat");
    ASSERT_EQ(data.rows.size(), 36u);
    const TVector y = column(data, 0), x = column(data, 1);
    const int n = 36;
    TMatrix v;
    TVector b;
    ASSERT_EQ(FitStraightLine(x, y, n, v, b), 0);
    expectEstimates(b, data, 1e-10);
    for (const int method : {kNormalEquations, kSingularValueMethod}) {
        LinearFitMethod = method;
        ASSERT_EQ(FitPolynomial(x, y, n, v, b, 1), 0);
        expectEstimates(b, data, 1e-10);
    }
    TVector ycalc{0.0};
    for (int i = 1; i <= n; ++i)
        ycalc.push_back(b[0] + b[1] * x[i]);
    expectResidualSd(y, ycalc, n, 2, data, 1e-9);
}

TEST(NistRegression, PontiusQuadratic)
{
    // Lower difficulty, but x reaches 3e6 so x^2 spans 12 orders of magnitude: the decomposition
    // keeps 9 digits, the normal equations 7.
    MethodGuard guard;
    const NistData data = readNist("Pontius.dat");
    ASSERT_EQ(data.rows.size(), 40u);
    const TVector y = column(data, 0), x = column(data, 1);
    TMatrix v;
    TVector b;
    LinearFitMethod = kSingularValueMethod;
    ASSERT_EQ(FitPolynomial(x, y, 40, v, b, 2), 0);
    expectEstimates(b, data, 1e-9);
    TVector ycalc{0.0};
    for (int i = 1; i <= 40; ++i)
        ycalc.push_back(b[0] + x[i] * (b[1] + x[i] * b[2]));
    expectResidualSd(y, ycalc, 40, 3, data, 1e-7);
    LinearFitMethod = kNormalEquations;
    ASSERT_EQ(FitPolynomial(x, y, 40, v, b, 2), 0);
    expectEstimates(b, data, 1e-7);
}

TEST(NistRegression, NoInterceptLines)
{
    // Average difficulty; the closed-form proportional fit is exact to rounding.
    for (const char* name : {"NoInt1.dat", "NoInt2.dat"}) {
        SCOPED_TRACE(name);
        const NistData data = readNist(name);
        const TVector y = column(data, 0), x = column(data, 1);
        const int n = static_cast<int>(data.rows.size());
        TMatrix v;
        TVector b{0.0};
        ASSERT_EQ(FitProportional(x, y, n, v, b), 0);
        ASSERT_EQ(data.estimates.size(), 1u);
        EXPECT_LE(relativeError(b[0], data.estimates[0]), 1e-12);
        TVector ycalc{0.0};
        for (int i = 1; i <= n; ++i)
            ycalc.push_back(b[0] * x[i]);
        expectResidualSd(y, ycalc, n, 1, data, 1e-10);
    }
}

TEST(NistRegression, LongleySixPredictors)
{
    // Higher difficulty (strongly collinear regressors): the decomposition reaches 7 digits, the
    // normal equations with Gauss-Jordan only 6 on this data set.
    MethodGuard guard;
    const NistData data = readNist("Longley.dat");
    ASSERT_EQ(data.rows.size(), 16u);
    ASSERT_EQ(data.estimates.size(), 7u);
    TMatrix xm(7);
    for (int k = 1; k <= 6; ++k)
        xm[k] = column(data, k);
    const TVector y = column(data, 0);
    TMatrix v;
    TVector b;
    LinearFitMethod = kSingularValueMethod;
    ASSERT_EQ(LinearLeastSquares(xm, y, 16, v, b, true, 6), 0);
    expectEstimates(b, data, 1e-7);
    TVector ycalc{0.0};
    for (int i = 1; i <= 16; ++i) {
        double f = b[0];
        for (int k = 1; k <= 6; ++k)
            f += b[k] * xm[k][i];
        ycalc.push_back(f);
    }
    expectResidualSd(y, ycalc, 16, 7, data, 1e-7);
    LinearFitMethod = kNormalEquations;
    ASSERT_EQ(LinearLeastSquares(xm, y, 16, v, b, true, 6), 0);
    expectEstimates(b, data, 1e-6);
}

TEST(NistRegression, WamplerQuintics)
{
    // Higher difficulty: degree 5 on x = 0..20 (x^5 up to 3.2e6). Wampler1 and 2 are exact fits.
    MethodGuard guard;
    LinearFitMethod = kSingularValueMethod;
    struct Case {
        const char* name;
        double tolerance;
    };
    for (const Case& c :
         {Case{"Wampler1.dat", 1e-8}, Case{"Wampler2.dat", 1e-8}, Case{"Wampler3.dat", 1e-8}}) {
        SCOPED_TRACE(c.name);
        const NistData data = readNist(c.name);
        ASSERT_EQ(data.rows.size(), 21u);
        const TVector y = column(data, 0), x = column(data, 1);
        TMatrix v;
        TVector b;
        ASSERT_EQ(FitPolynomial(x, y, 21, v, b, 5), 0);
        expectEstimates(b, data, c.tolerance);
    }
}

} // namespace
} // namespace kurvex
