// Term evaluation speed: EvaluateTerm and EvaluateDerivative against muparser on the same expressions.
#include "core/fktpars.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expression {
    const char* name;
    const char* ours;
    const char* muparser;
};

// The last one has 60 nodes in our tree.
const Expression kExpressions[] = {
    {"parabola", "x^2-2x+1", "x^2-2*x+1"},
    {"trig", "sin(2x)+cos(pi/b)", "sin(2*x)+cos(_pi/b)"},
    {"mixed", "(0.1a+1)x+1.1-sin(x)-ln(x)/x*3/4", "(0.1*a+1)*x+1.1-sin(x)-ln(x)/x*3/4"},
    {"damped", "a*exp(-b*x)*sin(c*x+d)", "a*exp(-b*x)*sin(c*x+d)"},
    {"cubic", "x^3-3x", "x^3-3*x"},
    {"long60",
     "a*x^4+b*x^3-c*x^2+d*x-sin(x)*cos(2x)+exp(-x^2/2)/sqrt(2pi)+ln(x^2+1)-abs(x-1)/(1+x^2)+t*x/"
     "(x+3)-(x-a)*(x+b)",
     "a*x^4+b*x^3-c*x^2+d*x-sin(x)*cos(2*x)+exp(-x^2/2)/sqrt(2*_pi)+ln(x^2+1)-abs(x-1)/(1+x^2)+t*x/"
     "(x+3)-(x-a)*(x+b)"},
};

constexpr double kA = 1.5;
constexpr double kB = 0.75;
constexpr double kC = 2.0;
constexpr double kD = 0.25;
constexpr double kT = 0.5;

// Sample points inside every expression's domain, varied so that no branch is predicted from one value.
const std::vector<double>& samplePoints()
{
    static const std::vector<double> points = [] {
        std::vector<double> p(1024);
        for (std::size_t i = 0; i < p.size(); ++i) {
            p[i] = 0.1 + 4.9 * double((i * 617) % p.size()) / double(p.size());
        }
        return p;
    }();
    return points;
}

kurvex::TermTree compiled(const Expression& e)
{
    kurvex::TermTree tree;
    if (!kurvex::CompileTerm(tree, e.ours, true)) {
        std::fprintf(stderr, "does not compile: %s\n", e.ours);
    }
    return tree;
}

struct MuParserTerm {
    explicit MuParserTerm(const Expression& e)
    {
        parser.DefineVar("x", &x);
        parser.DefineVar("a", &a);
        parser.DefineVar("b", &b);
        parser.DefineVar("c", &c);
        parser.DefineVar("d", &d);
        parser.DefineVar("t", &t);
        parser.SetExpr(e.muparser);
        parser.Eval();
    }
    double at(double value)
    {
        x = value;
        return parser.Eval();
    }
    mu::Parser parser;
    double x = 0, a = kA, b = kB, c = kC, d = kD, t = kT;
};

// The same difference formulas as EvaluateDerivative, on muparser.
double muDerivative(MuParserTerm& term, int order, double x)
{
    if (order == 1) {
        constexpr double h = 0.001;
        return (term.at(x - 2 * h) - 8 * term.at(x - h) + 8 * term.at(x + h) - term.at(x + 2 * h)) / 0.012;
    }
    constexpr double h = 0.005;
    return (term.at(x + h) - 2 * term.at(x) + term.at(x - h)) / 0.000025;
}

void oursValue(benchmark::State& state, const Expression* e)
{
    const kurvex::TermTree tree = compiled(*e);
    const auto& points = samplePoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const double x = points[i++ & 1023];
        benchmark::DoNotOptimize(kurvex::EvaluateTerm(tree, x, kT, kA, kB, kC, kD, 0));
    }
}

void muValue(benchmark::State& state, const Expression* e)
{
    MuParserTerm term(*e);
    const auto& points = samplePoints();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(term.at(points[i++ & 1023]));
    }
}

void oursDerivative(benchmark::State& state, const Expression* e, int order)
{
    const kurvex::TermTree tree = compiled(*e);
    const auto& points = samplePoints();
    std::size_t i = 0;
    for (auto _ : state) {
        const double x = points[i++ & 1023];
        benchmark::DoNotOptimize(kurvex::EvaluateDerivative(tree, order, x, kT, kA, kB, kC, kD, 0));
    }
}

void muDerivativeBench(benchmark::State& state, const Expression* e, int order)
{
    MuParserTerm term(*e);
    const auto& points = samplePoints();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(muDerivative(term, order, points[i++ & 1023]));
    }
}

// Keeps ns per iteration of every run so that the ratio table can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // With repetitions the fastest one stands for the run (the least disturbed); without, the single one.
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                nsPerIteration[name] = run.GetAdjustedRealTime();
                hasAggregate.insert(name);
            } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 &&
                       !hasAggregate.contains(name)) {
                nsPerIteration[name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nsPerIteration;
    std::set<std::string> hasAggregate;
};

void withMinimum(benchmark::internal::Benchmark* bench)
{
    bench->ComputeStatistics(
        "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

} // namespace

int main(int argc, char** argv)
{
    const char* const kinds[] = {"value", "derivative1", "derivative2"};
    for (const Expression& e : kExpressions) {
        const std::string name = e.name;
        withMinimum(benchmark::RegisterBenchmark(("ours/value/" + name).c_str(), oursValue, &e));
        withMinimum(benchmark::RegisterBenchmark(("muparser/value/" + name).c_str(), muValue, &e));
        for (int order = 1; order <= 2; ++order) {
            const std::string kind = kinds[order];
            withMinimum(benchmark::RegisterBenchmark(("ours/" + kind + "/" + name).c_str(), oursDerivative,
                                                     &e, order));
            withMinimum(benchmark::RegisterBenchmark(("muparser/" + kind + "/" + name).c_str(),
                                                     muDerivativeBench, &e, order));
        }
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\n%-12s %-12s %12s %12s %8s\n", "kind", "expression", "ours ns", "muparser ns", "ratio");
    for (const char* kind : kinds) {
        for (const Expression& e : kExpressions) {
            const std::string suffix = std::string(kind) + "/" + e.name;
            const auto ours = reporter.nsPerIteration.find("ours/" + suffix);
            const auto mu = reporter.nsPerIteration.find("muparser/" + suffix);
            if (ours == reporter.nsPerIteration.end() || mu == reporter.nsPerIteration.end()) {
                continue;
            }
            std::printf("%-12s %-12s %12.2f %12.2f %8.2f\n", kind, e.name, ours->second, mu->second,
                        ours->second / mu->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
