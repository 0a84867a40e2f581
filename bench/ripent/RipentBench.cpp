#include "BenchSupport.h"
#include "bsp/LumpTable.h"

#include <cstring>
#include <random>

namespace {

using namespace ballotine;

constexpr std::int64_t kMapSize = 64 << 20;

// A 64 MB map of 14 filled lumps, odd lengths among them so padding is written.
std::string GeneratedMap() {
    const std::int64_t lumpSize = (kMapSize - bsp::kHeaderSize) / (bsp::kLumpCount - 1);
    bsp::BspHeader header;
    for (int i = 1; i < bsp::kLumpCount; ++i) {
        header.lumps[i] = {i, lumpSize - i};
    }
    header.lumps = bsp::PlanLayout(header.lumps, 0);
    std::string map = bsp::EncodeHeader(header);
    map.resize(static_cast<std::size_t>(bsp::LaidOutSize(header.lumps)));
    std::mt19937_64 random(30);
    for (std::size_t at = bsp::kHeaderSize; at + 8 <= map.size(); at += 8) {
        const std::uint64_t bits = random();
        std::memcpy(map.data() + at, &bits, sizeof bits);
    }
    return map;
}

// The map and its entity text in a folder of their own; the figures fail when they are missing.
const bench::ScratchDir& SharedMap() {
    static const bench::ScratchDir folder;
    [[maybe_unused]] static const bool written =
        bench::WriteBytes(folder / "vote.bsp", GeneratedMap()) &&
        bench::WriteBytes(folder / "vote.ent",
                          "{\n\"classname\" \"worldspawn\"\n\"wad\" \"vote.wad\"\n}\n");
    return folder;
}

void Measure(benchmark::State& state, const std::string& program,
             const std::vector<std::string>& arguments) {
    bench::RunEachIteration(state, program, arguments);
    state.SetBytesProcessed(state.iterations() * kMapSize);
}

// The tool as the vote map compile runs it.
void BM_RipentImport64MB_Ours(benchmark::State& state) {
    Measure(state, "ripent", {"-import", (SharedMap() / "vote").string()});
}

void BM_RipentImport64MB_Reference(benchmark::State& state) {
    Measure(state, "cp",
            {(SharedMap() / "vote.bsp").string(), (SharedMap() / "copy.bsp").string()});
}

BENCHMARK(BM_RipentImport64MB_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RipentImport64MB_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
