#include "platform/CommandRunner.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {
namespace fs = std::filesystem;

constexpr int kFiles = 2000;
constexpr std::size_t kTotalBytes = 100u << 20;

// A 100 MB map package of 2,000 files in 20 folders, made once with the `zip` command.
// Half of each file is random (as compressed textures and sounds are), half repeats (as
// map lumps and text do), so inflating does real work.
class MapPackage {
public:
    MapPackage() {
        std::string pattern = (fs::temp_directory_path() / "pkzip25-bench-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data());
        const fs::path content = m_folder / "content";
        std::mt19937_64 random(42);
        const std::size_t average = kTotalBytes / kFiles;
        for (int i = 0; i < kFiles; ++i) {
            const fs::path file = content / ("folder" + std::to_string(i % 20)) /
                                  ("file" + std::to_string(i) + ".bsp");
            fs::create_directories(file.parent_path());
            const std::size_t size = average / 2 + random() % average;
            std::string bytes(size, '\0');
            for (std::size_t at = 0; at < size / 2; ++at) {
                bytes[at] = static_cast<char>(random());
            }
            for (std::size_t at = size / 2; at < size; ++at) {
                bytes[at] = "entity { \"classname\" \"info_player\" }\n"[at % 40];
            }
            std::ofstream(file, std::ios::binary)
                .write(bytes.data(), static_cast<std::streamsize>(size));
        }
        m_runner.Run("zip -q -r ../pack.zip .", content);
        fs::remove_all(content);
    }
    ~MapPackage() { fs::remove_all(m_folder); }
    MapPackage(const MapPackage&) = delete;
    MapPackage& operator=(const MapPackage&) = delete;

    // Unpacks the package into a fresh folder with `command` (which names "pack.zip" and
    // "out/"), timing only the command.
    void Measure(benchmark::State& state, const std::string& command) {
        for (auto _ : state) {
            state.PauseTiming();
            fs::remove_all(m_folder / "out");
            state.ResumeTiming();
            if (m_runner.Run(command, m_folder) != 0) {
                state.SkipWithError("extraction failed");
                break;
            }
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kTotalBytes));
    }

private:
    fs::path m_folder;
    ballotine::ShellCommandRunner m_runner{{BALLOTINE_BIN_DIR}};
};

MapPackage& Package() {
    static MapPackage package;
    return package;
}

void BM_Extract100MB_Ours(benchmark::State& state) {
    Package().Measure(state, "pkzip25 -extract -nofix -direct -over=all pack.zip out/");
}

void BM_Extract100MB_Reference(benchmark::State& state) {
    Package().Measure(state, "unzip -o -q pack.zip -d out/");
}

BENCHMARK(BM_Extract100MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Extract100MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
