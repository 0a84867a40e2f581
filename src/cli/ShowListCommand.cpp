#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "models/ListFlows.h"

namespace ballotine {

int RunShowListCommand(CliContext& context, const CommandArgs& args) {
    if (args.size() != 1) {
        context.err << "show-list takes one FILE\n";
        return kExitUsage;
    }
    // The window at start-up holds the compiled vote map's maps in its vote list; a load puts
    // them back first, so "Available Maps" alone is what the load chooses from.
    MainWindowModel model(context.session);
    model.ScanAvailableMaps();
    context.prompter.SetNextFile(args.front());
    if (!LoadVoteMapList(model, context.prompter)) {
        return kExitFailed;
    }
    const VoteMapSettings& settings = model.Settings();
    context.out << settings.playerCount << '\t' << settings.thugCount << '\t'
                << settings.wallStrength << '\n';
    for (const MapEntry& entry : model.ChosenMaps().Entries()) {
        context.out << entry.name << '\n';
    }
    return kExitOk;
}

} // namespace ballotine
