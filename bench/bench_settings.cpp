// Settings-file speed: LoadSettings and SaveSettings on a file with 240 000 section headers.
#include "core/Settings.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// About as many as fit into the largest text file the program reads (4 MB).
constexpr int kForeignSections = 240000;

// A temporary directory holding a settings file whose own sections come after 240 000 others,
// so every look-up of a setting has the whole file before it.
class LargeSettingsFile {
public:
    LargeSettingsFile()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kurvex-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        dir_ = pattern;
        path_ = (dir_ / "Kurvex.ini").string();
        std::ofstream out(path_, std::ios::binary);
        for (int i = 0; i < kForeignSections; ++i) {
            out << "[Notiz " << i << "]\r\n";
        }
        out.close();
        // The program's own sections, written after the foreign ones.
        kurvex::LoadSettings(path_);
        if (!kurvex::SaveSettings(path_).empty()) {
            std::fprintf(stderr, "could not write %s\n", path_.c_str());
            std::exit(1);
        }
    }
    ~LargeSettingsFile()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    LargeSettingsFile(const LargeSettingsFile&) = delete;
    LargeSettingsFile& operator=(const LargeSettingsFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::filesystem::path dir_;
    std::string path_;
};

const LargeSettingsFile& largeFile()
{
    static const LargeSettingsFile file;
    return file;
}

void BM_LoadSettingsManySections(benchmark::State& state)
{
    const std::string& path = largeFile().path();
    for (auto _ : state) {
        kurvex::LoadSettings(path);
        benchmark::DoNotOptimize(kurvex::TermText);
    }
}
BENCHMARK(BM_LoadSettingsManySections)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveSettingsManySections(benchmark::State& state)
{
    const std::string& path = largeFile().path();
    kurvex::LoadSettings(path);
    for (auto _ : state) {
        const std::string error = kurvex::SaveSettings(path);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}
BENCHMARK(BM_SaveSettingsManySections)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
