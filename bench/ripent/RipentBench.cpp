#include "platform/CommandRunner.h"
#include "ripent/LumpTable.h"

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

constexpr std::int64_t kMapSize = 64 << 20;

// A 64 MB map of 14 filled lumps and its entity text, in a folder of its own.
class GeneratedMap {
public:
    GeneratedMap() {
        std::string pattern = (fs::temp_directory_path() / "ballotine-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            m_ok = false;
            return;
        }
        m_folder = pattern;
        Write("vote.bsp", Map());
        Write("vote.ent", "{\n\"classname\" \"worldspawn\"\n\"wad\" \"vote.wad\"\n}\n");
    }
    ~GeneratedMap() {
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    GeneratedMap(const GeneratedMap&) = delete;
    GeneratedMap& operator=(const GeneratedMap&) = delete;

    bool Ok() const { return m_ok; }
    std::string Path(const char* name) const { return (m_folder / name).string(); }

private:
    static std::string Map() {
        const std::int64_t lumpSize = (kMapSize - ripent::kHeaderSize) / (ripent::kLumpCount - 1);
        ripent::BspHeader header;
        for (int i = 1; i < ripent::kLumpCount; ++i) {
            header.lumps[i] = {i, lumpSize - i}; // odd lengths too, so padding is written
        }
        header.lumps = ripent::PlanLayout(header.lumps, 0);
        std::string map = ripent::EncodeHeader(header);
        map.resize(static_cast<std::size_t>(ripent::LaidOutSize(header.lumps)));
        std::mt19937_64 random(30);
        for (std::size_t at = ripent::kHeaderSize; at + 8 <= map.size(); at += 8) {
            const std::uint64_t bits = random();
            std::memcpy(map.data() + at, &bits, sizeof bits);
        }
        return map;
    }

    void Write(const char* name, const std::string& content) {
        std::ofstream out(m_folder / name, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        m_ok = m_ok && out.good();
    }

    fs::path m_folder;
    bool m_ok = true;
};

const GeneratedMap& SharedMap() {
    static const GeneratedMap map;
    return map;
}

void RunEachIteration(benchmark::State& state, const std::string& commandLine) {
    if (!SharedMap().Ok()) {
        state.SkipWithError("cannot write the generated map");
        return;
    }
    ShellCommandRunner runner;
    for (auto _ : state) {
        if (runner.Run(commandLine) != 0) {
            state.SkipWithError(("failed: " + commandLine).c_str());
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * kMapSize);
}

// The command line the vote map compile runs.
void BM_RipentImport64MB_Ours(benchmark::State& state) {
    RunEachIteration(state, "\"" BALLOTINE_BIN_DIR "/ripent\" -import \"" +
                                SharedMap().Path("vote") + "\" > nul");
}

void BM_RipentImport64MB_Reference(benchmark::State& state) {
    RunEachIteration(state, "cp \"" + SharedMap().Path("vote.bsp") + "\" \"" +
                                SharedMap().Path("copy.bsp") + "\"");
}

BENCHMARK(BM_RipentImport64MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RipentImport64MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
