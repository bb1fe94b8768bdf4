// Text-file speed at the size limit: reading 4 MB with either line end, an example list of that
// size loaded and saved, and a far larger file refused.
#include "core/ExampleFile.h"
#include "platform/TextFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr std::size_t kListBytes = (4u << 20) - 4096;

// A temporary directory with an example list just under the size limit, once with CR LF and
// once with CR alone, and a 200 MB file (sparse, so it costs no disk).
class LargeFiles {
public:
    LargeFiles()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kurvex-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        dir_ = pattern;
        write("Bsp1.txt", "\r\n");
        write("Bsp8.txt", "\r");
        std::ofstream(file("Hilfe.txt"), std::ios::binary) << " Hilfe\r\n";
        std::filesystem::resize_file(file("Hilfe.txt"), 200u << 20);
    }
    ~LargeFiles()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    LargeFiles(const LargeFiles&) = delete;
    LargeFiles& operator=(const LargeFiles&) = delete;

    std::string file(const char* name) const { return (dir_ / name).string(); }

private:
    void write(const char* name, const char* lineEnd) const
    {
        std::ofstream out(file(name), std::ios::binary);
        std::size_t written = 0;
        for (int i = 0; written < kListBytes; ++i) {
            const std::string line = "x^2+" + std::to_string(i) + ";  Beispiel" + lineEnd;
            out << line;
            written += line.size();
        }
    }

    std::filesystem::path dir_;
};

const LargeFiles& files()
{
    static const LargeFiles f;
    return f;
}

void readLines(benchmark::State& state, const char* name)
{
    const std::string path = files().file(name);
    for (auto _ : state) {
        std::string error;
        const auto lines = kurvex::ReadTextLines(path, error);
        if (!lines || !error.empty()) {
            state.SkipWithError("not read");
            break;
        }
        benchmark::DoNotOptimize(lines->size());
    }
}

void BM_ReadTextFileCrLf(benchmark::State& state)
{
    readLines(state, "Bsp1.txt");
}
BENCHMARK(BM_ReadTextFileCrLf)->Unit(benchmark::kMillisecond);

void BM_ReadTextFileCrAlone(benchmark::State& state)
{
    readLines(state, "Bsp8.txt");
}
BENCHMARK(BM_ReadTextFileCrAlone)->Unit(benchmark::kMillisecond);

// What the example list of a lesson does when it opens and closes with one entry added.
void BM_ExampleListAtTheSizeLimitLoadedAndSaved(benchmark::State& state)
{
    const std::string path = files().file("Bsp1.txt");
    for (auto _ : state) {
        kurvex::ExampleFile list(path, kurvex::ExampleFormat{});
        list.add({"x^5+1;  neu", {}});
        benchmark::DoNotOptimize(list.save());
        state.PauseTiming();
        list.remove(list.size() - 1);
        benchmark::DoNotOptimize(list.save());
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExampleListAtTheSizeLimitLoadedAndSaved)->Unit(benchmark::kMillisecond);

void BM_FarLargerFileIsRefused(benchmark::State& state)
{
    const std::string path = files().file("Hilfe.txt");
    for (auto _ : state) {
        std::string error;
        benchmark::DoNotOptimize(kurvex::ReadTextLines(path, error));
    }
}
BENCHMARK(BM_FarLargerFileIsRefused)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
