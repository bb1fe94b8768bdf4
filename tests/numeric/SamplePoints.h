// Sample points for the fit tests: a function on an even grid and a fixed noise-like disturbance.
#pragma once

#include <cmath>
#include <functional>

#include "numeric/LeastSquares.h"
#include "numeric/Matrices.h"

namespace kurvex::testing {

// Points 1..n (index 0 unused), as the fits take them.
struct Points {
    TVector x{0.0};
    TVector y{0.0};
    int n = 0;
};

// count points of f evenly spread over [from, to].
inline Points sample(double from, double to, int count, const std::function<double(double)>& f)
{
    Points p;
    p.n = count;
    for (int i = 0; i < count; ++i) {
        const double x = from + (to - from) * i / (count - 1);
        p.x.push_back(x);
        p.y.push_back(f(x));
    }
    return p;
}

// Adds a reproducible disturbance of at most `size` to every y, in place of random noise.
inline Points disturbed(Points p, double size)
{
    for (int i = 1; i <= p.n; ++i)
        p.y[i] += size * std::sin(12.9898 * i) * std::cos(4.1414 * i);
    return p;
}

} // namespace kurvex::testing
