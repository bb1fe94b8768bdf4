// Least squares: proportional and straight-line fits, general linear and polynomial fits by normal
// equations or singular values, and the bounded nonlinear fit driven by the Marquardt minimiser.
#include "numeric/LeastSquares.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

#include "numeric/GuardedMath.h"
#include "numeric/Minimisation.h"
#include "numeric/Statistics.h"

namespace kurvex {

namespace {

// Grows V (never shrinks it, never clears what is there) so that V[ub1][ub2] exists.
void ensureMatrix(TMatrix& V, int ub1, int ub2)
{
    if (static_cast<int>(V.size()) <= ub1)
        V.resize(ub1 + 1);
    for (TVector& row : V) {
        if (static_cast<int>(row.size()) <= ub2)
            row.resize(ub2 + 1, 0.0);
    }
}

void ensureVector(TVector& B, int ub)
{
    if (static_cast<int>(B.size()) <= ub)
        B.resize(ub + 1, 0.0);
}

// The estimated relative error of a solution by the normal equations that still counts as a fit.
constexpr double kNormalEquationsErrorLimit = 1e-4;

// Largest column sum of |A[lb..ub][lb..ub]|.
double columnSumNorm(const TMatrix& A, int lb, int ub)
{
    double norm = 0.0;
    for (int k = lb; k <= ub; ++k) {
        double sum = 0.0;
        for (int j = lb; j <= ub; ++j)
            sum += std::fabs(A[j][k]);
        norm = std::fmax(norm, sum);
    }
    return norm;
}

// The condition number of A in the column-sum norm, from A and its computed inverse.
double conditionNumber(const TMatrix& A, const TMatrix& inverse, int lb, int ub)
{
    return columnSumNorm(A, lb, ub) * columnSumNorm(inverse, lb, ub);
}

int normalEquations(const TMatrix& Xm, const TVector& Y, int Ub, TMatrix& V, TVector& B, bool ConsTerm,
                    int Nvar)
{
    const int first = FirstPointIndex;
    TMatrix A;
    TVector c;
    AllocMatrix(A, Nvar, Nvar);
    AllocVector(c, Nvar);
    if (ConsTerm) {
        A[0][0] = Ub - first + 1;
        for (int k = 1; k <= Nvar; ++k) {
            A[0][k] = VectorSum(Xm[k], first, Ub);
            A[k][0] = A[0][k];
        }
        c[0] = VectorSum(Y, first, Ub);
    }
    for (int j = 1; j <= Nvar; ++j) {
        for (int k = j; k <= Nvar; ++k) {
            double sum = 0.0;
            for (int i = first; i <= Ub; ++i)
                sum += Xm[j][i] * Xm[k][i];
            A[j][k] = sum;
            A[k][j] = sum;
        }
        double sum = 0.0;
        for (int i = first; i <= Ub; ++i)
            sum += Xm[j][i] * Y[i];
        c[j] = sum;
    }
    const int lb = ConsTerm ? 0 : 1;
    // Solved with unit diagonal so that regressors of very different size are pivoted fairly.
    TVector scale;
    AllocVector(scale, Nvar);
    for (int k = lb; k <= Nvar; ++k)
        scale[k] = A[k][k] > 0.0 ? 1.0 / std::sqrt(A[k][k]) : 1.0;
    for (int j = lb; j <= Nvar; ++j) {
        for (int k = lb; k <= Nvar; ++k)
            A[j][k] *= scale[j] * scale[k];
        c[j] *= scale[j];
    }
    TMatrix inverse;
    TVector solution;
    const int code = InvertGaussJordan(A, c, lb, Nvar, inverse, solution);
    if (code != 0)
        return code;
    // Squaring the design squares its condition: beyond this the solution keeps no four digits, and
    // an inverted rank-deficient matrix would pass for a fit.
    if (conditionNumber(A, inverse, lb, Nvar) * kMachineEpsilon > kNormalEquationsErrorLimit)
        return -1;
    ensureMatrix(V, Nvar, Nvar);
    ensureVector(B, Nvar);
    for (int j = lb; j <= Nvar; ++j) {
        B[j] = solution[j] * scale[j];
        for (int k = lb; k <= Nvar; ++k)
            V[j][k] = inverse[j][k] * scale[j] * scale[k];
    }
    return code;
}

int singularValueFit(const TMatrix& Xm, const TVector& Y, int Ub, TMatrix& V, TVector& B, bool ConsTerm,
                     int Nvar)
{
    const int first = FirstPointIndex;
    const int n = Ub - first + 1;
    const int lb = ConsTerm ? 0 : 1;
    // Fewer points than parameters: zero rows keep the decomposition's shape; the rank test refuses it.
    const int lastRow = std::max(lb + n - 1, Nvar);
    TMatrix U;
    TVector rhs;
    AllocMatrix(U, lastRow, Nvar);
    AllocVector(rhs, lastRow);
    for (int r = lb; r < lb + n; ++r) {
        const int i = r - lb + first;
        if (ConsTerm)
            U[r][0] = 1.0;
        for (int k = 1; k <= Nvar; ++k)
            U[r][k] = Xm[k][i];
        rhs[r] = Y[i];
    }
    // Columns of very different size (raw powers of x) are brought to unit length first, so the
    // decomposition and its cut-off see the conditioning of the problem, not of its units.
    TVector scale;
    AllocVector(scale, Nvar);
    for (int k = lb; k <= Nvar; ++k) {
        double sum = 0.0;
        for (int r = lb; r <= lastRow; ++r)
            sum += U[r][k] * U[r][k];
        scale[k] = sum > 0.0 ? std::sqrt(sum) : 1.0;
        for (int r = lb; r <= lastRow; ++r)
            U[r][k] /= scale[k];
    }
    TMatrix W;
    TVector S;
    AllocMatrix(W, Nvar, Nvar);
    AllocVector(S, Nvar);
    const int code = SingularValueDecompose(U, lb, lastRow, W, S, Nvar);
    if (code != 0)
        return code;
    ZeroSmallSingularValues(S, lb, Nvar, SingularTolerance(n));
    // Fewer independent columns than parameters: the minimum-norm solution is one of many, no fit.
    for (int k = lb; k <= Nvar; ++k) {
        if (!(S[k] > 0.0))
            return -1;
    }
    ensureVector(B, Nvar);
    SolveBySingularValues(U, S, W, rhs, lb, lastRow, Nvar, B);
    for (int k = lb; k <= Nvar; ++k)
        B[k] /= scale[k];
    ensureMatrix(V, Nvar, Nvar);
    TVector q;
    AllocVector(q, Nvar);
    for (int k = lb; k <= Nvar; ++k)
        q[k] = S[k] > 0.0 ? 1.0 / (S[k] * S[k]) : 0.0;
    for (int i = lb; i <= Nvar; ++i) {
        for (int j = lb; j <= i; ++j) {
            double sum = 0.0;
            for (int k = lb; k <= Nvar; ++k)
                sum += W[i][k] * W[j][k] * q[k];
            V[i][j] = sum / (scale[i] * scale[j]);
            V[j][i] = V[i][j];
        }
    }
    return 0;
}

// The data of the running nonlinear fit, read by its objective and gradient.
struct NonlinearFitData {
    int ub = 1;
    TVector x;
    TVector y;
    // Model values of the latest evaluation, and of the lowest complete sum with its parameters:
    // the line search ends on that point, so the gradient there needs no new model values.
    TVector ycalc;
    TVector bestYcalc;
    TVector bestB;
    double bestSum = 0.0;
    bool bestKnown = false;
    int plb = 0;
    int pub = 1;
    TVector bmin;
    TVector bmax;
    ModelFunction func;
    ModelDerivatives deriv;
};

NonlinearFitData& fitData()
{
    static NonlinearFitData data;
    return data;
}

} // namespace

int FitProportional(const TVector& X, const TVector& Y, int Ub, TMatrix& /*V*/, TVector& B)
{
    double sxx = 0.0;
    double sxy = 0.0;
    for (int i = FirstPointIndex; i <= Ub; ++i) {
        sxx += X[i] * X[i];
        sxy += X[i] * Y[i];
    }
    if (!(sxx > 0.0))
        return -1;
    ensureVector(B, 0);
    B[0] = sxy / sxx;
    return 0;
}

int FitStraightLine(const TVector& X, const TVector& Y, int Ub, TMatrix& V, TVector& B)
{
    const int n = Ub - FirstPointIndex + 1;
    double sx = 0.0;
    double sy = 0.0;
    double sxx = 0.0;
    double sxy = 0.0;
    for (int i = FirstPointIndex; i <= Ub; ++i) {
        sx += X[i];
        sy += Y[i];
        sxx += X[i] * X[i];
        sxy += X[i] * Y[i];
    }
    // The determinant cancels n Sxx against Sx^2: at rounding level the x do not differ (a sum of
    // equal logarithms, say) and the slope would be noise.
    const double d = n * sxx - sx * sx;
    if (!(d > n * kMachineEpsilon * (n * sxx)))
        return -1;
    ensureMatrix(V, 1, 1);
    ensureVector(B, 1);
    V[0][0] = sxx / d;
    V[0][1] = -sx / d;
    V[1][0] = V[0][1];
    V[1][1] = n / d;
    B[0] = V[0][0] * sy + V[0][1] * sxy;
    B[1] = V[1][0] * sy + V[1][1] * sxy;
    return 0;
}

int LinearLeastSquares(const TMatrix& Xm, const TVector& Y, int Ub, TMatrix& V, TVector& B, bool ConsTerm,
                       int Nvar)
{
    switch (LinearFitMethod) {
    case kNormalEquations:
        return normalEquations(Xm, Y, Ub, V, B, ConsTerm, Nvar);
    case kSingularValueMethod:
        return singularValueFit(Xm, Y, Ub, V, B, ConsTerm, Nvar);
    default:
        return -1; // an unknown method must not pass for a fit
    }
}

void BuildPowerMatrix(const TVector& X, int Ub, int Deg, TMatrix& Xm)
{
    AllocMatrix(Xm, Deg, Ub);
    if (Deg < 1)
        return;
    for (int i = FirstPointIndex; i <= Ub; ++i)
        Xm[1][i] = X[i];
    for (int k = 2; k <= Deg; ++k) {
        for (int i = FirstPointIndex; i <= Ub; ++i)
            Xm[k][i] = Xm[k - 1][i] * X[i];
    }
}

int FitPolynomial(const TVector& X, const TVector& Y, int Ub, TMatrix& V, TVector& B, int Deg)
{
    TMatrix xm;
    BuildPowerMatrix(X, Ub, Deg, xm);
    return LinearLeastSquares(xm, Y, Ub, V, B, true, Deg);
}

void SetNonlinearFitData(const ModelFunction& Func, const ModelDerivatives& Deriv, const TVector& X,
                         const TVector& Y, int Ub, int PLb, int PUb, const TVector& Bmin, const TVector& Bmax)
{
    NonlinearFitData& data = fitData();
    data.ub = Ub;
    AllocVector(data.x, Ub);
    AllocVector(data.y, Ub);
    AllocVector(data.ycalc, Ub);
    AllocVector(data.bestYcalc, Ub);
    data.bestB.clear();
    data.bestKnown = false;
    CopyVectorRange(data.x, X, FirstPointIndex, Ub);
    CopyVectorRange(data.y, Y, FirstPointIndex, Ub);
    data.plb = PLb;
    data.pub = PUb;
    AllocVector(data.bmin, PUb);
    AllocVector(data.bmax, PUb);
    CopyVectorRange(data.bmin, Bmin, PLb, PUb);
    CopyVectorRange(data.bmax, Bmax, PLb, PUb);
    data.func = Func;
    data.deriv = Deriv;
}

namespace {

// The residual sum with the model called directly when it is a plain function, not through the
// std::function wrapper: the fit spends nearly all its time in this loop.
template <typename Model> double residualSum(NonlinearFitData& data, Model model, const TVector& B)
{
    const double* x = data.x.data();
    const double* y = data.y.data();
    double* ycalc = data.ycalc.data();
    double sum = 0.0;
    for (int i = FirstPointIndex; i <= data.ub; ++i) {
        ycalc[i] = model(x[i], B);
        const double r = y[i] - ycalc[i];
        sum += r * r;
        if (sum > kPenaltyValue)
            return kPenaltyValue;
    }
    return sum;
}

using PlainModel = double (*)(double, const TVector&);

// Bit for bit, the whole vector: the kept model values belong to exactly these parameters.
bool sameParameters(const NonlinearFitData& data, const TVector& B)
{
    return B.size() == data.bestB.size() &&
           std::memcmp(B.data(), data.bestB.data(), B.size() * sizeof(double)) == 0;
}

} // namespace

double ResidualSumOfSquares(const TVector& B)
{
    NonlinearFitData& data = fitData();
    for (int j = data.plb; j <= data.pub; ++j) {
        if (B[j] < data.bmin[j] || B[j] > data.bmax[j])
            return kPenaltyValue;
    }
    const PlainModel* plain = data.func.target<PlainModel>();
    const double sum = plain ? residualSum(data, *plain, B) : residualSum(data, std::cref(data.func), B);
    if (sum < kPenaltyValue && (!data.bestKnown || sum <= data.bestSum)) {
        data.ycalc.swap(data.bestYcalc);
        data.bestB = B;
        data.bestSum = sum;
        data.bestKnown = true;
    }
    return sum;
}

void FitGradientHessian(const TVector& B, int PLb, int PUb, TVector& G, TMatrix& H)
{
    NonlinearFitData& data = fitData();
    ensureVector(G, PUb);
    ensureMatrix(H, PUb, PUb);
    TVector d;
    AllocVector(d, PUb);
    for (int j = PLb; j <= PUb; ++j) {
        G[j] = 0.0;
        for (int k = PLb; k <= PUb; ++k)
            H[j][k] = 0.0;
    }
    const bool known = data.bestKnown && sameParameters(data, B);
    for (int i = FirstPointIndex; i <= data.ub; ++i) {
        // Residuals at B itself, not at whichever point the line search probed last.
        const double yc = known ? data.bestYcalc[i] : data.func(data.x[i], B);
        const double r = data.y[i] - yc;
        data.deriv(data.func, data.x[i], yc, B, d);
        for (int j = PLb; j <= PUb; ++j) {
            G[j] -= d[j] * r;
            for (int k = j; k <= PUb; ++k)
                H[j][k] += d[j] * d[k];
        }
    }
    for (int j = PLb; j <= PUb; ++j) {
        for (int k = j + 1; k <= PUb; ++k)
            H[k][j] = H[j][k];
    }
}

int FitNonlinear(const ModelFunction& Func, const ModelDerivatives& Deriv, const TVector& X, const TVector& Y,
                 int Ub, int PLb, int PUb, int MaxIter, double Tol, TVector& B, const TVector& Bmin,
                 const TVector& Bmax, TMatrix& V)
{
    SetNonlinearFitData(Func, Deriv, X, Y, Ub, PLb, PUb, Bmin, Bmax);
    const ObjectiveFunction objective = ResidualSumOfSquares;
    const DerivativeRoutine gradient = [](const ObjectiveFunction&, const TVector& P, int Lb, int Ub2,
                                          TVector& G, TMatrix& H) { FitGradientHessian(P, Lb, Ub2, G, H); };
    ensureMatrix(V, PUb, PUb);
    double fmin = 0.0;
    const int code = MarquardtMinimise(objective, gradient, B, PLb, PUb, MaxIter, Tol, fmin, V);
    // Started outside the bounds, every probe is the flat penalty: the search ends there calmly,
    // but nothing was fitted.
    if (code == 0 && !(fmin < kPenaltyValue))
        return kIterationLimit;
    return code;
}

} // namespace kurvex
