#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "updates/VersionTable.h"

namespace ballotine {

int RunVersionsCommand(CliContext& context, const CommandArgs& args) {
    if (!args.empty()) {
        context.err << "versions takes no arguments\n";
        return kExitUsage;
    }
    const WorkingPaths& paths = context.session.paths;
    if (!paths.HasMod()) {
        context.prompter.ShowMessage("No mod is selected: there is no version record to show.");
        return kExitFailed;
    }
    VersionTable table;
    if (!LoadVersionTable(table, paths)) {
        context.prompter.ShowMessage("Cannot read " + paths.modWorkDir + kVersionFileName +
                                     ": no version record is kept for this mod.");
        return kExitFailed;
    }
    const bool saved = ScanInstalledMaps(table, paths);
    for (const VersionEntry& entry : table.Entries()) {
        context.out << entry.key << '\t' << entry.mapVersion << '\t' << entry.entityVersion << '\n';
    }
    if (!saved) {
        context.prompter.ShowMessage("Cannot write " + paths.modWorkDir + kVersionFileName);
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace ballotine
