// The formula step of an import recompiles its expression for every source record, so compiling is measured as
// closely as evaluating. Prints, per shape, the time to compile and the time to evaluate a compiled expression,
// and for typical formulas the time of compile plus one evaluation next to muParser's, with their ratio.

#include "parser/Parser.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Terms in bracketed groups of ten (one group stays unbracketed): a flat chain longer than 21 terms nests its
// operations deeper than the 20 levels an expression may have.
std::string chain(int terms)
{
    static const char* const ops[] = {"+", "-", "*", "/"};
    std::string text;
    for (int group = 0; group * 10 < terms; ++group) {
        std::string g;
        for (int i = group * 10; i < terms && i < group * 10 + 10; ++i) {
            if (i > group * 10)
                g += ops[i % 4];
            g += std::to_string(i % 9 + 1) + ".5";
        }
        if (terms > 10)
            g = "(" + g + ")";
        text += (group > 0 ? "+" : "") + g;
    }
    return text;
}

// The same terms without brackets: beyond 21 terms the text is refused (too many nestings), after every term
// check has run; this is the shape that makes the term checks work hardest.
std::string flatChain(int terms)
{
    static const char* const ops[] = {"+", "-", "*", "/"};
    std::string text;
    for (int i = 0; i < terms; ++i) {
        if (i > 0)
            text += ops[i % 4];
        text += std::to_string(i % 9 + 1) + ".5";
    }
    return text;
}

std::string negations(int count)
{
    std::string text = "A";
    for (int i = 0; i < count; ++i)
        text = "-(" + text + ")";
    return text;
}

// Written so that both parsers read them the same way.
const std::vector<std::string> typical = {
    "10*1.16+(3.5-1)/2",
    "(1234.56-100)*1.19",
    "12.5*3-4/2+7",
    "sqrt(16)+2^3*1.5",
    "max(3,4)*2-abs(-1.5)",
};

int operations(const parser::TCustomParser& p)
{
    int n = 0;
    for (const parser::OperationRecord* op = p.FirstOperation(); op; op = op->Next)
        ++n;
    return n;
}

void compileOurs(benchmark::State& state, const std::string& text)
{
    parser::TParser p;
    std::string refused;
    for (auto _ : state) {
        try {
            p.setExpression(text);
        } catch (const parser::EMathParserError& e) {
            refused = e.what();
        }
        benchmark::DoNotOptimize(p.FirstOperation());
    }
    state.counters["chars"] = static_cast<double>(text.size());
    state.counters["operations"] = operations(p);
    state.SetLabel(refused.empty() ? "compiles" : "refused: " + refused);
}

void evaluateOurs(benchmark::State& state, const std::string& text)
{
    parser::TParser p;
    p.setA(2);
    p.setExpression(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(p.Value());
    state.counters["operations"] = operations(p);
}

void BM_Compile_Chain(benchmark::State& state) { compileOurs(state, chain(static_cast<int>(state.range(0)))); }
void BM_Evaluate_Chain(benchmark::State& state) { evaluateOurs(state, chain(static_cast<int>(state.range(0)))); }
void BM_Compile_FlatChain(benchmark::State& state)
{
    compileOurs(state, flatChain(static_cast<int>(state.range(0))));
}
void BM_Compile_Negations(benchmark::State& state) { compileOurs(state, negations(20)); }
void BM_Evaluate_Negations(benchmark::State& state) { evaluateOurs(state, negations(20)); }
void BM_Evaluate_Typical(benchmark::State& state) { evaluateOurs(state, typical[state.range(0)]); }

void BM_CompileAndEvaluate_Ours(benchmark::State& state)
{
    const std::string& text = typical[state.range(0)];
    parser::TParser p;
    for (auto _ : state) {
        p.setExpression(text);
        benchmark::DoNotOptimize(p.Value());
    }
    state.SetLabel(text);
}

void BM_CompileAndEvaluate_MuParser(benchmark::State& state)
{
    const std::string& text = typical[state.range(0)];
    mu::Parser p;
    for (auto _ : state) {
        p.SetExpr(text);
        benchmark::DoNotOptimize(p.Eval());
    }
    state.SetLabel(text);
}

void BM_Evaluate_MuParser(benchmark::State& state)
{
    mu::Parser p;
    p.SetExpr(typical[state.range(0)]);
    p.Eval();
    for (auto _ : state)
        benchmark::DoNotOptimize(p.Eval());
}

BENCHMARK(BM_Compile_Chain)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Evaluate_Chain)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Compile_FlatChain)->Arg(10)->Arg(20)->Arg(40)->Arg(80)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Compile_Negations)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Evaluate_Negations)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Evaluate_Typical)->DenseRange(0, 4)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Evaluate_MuParser)->DenseRange(0, 4)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_CompileAndEvaluate_Ours)->DenseRange(0, 4)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_CompileAndEvaluate_MuParser)->DenseRange(0, 4)->Unit(benchmark::kNanosecond);

// Keeps the times of the compile-plus-evaluate runs to print their ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatios() const
    {
        std::printf("\nCompile plus one evaluation, ours / muParser (goal: at most 2.00):\n");
        double worst = 0;
        for (std::size_t i = 0; i < typical.size(); ++i) {
            const auto ours = times_.find("BM_CompileAndEvaluate_Ours/" + std::to_string(i));
            const auto theirs = times_.find("BM_CompileAndEvaluate_MuParser/" + std::to_string(i));
            if (ours == times_.end() || theirs == times_.end())
                continue;
            const double ratio = ours->second / theirs->second;
            worst = std::max(worst, ratio);
            std::printf("  %-24s %8.1f ns / %8.1f ns = %.2f\n", typical[i].c_str(), ours->second, theirs->second,
                        ratio);
        }
        if (worst > 0)
            std::printf("  worst ratio: %.2f\n", worst);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
