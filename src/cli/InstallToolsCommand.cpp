#include "catalogue/GameLocator.h"
#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace ballotine {

int RunInstallToolsCommand(CliContext& context, const CommandArgs& args) {
    if (!args.empty()) {
        context.err << "install-tools takes no arguments\n";
        return kExitUsage;
    }
    WorkingPaths& paths = context.session.paths;
    if (!LocateGame(paths, context.registry, context.prompter)) {
        return kExitFailed;
    }
    const std::filesystem::path tool = ProgramFolder() / "ripent";
    if (!FileExists(tool)) {
        context.err << "install-tools: no ripent beside this program (" << tool.string() << ")\n";
        return kExitFailed;
    }
    // The compile and the entity update run the entity tool from the working folder.
    const std::string target = paths.workDir + "ripent";
    if (!CreateFolders(paths.workDir) || !CopyFileReplacing(tool, target)) {
        context.err << "install-tools: unable to write " << target << "\n";
        return kExitFailed;
    }
    context.out << "ripent\t" << ResolveCase(target).string() << '\n';
    return kExitOk;
}

} // namespace ballotine
