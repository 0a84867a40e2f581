#include "catalogue/GameLocator.h"
#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "platform/FileSystem.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"

#include <algorithm>

namespace ballotine {

int RunInstallToolsCommand(CliContext& context, const CommandArgs& args) {
    if (!args.empty()) {
        context.err << "install-tools takes no arguments\n";
        return kExitUsage;
    }
    WorkingPaths& paths = context.session.paths;
    if (!LocateGame(paths, context.registry, context.prompter)) {
        SayHowToStart(context);
        return kExitFailed;
    }
    const std::vector<std::filesystem::path> folders = HelperToolFolders(ProgramFolder());
    const auto folder = std::find_if(folders.begin(), folders.end(), [](const auto& candidate) {
        return FileExists(candidate / "ripent");
    });
    if (folder == folders.end()) {
        context.err << "install-tools: no ripent in " << folders.front().string();
        for (auto other = folders.begin() + 1; other != folders.end(); ++other) {
            context.err << " or " << other->string();
        }
        context.err << "\n";
        return kExitFailed;
    }
    const std::filesystem::path tool = *folder / "ripent";
    // The compile and the entity update run the entity tool from the working folder.
    const std::string target = paths.workDir + "ripent";
    if (!CreateFolders(paths.workDir)) {
        context.err << "install-tools: unable to write " << target << "\n";
        return kExitFailed;
    }
    const auto lock = LockGameForWriting(paths.workDir, "install-tools", context.prompter);
    if (!lock) {
        return kExitFailed;
    }
    if (!CopyFileReplacing(tool, target)) {
        context.err << "install-tools: unable to write " << target << "\n";
        return kExitFailed;
    }
    context.out << "ripent\t" << ResolveCase(target).string() << '\n';
    return kExitOk;
}

} // namespace ballotine
