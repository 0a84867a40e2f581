#include "BenchSupport.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "sprites/MissingPictures.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

namespace {

using namespace ballotine;
namespace fs = std::filesystem;

constexpr int kMaps = 1000;
// A small map of a few rooms with its own textures.
constexpr std::size_t kMapBytes = 64 * 1024;

// The floors and walls a compiled map of that size offers: six rooms at their own heights in
// a ring joined by corridors, split into faces of at most 128 units as a map compiler splits
// them.
MapPlan DemoSizedPlan() {
    MapPlan plan;
    const auto area = [&plan](double x0, double y0, double x1, double y1, double height) {
        for (double x = x0; x < x1; x += 128) {
            for (double y = y0; y < y1; y += 128) {
                const double right = std::min(x + 128, x1), top = std::min(y + 128, y1);
                plan.floors.push_back({{{x, y}, {right, y}, {right, top}, {x, top}}, height});
            }
        }
        const std::array<PlanPoint, 4> corners = {{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}};
        for (std::size_t side = 0; side < corners.size(); ++side) {
            const PlanPoint from = corners[side], to = corners[(side + 1) % corners.size()];
            for (int part = 0; part < 4; ++part) {
                const auto at = [&](int i) {
                    return PlanPoint{from.x + (to.x - from.x) * i / 4,
                                     from.y + (to.y - from.y) * i / 4};
                };
                plan.walls.push_back({at(part), at(part + 1)});
                plan.walls.push_back({at(part), at(part + 1)}); // the wall's upper face
            }
        }
    };
    for (int room = 0; room < 6; ++room) {
        const double x = (room % 3) * 1024.0, y = (room / 3) * 1024.0;
        area(x, y, x + 512, y + 512, room * 48.0);
        area(x + 512, y + 192, x + 1024, y + 320, room * 48.0);
        area(x + 192, y + 512, x + 320, y + 1024, room * 24.0);
    }
    return plan;
}

class Installation {
public:
    static const Installation& Shared() {
        static const Installation installation;
        return installation;
    }
    fs::path Maps() const { return m_folder / "maps"; }
    fs::path Pictures() const { return m_folder / "sprites/vote"; }
    fs::path ReferenceSource() const { return m_folder / "reference"; }
    const MapPlan& Plan() const { return m_plan; }

private:
    Installation() {
        const std::string map(kMapBytes, 'm');
        const std::string sprite = EncodeSprite(ComposeTitleCard("reference"));
        for (int i = 0; i < kMaps; ++i) {
            bench::WriteBytes(Maps() / Format("map_%04d.bsp", i), map);
            bench::WriteBytes(ReferenceSource() / Format("map_%04d.spr", i), sprite);
        }
    }

    bench::ScratchDir m_folder;
    MapPlan m_plan = DemoSizedPlan();
};

// Pictures for 1,000 maps that have none: the maps folder listed, each map file read whole
// (standing in for the map reader), its plan drawn under its name and the sprite written
// atomically.
void BM_Pictures1000_Ours(benchmark::State& state) {
    const Installation& installation = Installation::Shared();
    const PlanSource plans = [&installation](const fs::path& map) -> PlanResult {
        if (!ReadWholeFile(map)) {
            return {std::nullopt, "cannot read the map"};
        }
        return {installation.Plan(), ""};
    };
    std::size_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(installation.Pictures());
        state.ResumeTiming();
        const PictureReport report =
            WriteMissingPictures({installation.Maps(), installation.Pictures(), {}, false}, plans);
        written = report.written.size();
        if (written != kMaps || !report.written.front().withPlan) {
            state.SkipWithError("not every picture was written with its plan");
            return;
        }
    }
    state.counters["pictures"] = static_cast<double>(written);
}
BENCHMARK(BM_Pictures1000_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// `cp -r` of 1,000 files of a vote picture's size into a new folder: writing as many files,
// without drawing them.
void BM_Pictures1000_Reference(benchmark::State& state) {
    const Installation& installation = Installation::Shared();
    SpawnToolRunner runner;
    const fs::path target = installation.Pictures().parent_path() / "copied";
    const std::vector<std::string> arguments = {"-r", installation.ReferenceSource().string(),
                                                target.string()};
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(target);
        state.ResumeTiming();
        const ToolRun run = runner.RunTool("cp", arguments, {});
        if (!run.Succeeded()) {
            state.SkipWithError(("failed: cp: " + run.FailureReason()).c_str());
            return;
        }
    }
}
BENCHMARK(BM_Pictures1000_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
