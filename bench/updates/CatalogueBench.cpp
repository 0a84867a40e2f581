#include "BenchSupport.h"
#include "common/Text.h"
#include "download/DownloadQueue.h"
#include "updates/AvailableDownloads.h"
#include "updates/CatalogueTree.h"
#include "updates/UpdateCatalogue.h"
#include "updates/VersionTable.h"

#include <algorithm>
#include <sstream>

namespace {

using namespace ballotine;

constexpr int kRecords = 10000;

// A mod working folder whose update.conf holds 10,000 records: 5,000 new maps, and 5,000
// older maps that also offer an entity package (15,000 packages in all).
class GeneratedList {
public:
    static const GeneratedList& Shared() {
        static const GeneratedList list;
        return list;
    }
    const WorkingPaths& Paths() const { return m_paths; }
    std::string ListFile() const { return m_paths.modWorkDir + kMapUpdateListName; }

private:
    GeneratedList() {
        std::ostringstream list;
        list << "100\n";
        for (int index = 0; index < kRecords; ++index) {
            const bool fresh = index < kRecords / 2;
            const std::string key = "map" + std::to_string(index);
            list << "#MAP#\n"
                 << key << (fresh ? " 99 0\n" : " 1 1\n") << "1 " << 100000 + index
                 << "\nhttp://updates.example/maps/" << key << ".zip\nN/A\n"
                 << "Map package number " << index << "\n"
                 << (fresh ? 0 : 1) << " 2048\nhttp://updates.example/ents/" << key
                 << "_ent.zip\nN/A\nEntity package number " << index << "\n";
        }
        bench::WriteBytes(ListFile(), list.str() + "#END#");
    }

    bench::ScratchDir m_root;
    WorkingPaths m_paths = bench::TfcPaths(m_root / "Half-Life");
};

// The catalogue of the generated list on an empty version record.
struct BuiltCatalogue {
    BuiltCatalogue() {
        BuildUpdateTree(GeneratedList::Shared().Paths(), versions, downloads, tree, {});
    }
    VersionTable versions;
    AvailableDownloads downloads;
    CatalogueTree tree{downloads};
};

// The catalogue as the update list shows it first: every package listed and counted.
void BM_Catalogue10000_Ours(benchmark::State& state) {
    GeneratedList::Shared();
    for (auto _ : state) {
        BuiltCatalogue catalogue;
        catalogue.tree.UpdateSelectionTotals();
        benchmark::DoNotOptimize(catalogue.tree.SelectedCount());
        if (catalogue.tree.PackageCount() != kRecords * 3 / 2) {
            state.SkipWithError("the list was not read whole");
            return;
        }
    }
}
BENCHMARK(BM_Catalogue10000_Ours)->Unit(benchmark::kMillisecond);

// Reading the same file line by line and nothing more.
void BM_Catalogue10000_Reference(benchmark::State& state) {
    for (auto _ : state) {
        std::ifstream in(GeneratedList::Shared().ListFile());
        std::string line;
        std::size_t lines = 0;
        while (std::getline(in, line)) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
}
BENCHMARK(BM_Catalogue10000_Reference)->Unit(benchmark::kMillisecond);

// A double click on "New Maps" (5,000 packages) and the refresh that passes it on, redraws and
// recounts; every run flips the category, so checking and unchecking alternate.
void BM_CheckCategory5000_Ours(benchmark::State& state) {
    BuiltCatalogue catalogue;
    CatalogueTree& tree = catalogue.tree;
    for (auto _ : state) {
        tree.ToggleCheck({Category::NewMaps, -1});
        tree.RefreshCheckMarks();
        benchmark::DoNotOptimize(tree.TakeRedrawn().size());
    }
    state.counters["packages"] = static_cast<double>(tree.Packages(Category::NewMaps).size());
}
BENCHMARK(BM_CheckCategory5000_Ours)->Unit(benchmark::kMillisecond);

// The recount as it would be without the title index: every tree label looked up with a scan
// of the queue, which is what the index beside the queue saves.
void BM_CheckCategory5000_Reference(benchmark::State& state) {
    BuiltCatalogue catalogue;
    const DownloadQueue& queue = catalogue.downloads.Queue();
    for (auto _ : state) {
        std::int64_t bytes = 0;
        for (const Category category : kCategories) {
            for (const CatalogueNode& package : catalogue.tree.Packages(category)) {
                const auto found =
                    std::find_if(queue.begin(), queue.end(), [&](const DownloadItem& item) {
                        return EqualsNoCase(item.name, package.label);
                    });
                if (found != queue.end()) {
                    bytes += found->size;
                }
            }
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_CheckCategory5000_Reference)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
