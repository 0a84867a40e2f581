#include "mapsettings/EntityUpdate.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "entities/ReplaceKeyword.h"
#include "entities/TemplateFile.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Services.h"

namespace ballotine {

namespace {

// A value may hold a later pair's key, so each pair can multiply a line: a reference file
// of a few lines could otherwise ask for more memory than there is. No entity line the game
// reads comes near this length.
constexpr std::size_t kLongestFilledLine = 1 << 20;

bool BeginsWith(const std::string& line, std::string_view marker) {
    return line.compare(0, marker.size(), marker) == 0;
}

} // namespace

bool WriteEntityText(const ReferenceData& data, const std::string& entityTextPath) {
    return FillTemplateFile(data.templatePath, entityTextPath, [&data](std::string& line) {
        for (const Substitution& pair : data.substitutions) {
            if (LengthAfterReplacing(line, pair.key, pair.value) > kLongestFilledLine) {
                return false;
            }
            ReplaceKeyword(line, pair.key, pair.value);
        }
        return true;
    });
}

bool WriteMapText(const std::string& referencePath, const std::string& mapTextPath) {
    auto reference = OpenForReading(referencePath);
    if (!reference) {
        return false;
    }
    AtomicFile output(mapTextPath);
    if (!output.IsOpen()) {
        return false;
    }
    std::string line;
    bool inText = false;
    while (ReadLine(*reference, line)) {
        if (!inText) {
            inText = BeginsWith(line, "#TEXT#");
            continue;
        }
        if (BeginsWith(line, "#INFO#")) {
            break;
        }
        line += '\n';
        output.Write(line);
    }
    return output.Commit();
}

bool UpdateMapEntities(const MapSettingsPaths& paths, std::string_view mapName,
                       std::string_view key, Services& services, ReferenceData& data) {
    Prompter& prompter = services.prompter;
    if (key.empty() || mapName.empty() || paths.modWorkDir.empty() || paths.mapsDir.empty()) {
        return false;
    }
    if (!prompter.AskYesNo(kUpdateQuestion)) {
        return false;
    }
    const std::string map(mapName);
    const std::string referencePath =
        paths.modWorkDir + "Entities" + kSeparator + map + "." + std::string(key) + ".ref";
    const std::string mapTextPath = paths.mapsDir + map + ".txt";
    if (!ExtractReferenceData(referencePath, paths.modWorkDir, data, prompter)) {
        prompter.ShowMessage(kReferenceDataFailedMessage);
        return false;
    }
    const std::string entityTextPath = paths.mapsDir + map + ".ent";
    if (!WriteEntityText(data, entityTextPath)) {
        prompter.ShowMessage(kEntityFileFailedMessage);
        return false;
    }
    {
        const BusyScope busy(prompter);
        const ToolRun import =
            services.runner.RunTool(paths.workDir + "ripent", {"-import", paths.mapsDir + map}, {});
        if (!import.Succeeded()) {
            prompter.ShowMessage(WithFailureReason(kEntityCompileFailedMessage, import));
            return false;
        }
    }
    if (!WriteMapText(referencePath, mapTextPath)) {
        prompter.ShowMessage(kMapTextFailedMessage);
        return false;
    }
    DeleteFile(entityTextPath);
    prompter.ShowMessage(kEntityUpdateSucceededMessage);
    return true;
}

} // namespace ballotine
