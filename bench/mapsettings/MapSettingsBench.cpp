#include "BenchSupport.h"
#include "common/Text.h"
#include "mapsettings/EntityUpdate.h"
#include "mapsettings/ServerTypeTable.h"

namespace {

using namespace ballotine;

constexpr int kMaps = 2000;
constexpr int kSizesPerMap = 10;
constexpr int kTemplateLines = 50000;

// A mod working folder with 20,000 reference files (2,000 maps of 10 sizes each) and a large
// entity template whose lines name the 256 substitution keys; times are wall-clock, as the
// references run in a child process.
class GeneratedEntities {
public:
    static const GeneratedEntities& Shared() {
        static const GeneratedEntities entities;
        return entities;
    }
    std::string ModWorkDir() const { return (m_folder / "").string(); }
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }
    const ReferenceData& Data() const { return m_data; }

private:
    GeneratedEntities() {
        std::string types = std::string(kServerTypesHeader) + "\n";
        for (int size = 0; size < kSizesPerMap; ++size) {
            types += Format("s%02d\nSize %d\n", size, size);
        }
        bench::WriteBytes(m_folder / "servertypes.conf", types);
        for (int map = 0; map < kMaps; ++map) {
            for (int size = kSizesPerMap - 1; size >= 0; --size) {
                bench::WriteBytes(m_folder / Format("Entities/map%04d.S%02d.ref", map, size),
                                  "map.tpt\n");
            }
        }
        std::string lines;
        for (int line = 0; line < kTemplateLines; ++line) {
            lines += Format("\"key%d\" \"%%K%03d%% and %%K%03d%%\"\n", line, line % 256,
                            (line * 7) % 256);
        }
        bench::WriteBytes(m_folder / "Entities/map.tpt", lines);
        std::string sed;
        for (int key = 0; key < 256; ++key) {
            const std::string value = Format("value number %d", key);
            m_data.substitutions.push_back({Format("%%K%03d%%", key), value});
            sed += Format("s/%%K%03d%%/%s/g\n", key, value.c_str());
        }
        bench::WriteBytes(m_folder / "fill.sed", sed);
        m_data.templatePath = Path("Entities/map.tpt");
    }

    bench::ScratchDir m_folder;
    ReferenceData m_data;
};

// Opening the settings window's list: read servertypes.conf, search the Entities folder of
// 20,000 files for one map's sizes and rank them.
void BM_ListServerSizes_Ours(benchmark::State& state) {
    const GeneratedEntities& entities = GeneratedEntities::Shared();
    std::size_t rows = 0;
    for (auto _ : state) {
        ServerTypeTable table;
        table.LoadServerTypes(entities.ModWorkDir());
        rows = ListServerSizes(table, entities.ModWorkDir(), "map1234").size();
        benchmark::DoNotOptimize(rows);
    }
    if (rows != kSizesPerMap) {
        state.SkipWithError("the sizes were not found");
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ListServerSizes_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// `find` matching the same names without regard to case.
void BM_ListServerSizes_Reference(benchmark::State& state) {
    bench::RunShellEachIteration(state, "find '" + GeneratedEntities::Shared().Path("Entities") +
                                            "' -maxdepth 1 -iname 'map1234.*.ref' > /dev/null");
}
BENCHMARK(BM_ListServerSizes_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

// Filling a 50,000-line template with 256 substitutions into the entity text.
void BM_FillTemplate_Ours(benchmark::State& state) {
    const GeneratedEntities& entities = GeneratedEntities::Shared();
    const std::string output = entities.Path("ours.ent");
    for (auto _ : state) {
        if (!WriteEntityText(entities.Data(), output)) {
            state.SkipWithError("cannot write the entity text");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(output)));
}
BENCHMARK(BM_FillTemplate_Ours)->Unit(benchmark::kMillisecond)->UseRealTime();

// `sed` with one s///g command per substitution over the same template.
void BM_FillTemplate_Reference(benchmark::State& state) {
    const GeneratedEntities& entities = GeneratedEntities::Shared();
    const std::string output = entities.Path("sed.ent");
    bench::RunShellEachIteration(state, "sed -f '" + entities.Path("fill.sed") + "' '" +
                                            entities.Path("Entities/map.tpt") + "' > '" + output +
                                            "'");
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(output)));
}
BENCHMARK(BM_FillTemplate_Reference)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
