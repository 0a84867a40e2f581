#pragma once

#include "BenchSupport.h"
#include "platform/ToolRunner.h"

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

namespace ballotine::bench {

inline constexpr int kFiles = 2000;
inline constexpr std::size_t kFileSize = 50 * 1024; // 100 MB in all

// A game folder with the tfc mod and, in its mapzips folder, a map package of 2,000 files: a
// map at the top, the rest in 20 sound folders; half of each file random, half repeated, so it
// packs as map data roughly does and inflating does real work.
class GeneratedGame {
public:
    static const GeneratedGame& Shared() {
        static const GeneratedGame game;
        return game;
    }
    std::string Package() const { return paths.modWorkDir + "mapzips/bigmap.zip"; }
    std::string ExtractionFolder() const { return paths.modWorkDir + "mapzips/bigmap"; }
    // Takes away what a run placed or unpacked, so every run starts from the same game.
    void RemovePlaced() const {
        for (const std::filesystem::path& placed :
             {std::filesystem::path(paths.modDir + "sound"),
              std::filesystem::path(paths.mapsDir + "bigmap.bsp"), root / "scratch",
              std::filesystem::path(ExtractionFolder())}) {
            std::error_code error;
            std::filesystem::remove_all(placed, error);
        }
    }

    bench::ScratchDir root;
    WorkingPaths paths = bench::TfcPaths(root / "Half-Life");
    bool ok = true;

private:
    GeneratedGame() {
        std::mt19937_64 random(7);
        std::string content(kFileSize, 'm');
        for (int index = 0; ok && index < kFiles; ++index) {
            for (std::size_t at = 0; at + 8 <= kFileSize / 2; at += 8) {
                const std::uint64_t bits = random();
                std::memcpy(content.data() + at, &bits, sizeof bits);
            }
            ok = bench::WriteBytes(index == 0 ? root / "source/bigmap.bsp"
                                              : root / "source/sound" /
                                                    ("set" + std::to_string(index / 100)) /
                                                    ("s" + std::to_string(index) + ".wav"),
                                   content);
        }
        ok = ok &&
             bench::WriteBytes(paths.modWorkDir + "mappings.conf", "#FILES#\nbsp tfc\\maps\n") &&
             SpawnToolRunner()
                 .RunTool("zip", {"-q", "-r", "-1", Package(), "."}, root / "source")
                 .Succeeded();
    }
};

} // namespace ballotine::bench
