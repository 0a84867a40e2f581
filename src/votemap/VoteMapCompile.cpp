#include "votemap/VoteMapCompile.h"

#include "catalogue/BuiltInMaps.h"
#include "catalogue/MainWindowModel.h"
#include "catalogue/Session.h"
#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "votemap/TemplateFile.h"

#include <optional>

namespace ballotine {

namespace {

bool MapFilePresent(const WorkingPaths& paths, const std::string& name) {
    if (FindBuiltInMap(name) != nullptr) {
        return true;
    }
    return paths.HasMod() && OpenForReading(paths.mapsDir + name + ".bsp").has_value();
}

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        joined += (i == 0 ? "" : ", ") + names[i];
    }
    return joined;
}

// Steps from the template to the tool's exit: the tool's run, or nothing when a step before it
// failed. The caller reports the outcome.
std::optional<ToolRun> FillAndImport(const MainWindowModel& model, Services& services) {
    const WorkingPaths& paths = model.GetSession().paths;
    if (!paths.HasMod()) {
        return std::nullopt;
    }
    const VoteMapSettings& settings = model.Settings();
    const auto keywords = BuildVoteMapKeywords(model.ChosenMaps().Names(), settings.playerCount,
                                               settings.thugCount, settings.wallStrength);
    if (!WriteVoteEntityText(VoteTemplatePath(paths), VoteEntityTextPath(paths), keywords)) {
        return std::nullopt;
    }
    return services.runner.RunTool(paths.workDir + "ripent", {"-import", paths.mapsDir + "vote"},
                                   {});
}

} // namespace

std::string VoteEntityTextPath(const WorkingPaths& paths) {
    return paths.HasMod() ? paths.mapsDir + "vote.ent" : std::string();
}

std::string VoteTemplatePath(const WorkingPaths& paths) {
    return paths.HasMod() ? paths.modWorkDir + "Entities" + kSeparator + "vote.ref" : std::string();
}

std::vector<std::string> FindMissingMaps(const MainWindowModel& model) {
    std::vector<std::string> missing;
    for (const MapEntry& entry : model.ChosenMaps().Entries()) {
        if (!MapFilePresent(model.GetSession().paths, entry.name)) {
            missing.push_back(entry.name);
        }
    }
    return missing;
}

bool CheckInstalledMaps(const MainWindowModel& model, Prompter& prompter) {
    const std::vector<std::string> missing = FindMissingMaps(model);
    if (missing.empty()) {
        return true;
    }
    return prompter.AskYesNo(Format(kMissingMapsQuestion, JoinNames(missing).c_str()));
}

bool WriteVoteEntityText(const std::string& templatePath, const std::string& entityTextPath,
                         const std::vector<KeywordValue>& keywords) {
    return FillTemplateFile(templatePath, entityTextPath, [&keywords](std::string& line) {
        ApplyKeywords(line, keywords);
        return true;
    });
}

bool CompileVoteMap(MainWindowModel& model, Services& services) {
    Prompter& prompter = services.prompter;
    const int count = static_cast<int>(model.ChosenMaps().Count());
    if (count < kMinVoteMapMaps || count > kMaxVoteMapMaps) {
        prompter.ShowMessage(Format(kCompileCountMessage, count));
        return false;
    }
    if (!prompter.AskYesNo(Format(kCompileQuestion, count))) {
        return false;
    }
    if (!CheckInstalledMaps(model, prompter)) {
        return false;
    }
    std::optional<ToolRun> import;
    {
        const BusyScope busy(prompter);
        import = FillAndImport(model, services);
    }
    const bool compiled = import && import->Succeeded();
    if (compiled) {
        model.Settings().uncompiledChanges = false;
        prompter.ShowMessage(kCompileSucceededMessage);
    } else {
        prompter.ShowMessage(import ? WithFailureReason(kCompileFailedMessage, *import)
                                    : std::string(kCompileFailedMessage));
    }
    return compiled;
}

} // namespace ballotine
