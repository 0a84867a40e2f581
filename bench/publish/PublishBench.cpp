#include "BenchSupport.h"
#include "common/Text.h"
#include "demo/DemoBsp.h"
#include "demo/DemoWriter.h"
#include "publish/Publisher.h"

namespace {

using namespace ballotine;
namespace fs = std::filesystem;

constexpr int kMaps = 200;
constexpr const char* kBaseUrl = "https://maps.example.org/ballotine";

// A source of 200 maps of the demo's kind (two to four rooms, about 50 KB), each with its
// description and no vote picture, every fourth with a server size; and the zip archive the
// reference writes of the same files.
class Source {
public:
    static const Source& Shared() {
        static const Source source;
        return source;
    }
    fs::path Folder() const { return m_folder / "source"; }
    fs::path Dest() const { return m_folder / "www"; }
    fs::path Zip() const { return m_folder / "reference.zip"; }

private:
    Source() {
        demo::DemoWriter writer(Folder());
        for (int i = 0; i < kMaps; ++i) {
            const std::string name = Format("map_%03d", i);
            const std::string title = Format("Map %d - Capture The Flag", i);
            writer.Bytes("tfc/maps/" + name + ".bsp", demo::MakeBsp(name, title, writer));
            writer.Text("tfc/maps/" + name + ".txt", title + "\n\nA map of the benchmark.\n");
            if (i % 4 == 0) {
                writer.Text("tfc/Entities/" + name + ".16.ref",
                            name + ".tpt\n%WAIT% = \"5\"\n#INFO#\nMedium server\n");
                writer.Text("tfc/Entities/" + name + ".tpt",
                            "{\n\"classname\" \"worldspawn\"\n\"wait\" \"%WAIT%\"\n}\n");
            }
        }
    }

    bench::ScratchDir m_folder;
};

void RunPublish(benchmark::State& state, const Source& source) {
    const PublishReport report = Publish({source.Folder(), source.Dest(), kBaseUrl, {}});
    if (!report.Succeeded() || report.maps != kMaps) {
        state.SkipWithError(("publish failed: " + report.error).c_str());
    }
}

// 200 maps published into an empty folder: each map read, checked and hashed, its vote
// picture drawn from its plan, its package, vote data package and (for every fourth) entity
// package zipped and written, the lists and the state written.
void BM_Publish200_Ours(benchmark::State& state) {
    const Source& source = Source::Shared();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(source.Dest());
        state.ResumeTiming();
        RunPublish(state, source);
    }
}
BENCHMARK(BM_Publish200_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// `zip -r` of the same files into one new archive.
void BM_Publish200_Reference(benchmark::State& state) {
    const Source& source = Source::Shared();
    bench::RunShellEachIteration(state, "rm -f ../reference.zip && zip -q -r ../reference.zip tfc",
                                 source.Folder());
}
BENCHMARK(BM_Publish200_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same tree published again: everything read, checked and hashed, nothing written.
void BM_Republish200_Ours(benchmark::State& state) {
    const Source& source = Source::Shared();
    fs::remove_all(source.Dest());
    RunPublish(state, source);
    for (auto _ : state) {
        RunPublish(state, source);
    }
}
BENCHMARK(BM_Republish200_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// `zip -r` again over its own archive, which it brings up to date.
void BM_Republish200_Reference(benchmark::State& state) {
    const Source& source = Source::Shared();
    bench::RunEachIteration(state, "zip", {"-q", "-r", source.Zip().string(), "tfc"},
                            source.Folder());
}
BENCHMARK(BM_Republish200_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
