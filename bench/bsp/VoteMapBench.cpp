#include "BenchSupport.h"
#include "kit/VoteHall.h"
#include "votemap/VoteMapKeywords.h"

#include <sstream>

namespace {

using namespace ballotine;

// The kit's template filled for 16 maps, as a compile fills it.
const std::string& SixteenMapText() {
    static const std::string text = [] {
        std::vector<std::string> maps;
        for (int i = 1; i <= kit::kBooths; ++i) {
            maps.push_back("map" + std::to_string(i));
        }
        const auto keywords = BuildVoteMapKeywords(maps, 24, 2, 2);
        std::istringstream lines(kit::VoteTemplate());
        std::string filled;
        for (std::string line; std::getline(lines, line);) {
            ApplyKeywords(line, keywords);
            filled += line + "\n";
        }
        return filled;
    }();
    return text;
}

const bench::ScratchDir& Folder() {
    static const bench::ScratchDir folder;
    return folder;
}

// The whole vote map made from its boxes (trees, clip hulls, faces, textures, light) and
// written to its file.
void BM_WriteVoteMap_Ours(benchmark::State& state) {
    for (auto _ : state) {
        std::string error;
        const std::optional<std::string> map = kit::WriteVoteHall(SixteenMapText(), error);
        if (!map || !bench::WriteBytes(Folder() / "vote.bsp", *map)) {
            state.SkipWithError(("cannot write the vote map: " + error).c_str());
            return;
        }
    }
}

// Putting the same file in place with cp.
void BM_WriteVoteMap_Reference(benchmark::State& state) {
    std::string error;
    if (!bench::WriteBytes(Folder() / "made.bsp",
                           kit::WriteVoteHall(SixteenMapText(), error).value_or(""))) {
        state.SkipWithError("cannot write the vote map");
        return;
    }
    bench::RunEachIteration(state, "cp",
                            {(Folder() / "made.bsp").string(), (Folder() / "copy.bsp").string()});
}

BENCHMARK(BM_WriteVoteMap_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteVoteMap_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
