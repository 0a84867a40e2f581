#pragma once

#include "catalogue/WorkingPaths.h"
#include "platform/FileSystem.h"
#include "platform/ToolRunner.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::bench {

// A temporary folder for generated data, removed with all it holds on destruction; below the
// system's temporary folder unless told where.
class ScratchDir {
public:
    explicit ScratchDir(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / "ballotine-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~ScratchDir() {
        std::error_code error;
        if (!m_path.empty()) {
            std::filesystem::remove_all(m_path, error);
        }
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    bool Ok() const { return !m_path.empty(); }
    std::filesystem::path operator/(const std::filesystem::path& relative) const {
        return m_path / relative;
    }

private:
    std::filesystem::path m_path;
};

// Writes a file whole, making its folder; false when it cannot.
inline bool WriteBytes(const std::filesystem::path& path, std::string_view content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return out.good();
}

// The working paths of the mod tfc in a game folder `game`, with the mod's folders made.
inline WorkingPaths TfcPaths(const std::filesystem::path& game) {
    WorkingPaths paths;
    paths.installDir = game.string();
    ComputeWorkDir(paths);
    ComputeModPaths(paths, "tfc");
    CreateFolders(paths.mapsDir);
    CreateFolders(paths.modWorkDir + "mapzips");
    return paths;
}

// Runs `program` once per iteration as the program runs its tools (by argument list, in
// `folder`, the built tools first on the PATH); a failure ends the benchmark with an error.
inline void RunEachIteration(benchmark::State& state, const std::string& program,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& folder = {}) {
    SpawnToolRunner runner({BALLOTINE_BIN_DIR});
    for (auto _ : state) {
        const ToolRun run = runner.RunTool(program, arguments, folder);
        if (!run.Succeeded()) {
            state.SkipWithError(("failed: " + program + ": " + run.FailureReason()).c_str());
            return;
        }
    }
}

// A reference command line that needs a shell (redirections, "&&"), once per iteration.
inline void RunShellEachIteration(benchmark::State& state, const std::string& command,
                                  const std::filesystem::path& folder = {}) {
    RunEachIteration(state, "/bin/sh", {"-c", command}, folder);
}

} // namespace ballotine::bench

// main() for benchmarks that show windows: a QApplication on the offscreen platform unless
// another is asked for.
#define BALLOTINE_BENCHMARK_QT_MAIN()                                                              \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {                                      \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        }                                                                                          \
        QApplication application(argc, argv);                                                      \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
