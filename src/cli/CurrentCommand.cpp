#include "cli/Commands.h"

namespace ballotine {

int RunCurrentCommand(CliContext& context, const CommandArgs& args) {
    return PrintMapList(context, args, "current", MapListId::Chosen);
}

} // namespace ballotine
