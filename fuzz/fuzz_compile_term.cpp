// Fuzz target for the term compiler: any bytes compile or fail cleanly, and compiled terms evaluate safely.
#include "core/term/Term.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kurvex;
    if (size == 0) {
        return 0;
    }
    // The first byte chooses the modes, the rest is the term text.
    const std::uint8_t modes = data[0];
    IntegrandMode = (modes & 1) != 0;
    SequenceMode = (modes & 2) != 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    TermTree tree;
    if (!CompileTerm(tree, text, (modes & 4) != 0)) {
        if (!tree.empty()) {
            std::abort();
        }
        return 0;
    }
    for (const double x : {-3.0, -0.5, 0.0, 1e-3, 2.0, 1e40}) {
        const double value = EvaluateTerm(tree, x, 0.5, 1.5, -2.0, 0.25, 3.0, 4.0);
        if (EvalOk && !(std::fabs(value) < 1e50)) {
            std::abort();
        }
        for (int order = 1; order <= 3; ++order) {
            const double slope = EvaluateDerivative(tree, order, x, 0.5, 1.5, -2.0, 0.25, 3.0, 4.0);
            if (EvalOk && std::isnan(slope)) {
                std::abort();
            }
        }
    }
    return 0;
}
