// GSL errors in the numeric tests fail the running test: GSL's own handler would abort the program.
#include <gsl/gsl_errno.h>
#include <gtest/gtest.h>

namespace {

void reportGslError(const char* reason, const char* file, int line, int gslErrno)
{
    ADD_FAILURE() << "GSL error " << gslErrno << " at " << file << ":" << line << ": " << reason;
}

// Installed before main, so no test runs with the aborting handler.
const gsl_error_handler_t* const previousHandler = gsl_set_error_handler(&reportGslError);

} // namespace
