// Reference nonlinear least squares by GSL's trust-region Levenberg-Marquardt, for the fit tests.
#pragma once

#include <gsl/gsl_blas.h>
#include <gsl/gsl_multifit_nlinear.h>
#include <gsl/gsl_vector.h>

#include <functional>
#include <vector>

namespace kurvex::testing {

struct GslModel {
    // Model value at x for the parameters p[0..n-1].
    std::function<double(double x, const double* p)> value;
    // Partial derivatives at x into d[0..n-1].
    std::function<void(double x, const double* p, double* d)> derivatives;
};

struct GslFitResult {
    std::vector<double> params;
    int status = 0;
    double sumOfSquares = 0.0;
};

namespace detail {

struct GslFitData {
    const std::vector<double>* x;
    const std::vector<double>* y;
    const GslModel* model;
    std::size_t p;
};

inline int gslResiduals(const gsl_vector* params, void* raw, gsl_vector* f)
{
    const auto* data = static_cast<const GslFitData*>(raw);
    for (std::size_t i = 0; i < data->x->size(); ++i) {
        gsl_vector_set(f, i, data->model->value((*data->x)[i], params->data) - (*data->y)[i]);
    }
    return GSL_SUCCESS;
}

inline int gslJacobian(const gsl_vector* params, void* raw, gsl_matrix* J)
{
    const auto* data = static_cast<const GslFitData*>(raw);
    std::vector<double> d(data->p);
    for (std::size_t i = 0; i < data->x->size(); ++i) {
        data->model->derivatives((*data->x)[i], params->data, d.data());
        for (std::size_t j = 0; j < data->p; ++j)
            gsl_matrix_set(J, i, j, d[j]);
    }
    return GSL_SUCCESS;
}

} // namespace detail

// Fits the points (x[i], y[i]) (0-based) from the start values.
inline GslFitResult GslNonlinearFit(const std::vector<double>& x, const std::vector<double>& y,
                                    const std::vector<double>& start, const GslModel& model,
                                    int maxIter = 500)
{
    detail::GslFitData data{&x, &y, &model, start.size()};
    gsl_multifit_nlinear_fdf fdf{};
    fdf.f = detail::gslResiduals;
    fdf.df = detail::gslJacobian;
    fdf.fvv = nullptr;
    fdf.n = x.size();
    fdf.p = start.size();
    fdf.params = &data;
    gsl_multifit_nlinear_parameters params = gsl_multifit_nlinear_default_parameters();
    gsl_multifit_nlinear_workspace* w =
        gsl_multifit_nlinear_alloc(gsl_multifit_nlinear_trust, &params, x.size(), start.size());
    gsl_vector_const_view p0 = gsl_vector_const_view_array(start.data(), start.size());
    gsl_multifit_nlinear_init(&p0.vector, &fdf, w);
    int info = 0;
    GslFitResult result;
    result.status = gsl_multifit_nlinear_driver(maxIter, 1e-12, 1e-12, 1e-12, nullptr, nullptr, &info, w);
    const gsl_vector* found = gsl_multifit_nlinear_position(w);
    result.params.assign(found->data, found->data + start.size());
    gsl_vector* f = gsl_multifit_nlinear_residual(w);
    gsl_blas_ddot(f, f, &result.sumOfSquares);
    gsl_multifit_nlinear_free(w);
    return result;
}

} // namespace kurvex::testing
