#include "votemap/VoteMapCompile.h"

#include "catalogue/BuiltInMaps.h"
#include "catalogue/WorkingPaths.h"
#include "entities/TemplateFile.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "votemap/VoteMapSettings.h"

#include <filesystem>

namespace ballotine {

namespace {

bool MapFilePresent(const WorkingPaths& paths, const std::string& name) {
    if (FindBuiltInMap(name) != nullptr) {
        return true;
    }
    return paths.HasMod() && OpenForReading(paths.mapsDir + name + ".bsp").has_value();
}

// After a failed import vote.bsp still holds what the earlier text names, and the map lists
// read the text: it goes back, the new one kept beside it for whoever looks into the failure.
void PutBackEarlierText(const std::string& entityTextPath,
                        const std::optional<std::string>& earlier) {
    const std::filesystem::path written = ResolveCase(entityTextPath);
    std::error_code error;
    std::filesystem::rename(written, written.string() + kFailedTextSuffix, error);
    if (earlier) {
        WriteFileAtomically(written, *earlier);
    }
}

} // namespace

std::string VoteEntityTextPath(const WorkingPaths& paths) {
    return paths.HasMod() ? paths.mapsDir + "vote.ent" : std::string();
}

std::string VoteTemplatePath(const WorkingPaths& paths) {
    return paths.HasMod() ? paths.modWorkDir + "Entities" + kSeparator + "vote.ref" : std::string();
}

std::vector<std::string> FindMissingMaps(const WorkingPaths& paths,
                                         const std::vector<std::string>& maps) {
    std::vector<std::string> missing;
    for (const std::string& name : maps) {
        if (!MapFilePresent(paths, name)) {
            missing.push_back(name);
        }
    }
    return missing;
}

bool WriteVoteEntityText(const std::string& templatePath, const std::string& entityTextPath,
                         const std::vector<KeywordValue>& keywords) {
    return FillTemplateFile(templatePath, entityTextPath, [&keywords](std::string& line) {
        ApplyKeywords(line, keywords);
        return true;
    });
}

std::optional<ToolRun> BuildVoteMap(const WorkingPaths& paths, const std::vector<std::string>& maps,
                                    const VoteMapSettings& settings, ToolRunner& runner) {
    if (!paths.HasMod()) {
        return std::nullopt;
    }
    const auto keywords =
        BuildVoteMapKeywords(maps, settings.playerCount, settings.thugCount, settings.wallStrength);
    const std::string entityText = VoteEntityTextPath(paths);
    const std::optional<std::string> earlier = ReadWholeFile(entityText);
    if (!WriteVoteEntityText(VoteTemplatePath(paths), entityText, keywords)) {
        return std::nullopt;
    }
    ToolRun run = runner.RunTool(paths.workDir + "ripent", {"-import", paths.mapsDir + "vote"}, {});
    if (!run.Succeeded()) {
        PutBackEarlierText(entityText, earlier);
    }
    return run;
}

} // namespace ballotine
