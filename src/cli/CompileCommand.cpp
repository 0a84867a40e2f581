#include "cli/Commands.h"
#include "cli/VoteListArguments.h"
#include "models/CompileFlow.h"

namespace ballotine {

int RunCompileCommand(CliContext& context, const CommandArgs& args) {
    VoteListArguments arguments;
    if (!ParseVoteListArguments(context, "compile", args, true, arguments)) {
        return kExitUsage;
    }
    MainWindowModel model(context.session);
    if (const int status = BuildVoteList(context, "compile", model, arguments, arguments.words);
        status != kExitOk) {
        return status;
    }
    return CompileVoteMap(model, context.services) ? kExitOk : kExitFailed;
}

} // namespace ballotine
