#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"

namespace ballotine {

int PrintMapList(CliContext& context, const CommandArgs& args, std::string_view command,
                 MapListId list) {
    if (!args.empty()) {
        context.err << command << " takes no arguments\n";
        return kExitUsage;
    }
    // The lists as the window fills them at start-up.
    MainWindowModel model(context.session);
    model.ShowNotesWith(&context.prompter);
    model.RefreshMapLists();
    for (const MapEntry& entry : model.List(list).Entries()) {
        context.out << entry.name << '\t' << MapStateName(entry.state) << '\n';
    }
    return kExitOk;
}

int RunMapsCommand(CliContext& context, const CommandArgs& args) {
    return PrintMapList(context, args, "maps", MapListId::Available);
}

} // namespace ballotine
