// Minimisation: bracketing, golden-section search, line search and the Marquardt minimiser.
#include "numeric/Minimisation.h"

#include <cmath>
#include <utility>

namespace kurvex {

namespace {

// The line searched by MinimiseAlongLine: X0 + t * Dir over Lb..Ub.
struct LineState {
    TVector x0;
    TVector dir;
    TVector xt;
    int lb = 0;
    int ub = -1;
    ObjectiveFunction objective;
    // F(X0) when the caller already knows it (the minimiser does), so t = 0 costs no evaluation.
    bool startKnown = false;
    double startValue = 0.0;
};

LineState& lineState()
{
    static LineState state;
    return state;
}

} // namespace

void BracketMinimum(const LineFunction& F, double& A, double& B, double& C, double& Fa, double& Fb,
                    double& Fc)
{
    if (A > B)
        std::swap(A, B);
    Fa = F(A);
    Fb = F(B);
    if (Fb > Fa) {
        std::swap(A, B);
        std::swap(Fa, Fb);
    }
    C = B + kGoldenRatio * (B - A);
    Fc = F(C);
    // A function that keeps falling (or a direction of tiny length) must not widen the bracket forever.
    for (int expansions = 0; Fc < Fb && std::isfinite(Fc) && expansions < kMaxBracketExpansions;
         ++expansions) {
        A = B;
        B = C;
        Fa = Fb;
        Fb = Fc;
        C = B + kGoldenRatio * (B - A);
        Fc = F(C);
    }
    if (A > C) {
        std::swap(A, C);
        std::swap(Fa, Fc);
    }
}

int GoldenSectionSearch(const LineFunction& F, int MaxIter, double& Xmin, double& Ymin, double A, double B,
                        double Tol)
{
    if (Tol < kMinLineTolerance)
        Tol = kMinLineTolerance;
    double C = 0.0;
    double fa = 0.0;
    double fb = 0.0;
    double fc = 0.0;
    BracketMinimum(F, A, B, C, fa, fb, fc);
    double x0 = A;
    double x3 = C;
    double x1 = 0.0;
    double x2 = 0.0;
    double f1 = 0.0;
    double f2 = 0.0;
    if (B - A >= C - B) {
        x1 = B - kSectionRatio * (B - A);
        x2 = B;
        f1 = F(x1);
        f2 = fb;
    } else {
        x1 = B;
        x2 = B + kSectionRatio * (C - B);
        f1 = fb;
        f2 = F(x2);
    }
    // The relative test alone never holds for a minimum at 0 (a flat line, no descent); the floor,
    // a small share of the bracket's width, ends those searches normally.
    const double absoluteFloor = Tol * kMinLineTolerance * std::fabs(x3 - x0);
    int iter = 0;
    for (; iter <= MaxIter; ++iter) {
        if (std::fabs(x3 - x0) <= Tol * (std::fabs(x1) + std::fabs(x2)) + absoluteFloor)
            break;
        if (f2 >= f1) {
            x3 = x2;
            x2 = x1;
            f2 = f1;
            x1 = x1 - kSectionRatio * (x1 - x0);
            f1 = F(x1);
        } else {
            x0 = x1;
            x1 = x2;
            f1 = f2;
            x2 = x2 + kSectionRatio * (x3 - x2);
            f2 = F(x2);
        }
    }
    if (f1 >= f2) {
        Xmin = x2;
        Ymin = f2;
    } else {
        Xmin = x1;
        Ymin = f1;
    }
    return iter > MaxIter ? kIterationLimit : kConverged;
}

double ValueAlongLine(double t)
{
    LineState& line = lineState();
    if (t == 0.0 && line.startKnown)
        return line.startValue;
    for (int i = line.lb; i <= line.ub; ++i)
        line.xt[i] = line.x0[i] + t * line.dir[i];
    return line.objective(line.xt);
}

namespace {

int minimiseAlongLine(const ObjectiveFunction& F, TVector& X, const double* knownValue, const TVector& Dir,
                      int Lb, int Ub, int MaxIter, double Tol, double& Ymin)
{
    LineState& line = lineState();
    line.x0 = X;
    line.dir = Dir;
    line.xt = X;
    line.lb = Lb;
    line.ub = Ub;
    line.objective = F;
    line.startKnown = knownValue != nullptr;
    line.startValue = knownValue ? *knownValue : 0.0;
    double t = 0.0;
    const int code = GoldenSectionSearch(ValueAlongLine, MaxIter, t, Ymin, 0.0, 1.0, Tol);
    line.startKnown = false;
    if (code != kConverged)
        return code;
    for (int i = Lb; i <= Ub; ++i)
        X[i] += t * Dir[i];
    return code;
}

} // namespace

int MinimiseAlongLine(const ObjectiveFunction& F, TVector& X, const TVector& Dir, int Lb, int Ub, int MaxIter,
                      double Tol, double& Ymin)
{
    return minimiseAlongLine(F, X, nullptr, Dir, Lb, Ub, MaxIter, Tol, Ymin);
}

bool ParametersConverged(const TVector& Xold, const TVector& X, int Lb, int Ub, double Tol)
{
    for (int i = Lb; i <= Ub; ++i) {
        const double limit = std::fmax(std::fabs(Xold[i]) * Tol, Tol);
        if (!(std::fabs(X[i] - Xold[i]) < limit))
            return false;
    }
    return true;
}

namespace {

// Brings the system to unit diagonal (by the undamped matrix H) before it is solved: parameters
// many orders of magnitude apart are then pivoted alike, and a tiny diagonal is no longer "singular".
TVector unitDiagonalScale(const TMatrix& H, int Lb, int Ub)
{
    TVector scale;
    AllocVector(scale, Ub);
    for (int i = Lb; i <= Ub; ++i)
        scale[i] = H[i][i] > 0.0 && std::isfinite(H[i][i]) ? 1.0 / std::sqrt(H[i][i]) : 1.0;
    return scale;
}

// Solves (H with its diagonal times diagonalFactor) dX = G in the scaled variables and undoes the
// scaling; Inv receives the inverse of the unscaled matrix. Returns the code of InvertGaussJordan.
int solveScaled(const TMatrix& H, double diagonalFactor, const TVector& G, const TVector& scale, int Lb,
                int Ub, TMatrix& Inv, TVector& dX)
{
    TMatrix a = H;
    TVector g = G;
    for (int i = Lb; i <= Ub; ++i) {
        for (int j = Lb; j <= Ub; ++j)
            a[i][j] = H[i][j] * scale[i] * scale[j];
        a[i][i] = diagonalFactor * H[i][i] * scale[i] * scale[i];
        g[i] = G[i] * scale[i];
    }
    const int code = InvertGaussJordan(a, g, Lb, Ub, Inv, dX);
    if (code != 0)
        return code;
    for (int i = Lb; i <= Ub; ++i) {
        dX[i] *= scale[i];
        for (int j = Lb; j <= Ub; ++j)
            Inv[i][j] *= scale[i] * scale[j];
    }
    return code;
}

// Whether the undamped system itself has no solution; only then is the minimisation "singular".
bool undampedSingular(const TMatrix& H, const TVector& G, const TVector& scale, int Lb, int Ub)
{
    TMatrix inverse;
    TVector step;
    AllocVector(step, Ub);
    return solveScaled(H, 1.0, G, scale, Lb, Ub, inverse, step) != 0;
}

// The final full Gauss-Newton step after convergence; kept only when it does not raise F.
int finalUndampedStep(const ObjectiveFunction& F, const TMatrix& H, const TVector& G, const TVector& Xold,
                      int Lb, int Ub, TVector& X, double& Fmin, TMatrix& Inv)
{
    TVector dX;
    AllocVector(dX, Ub);
    const int code = solveScaled(H, 1.0, G, unitDiagonalScale(H, Lb, Ub), Lb, Ub, Inv, dX);
    if (code != 0)
        return code;
    TVector trial = Xold;
    for (int i = Lb; i <= Ub; ++i)
        trial[i] += dX[i];
    const double value = F(trial);
    if (value <= Fmin) {
        X = std::move(trial);
        Fmin = value;
    }
    return code;
}

} // namespace

int MarquardtMinimise(const ObjectiveFunction& F, const DerivativeRoutine& Deriv, TVector& X, int Lb, int Ub,
                      int MaxIter, double Tol, double& Fmin, TMatrix& Inv)
{
    double lambda = kLambdaStart;
    Fmin = F(X);
    int iter = 1;
    bool converged = false;
    bool done = false;
    int code = kConverged;
    TVector G;
    TVector dX;
    TMatrix H;
    AllocVector(G, Ub);
    AllocVector(dX, Ub);
    AllocMatrix(H, Ub, Ub);
    if (static_cast<int>(Inv.size()) <= Ub)
        AllocMatrix(Inv, Ub, Ub);
    do {
        const TVector xold = X;
        Deriv(F, X, Lb, Ub, G, H);
        for (int i = Lb; i <= Ub; ++i)
            G[i] = -G[i];
        if (converged) {
            code = finalUndampedStep(F, H, G, xold, Lb, Ub, X, Fmin, Inv);
            done = true;
        } else {
            const TVector scale = unitDiagonalScale(H, Lb, Ub);
            bool success = false;
            double ymin = Fmin;
            do {
                // A refused solve is a rejected trial: more damping makes the matrix better conditioned.
                code = solveScaled(H, 1.0 + lambda, G, scale, Lb, Ub, Inv, dX);
                if (code == 0) {
                    X = xold;
                    code = minimiseAlongLine(F, X, &Fmin, dX, Lb, Ub, kLineSearchMaxIter,
                                             kLineSearchTolerance, ymin);
                    // No rise at all (a perfect fit keeps Fmin = 0) is a success too.
                    success = code == 0 && ymin - Fmin <= kAcceptance * Fmin;
                    if (code != 0)
                        break;
                }
                if (!success) {
                    lambda *= kLambdaUp;
                    if (lambda > kLambdaLimit) {
                        code = undampedSingular(H, G, scale, Lb, Ub) ? kSingular : kDampingLimit;
                        break;
                    }
                    code = 0;
                }
            } while (!success);
            if (!success || code != 0) {
                X = xold; // a rejected or failed search leaves the last accepted point
            } else {
                converged = ParametersConverged(xold, X, Lb, Ub, Tol);
                lambda *= kLambdaDown;
                Fmin = ymin;
            }
        }
        ++iter;
        // A fit that has converged still takes its final step, also beyond the limit.
        if (code == 0 && !done && !converged && iter > MaxIter)
            code = kIterationLimit;
    } while (!done && code == 0);
    return code;
}

} // namespace kurvex
