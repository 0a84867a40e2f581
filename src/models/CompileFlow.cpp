#include "models/CompileFlow.h"

#include "catalogue/Session.h"
#include "common/Text.h"
#include "models/MainWindowModel.h"
#include "platform/GameLock.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "votemap/VoteMapCompile.h"

#include <optional>

namespace ballotine {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (std::size_t i = 0; i < names.size(); ++i) {
        joined += (i == 0 ? "" : ", ") + names[i];
    }
    return joined;
}

} // namespace

bool CheckInstalledMaps(const MainWindowModel& model, Prompter& prompter) {
    const std::vector<std::string> missing =
        FindMissingMaps(model.GetSession().paths, model.ChosenMaps().Names());
    if (missing.empty()) {
        return true;
    }
    return prompter.AskYesNo(Format(kMissingMapsQuestion, JoinNames(missing).c_str()));
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
    const auto lock = LockGameForWriting(model.GetSession().paths.workDir, "compile", prompter);
    if (!lock) {
        return false;
    }
    std::optional<ToolRun> import;
    {
        const BusyScope busy(prompter);
        import = BuildVoteMap(model.GetSession().paths, model.ChosenMaps().Names(),
                              model.Settings(), services.runner);
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
