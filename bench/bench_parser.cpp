// Term evaluation speed: EvaluateTerm and EvaluateDerivative against muparser on the same expressions.
#include "core/term/Term.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
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
    {"long60", "a*x^4+b*x^3-c*x^2+d*x-sin(x)*cos(2x)+exp(-x^2/2)/sqrt(2pi)+ln(x^2+1)-abs(x-1)/(1+x^2)",
     "a*x^4+b*x^3-c*x^2+d*x-sin(x)*cos(2*x)+exp(-x^2/2)/sqrt(2*_pi)+ln(x^2+1)-abs(x-1)/(1+x^2)"},
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

double oursAt(const kurvex::TermTree& tree, int order, double x)
{
    return order == 0 ? kurvex::EvaluateTerm(tree, x, kT, kA, kB, kC, kD, 0)
                      : kurvex::EvaluateDerivative(tree, order, x, kT, kA, kB, kC, kD, 0);
}

double muAt(MuParserTerm& term, int order, double x)
{
    return order == 0 ? term.at(x) : muDerivative(term, order, x);
}

struct Figures {
    double oursNs;
    double muparserNs;
};
// Every repetition's figures, so that the table can show their median.
std::map<std::string, std::vector<Figures>> results;

// Passes every report on to the display the flags chose and keeps the figures of the repetitions.
// The benchmark function also runs while the library sizes the iteration count; only the runs it
// reports are measurements, and of those the aggregates (mean, median, ...) are not repetitions.
class RepetitionCollector : public benchmark::BenchmarkReporter {
public:
    explicit RepetitionCollector(benchmark::BenchmarkReporter* display) : display_(display) {}

    bool ReportContext(const Context& context) override { return display_->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            const auto ours = run.counters.find("ours_ns");
            const auto mu = run.counters.find("muparser_ns");
            if (ours != run.counters.end() && mu != run.counters.end()) {
                results[run.run_name.function_name].push_back({ours->second.value, mu->second.value});
            }
        }
        display_->ReportRuns(runs);
    }
    void Finalize() override { display_->Finalize(); }

private:
    benchmark::BenchmarkReporter* display_;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The machine may be shared, so each iteration times one batch of ours and one of muparser back to back
// (in alternating order), and the fastest batch of each side counts: the one least disturbed.
void compare(benchmark::State& state, const Expression* e, int order)
{
    constexpr int kBatch = 256;
    const kurvex::TermTree tree = compiled(*e);
    MuParserTerm term(*e);
    const auto& points = samplePoints();
    using Clock = std::chrono::steady_clock;
    double bestOurs = HUGE_VAL;
    double bestMu = HUGE_VAL;
    std::size_t offset = 0;
    bool oursFirst = true;
    for (auto _ : state) {
        const auto timeOurs = [&] {
            const auto start = Clock::now();
            for (int k = 0; k < kBatch; ++k) {
                benchmark::DoNotOptimize(oursAt(tree, order, points[(offset + std::size_t(k)) & 1023]));
            }
            return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        };
        const auto timeMu = [&] {
            const auto start = Clock::now();
            for (int k = 0; k < kBatch; ++k) {
                benchmark::DoNotOptimize(muAt(term, order, points[(offset + std::size_t(k)) & 1023]));
            }
            return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
        };
        if (oursFirst) {
            bestOurs = std::min(bestOurs, timeOurs());
            bestMu = std::min(bestMu, timeMu());
        } else {
            bestMu = std::min(bestMu, timeMu());
            bestOurs = std::min(bestOurs, timeOurs());
        }
        oursFirst = !oursFirst;
        offset += kBatch;
    }
    const Figures figures{bestOurs / kBatch, bestMu / kBatch};
    state.counters["ours_ns"] = figures.oursNs;
    state.counters["muparser_ns"] = figures.muparserNs;
    state.counters["ratio"] = figures.oursNs / figures.muparserNs;
}

} // namespace

int main(int argc, char** argv)
{
    const char* const kinds[] = {"value", "derivative1", "derivative2"};
    for (int order = 0; order <= 2; ++order) {
        for (const Expression& e : kExpressions) {
            const std::string key = std::string(kinds[order]) + "/" + e.name;
            benchmark::RegisterBenchmark(key.c_str(), compare, &e, order);
        }
    }
    benchmark::Initialize(&argc, argv);
    RepetitionCollector collector(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\nMedian over the repetitions of the fastest batch, ns per evaluation:\n");
    std::printf("%-12s %-12s %12s %12s %8s\n", "kind", "expression", "ours ns", "muparser ns", "ratio");
    for (int order = 0; order <= 2; ++order) {
        for (const Expression& e : kExpressions) {
            const auto found = results.find(std::string(kinds[order]) + "/" + e.name);
            if (found == results.end()) {
                continue;
            }
            std::vector<double> ours;
            std::vector<double> mu;
            for (const Figures& f : found->second) {
                ours.push_back(f.oursNs);
                mu.push_back(f.muparserNs);
            }
            std::printf("%-12s %-12s %12.2f %12.2f %8.2f\n", kinds[order], e.name, median(ours), median(mu),
                        median(ours) / median(mu));
        }
    }
    benchmark::Shutdown();
    return 0;
}
