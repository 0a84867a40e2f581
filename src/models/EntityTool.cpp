#include "models/EntityTool.h"

#include "common/LineScanner.h"
#include "platform/FileSystem.h"
#include "platform/ToolRunner.h"

#include <algorithm>
#include <string_view>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

using Outcome = EntityToolRefresh::Outcome;
using Version = std::vector<std::int32_t>;

// "ripent 2.2.1" on the first line of what `ripent --version` says: {2, 2, 1}. Nothing when
// the tool does not run or says something else.
std::optional<Version> VersionOf(const fs::path& tool, ToolRunner& runner) {
    const ToolRun run = runner.RunTool(tool, {"--version"}, {});
    if (!run.Succeeded()) {
        return std::nullopt;
    }
    LineScanner line(std::string_view(run.output).substr(0, run.output.find('\n')));
    if (line.Word() != kEntityToolName) {
        return std::nullopt;
    }
    const std::string number = line.Word().value_or("");
    Version version;
    for (std::size_t start = 0; start <= number.size();) {
        const std::size_t dot = std::min(number.find('.', start), number.size());
        const std::string_view part = std::string_view(number).substr(start, dot - start);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string_view::npos) {
            return std::nullopt;
        }
        version.push_back(ScanInt(part).value_or(0));
        start = dot + 1;
    }
    return version;
}

bool SameContent(const fs::path& a, const fs::path& b) {
    const std::optional<FileStatus> first = QueryFile(a);
    const std::optional<FileStatus> second = QueryFile(b);
    if (!first || !second || first->size != second->size) {
        return false;
    }
    const std::optional<std::string> bytes = ReadWholeFile(a);
    return bytes && bytes == ReadWholeFile(b);
}

} // namespace

std::optional<fs::path> InstalledEntityTool(const std::vector<fs::path>& toolFolders) {
    for (const fs::path& folder : toolFolders) {
        if (FileExists(folder / kEntityToolName)) {
            return folder / kEntityToolName;
        }
    }
    return std::nullopt;
}

EntityToolRefresh RefreshEntityTool(const fs::path& workDir,
                                    const std::vector<fs::path>& toolFolders, ToolRunner& runner) {
    EntityToolRefresh refresh;
    refresh.target = workDir / kEntityToolName;
    const std::optional<fs::path> installed = InstalledEntityTool(toolFolders);
    if (installed && SameContent(*installed, refresh.target)) {
        return refresh; // the usual case, told without running either
    }
    const std::optional<Version> newest = installed ? VersionOf(*installed, runner) : std::nullopt;
    if (!newest) {
        refresh.outcome = Outcome::NoInstalledTool;
        return refresh;
    }
    const bool present = FileExists(refresh.target);
    if (present) {
        const std::optional<Version> current = VersionOf(refresh.target, runner);
        if (current && *current >= *newest) {
            return refresh;
        }
    }
    if (!CopyFileReplacing(*installed, refresh.target)) {
        refresh.outcome = Outcome::NotWritten;
        refresh.text =
            "Unable to put " + installed->string() + " in place as " + refresh.target.string();
        return refresh;
    }
    refresh.outcome = present ? Outcome::Replaced : Outcome::Placed;
    refresh.text = (present ? "Replaced the older " : "Put ") + refresh.target.string() +
                   (present ? " with " : " in place from ") + installed->string();
    return refresh;
}

} // namespace ballotine
