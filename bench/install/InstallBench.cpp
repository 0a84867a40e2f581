#include "catalogue/WorkingPaths.h"
#include "install/Extraction.h"
#include "install/InstallLog.h"
#include "install/InstallMappings.h"
#include "install/Placement.h"
#include "platform/CommandRunner.h"
#include "platform/FileSystem.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace ballotine;

constexpr int kFolders = 20;
constexpr int kFilesPerFolder = 100;
constexpr std::size_t kFileSize = 50 * 1024; // 2,000 files, 100 MB

// A game folder with the tfc mod and, in its mapzips folder, a map package of 2,000 files:
// half of each file random, half repeated, so it packs as map data roughly does.
class GeneratedGame {
public:
    GeneratedGame() {
        std::string pattern = (fs::temp_directory_path() / "ballotine-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        m_root = pattern;
        m_paths.installDir = (m_root / "Half-Life").string();
        ComputeWorkDir(m_paths);
        ComputeModPaths(m_paths, "tfc");
        CreateFolders(m_paths.mapsDir);
        CreateFolders(m_paths.modWorkDir + "mapzips");
        std::ofstream(m_paths.modWorkDir + "mappings.conf") << "#FILES#\nbsp tfc\\maps\n";
        m_ok = WritePackageSource() && std::system(("cd '" + (m_root / "source").string() +
                                                    "' && zip -q -r -1 '" + PackageFile() + "' .")
                                                       .c_str()) == 0;
    }
    ~GeneratedGame() {
        std::error_code error;
        fs::remove_all(m_root, error);
    }
    GeneratedGame(const GeneratedGame&) = delete;
    GeneratedGame& operator=(const GeneratedGame&) = delete;

    bool Ok() const { return m_ok; }
    const WorkingPaths& Paths() const { return m_paths; }
    std::string PackageFile() const { return m_paths.modWorkDir + "mapzips/bigmap.zip"; }
    std::string ExtractionFolder() const { return m_paths.modWorkDir + "mapzips/bigmap"; }
    std::string Scratch() const { return (m_root / "scratch").string(); }
    std::string LogFile() const { return (m_root / "update.log").string(); }
    // Takes away what an installation placed, so every run places into the same game.
    void RemovePlaced() const {
        std::error_code error;
        fs::remove_all(m_paths.modDir + "sound", error);
        fs::remove_all(m_paths.mapsDir + "bigmap.bsp", error);
        fs::remove_all(Scratch(), error);
        fs::remove_all(ExtractionFolder(), error);
    }

private:
    // One map file at the top, the rest in sound folders.
    bool WritePackageSource() const {
        std::mt19937_64 random(7);
        std::string content(kFileSize, 'm');
        const fs::path source = m_root / "source";
        for (int index = 0; index < kFolders * kFilesPerFolder; ++index) {
            for (std::size_t at = 0; at + 8 <= kFileSize / 2; at += 8) {
                const std::uint64_t bits = random();
                std::memcpy(content.data() + at, &bits, sizeof bits);
            }
            const fs::path folder =
                index == 0 ? source
                           : source / "sound" / ("set" + std::to_string(index / kFilesPerFolder));
            fs::create_directories(folder);
            const std::string name =
                index == 0 ? "bigmap.bsp" : "s" + std::to_string(index) + ".wav";
            std::ofstream out(folder / name, std::ios::binary);
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            if (!out.good()) {
                return false;
            }
        }
        return true;
    }

    fs::path m_root;
    WorkingPaths m_paths;
    bool m_ok = false;
};

const GeneratedGame& SharedGame() {
    static const GeneratedGame game;
    return game;
}

// Extract with pkzip25, place by the mappings, delete the extraction folder, with a log.
void BM_Install100MB_Ours(benchmark::State& state) {
    const GeneratedGame& game = SharedGame();
    if (!game.Ok() || !fs::exists(BALLOTINE_BIN_DIR "/pkzip25")) {
        state.SkipWithError("needs the generated package and the built pkzip25");
        return;
    }
    ShellCommandRunner runner({BALLOTINE_BIN_DIR});
    const ExtractionSetup setup{game.Paths(), "tfc", runner};
    InstallMappings mappings;
    LoadMappings(mappings, game.Paths());
    for (auto _ : state) {
        InstallLog log;
        log.Open(game.LogFile());
        const bool installed = ExtractPackage(game.PackageFile(), "bigmap", setup, log) &&
                               PlaceContents(game.ExtractionFolder(), mappings, game.Paths(), log);
        DeleteTree(game.ExtractionFolder(), log);
        log.Close();
        if (!installed || fs::exists(game.ExtractionFolder())) {
            state.SkipWithError("the installation failed");
            return;
        }
        state.PauseTiming();
        game.RemovePlaced();
        state.ResumeTiming();
    }
}

void BM_Install100MB_Reference(benchmark::State& state) {
    const GeneratedGame& game = SharedGame();
    if (!game.Ok()) {
        state.SkipWithError("cannot generate the package");
        return;
    }
    ShellCommandRunner runner;
    const std::string command = "unzip -o -q '" + game.PackageFile() + "' -d '" + game.Scratch() +
                                "' && cp -r '" + game.Scratch() + "/.' '" + game.Paths().modDir +
                                "'";
    for (auto _ : state) {
        if (runner.Run(command) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            return;
        }
        state.PauseTiming();
        game.RemovePlaced();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_Install100MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Install100MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
