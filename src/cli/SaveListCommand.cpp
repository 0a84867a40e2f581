#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "cli/VoteListArguments.h"
#include "models/ListFlows.h"

namespace ballotine {

int RunSaveListCommand(CliContext& context, const CommandArgs& args) {
    VoteListArguments arguments;
    if (!ParseVoteListArguments(context, "save-list", args, false, arguments)) {
        return kExitUsage;
    }
    if (arguments.words.empty()) {
        context.err << "save-list needs a FILE\n";
        return kExitUsage;
    }
    const std::string file = arguments.words.front();
    const std::vector<std::string> maps(arguments.words.begin() + 1, arguments.words.end());
    MainWindowModel model(context.session);
    if (const int status = BuildVoteList(context, "save-list", model, arguments, maps);
        status != kExitOk) {
        return status;
    }
    context.prompter.SetNextFile(file);
    return SaveVoteMapListAs(model, context.prompter) ? kExitOk : kExitFailed;
}

} // namespace ballotine
