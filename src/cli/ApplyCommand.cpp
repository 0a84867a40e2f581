#include "cli/Commands.h"

namespace ballotine {

int RunApplyCommand(CliContext& context, const CommandArgs& args) {
    ServerSizeChoice choice;
    if (const int status = ChooseServerSize(context, args, "apply", true, choice);
        status != kExitOk) {
        return status;
    }
    ReferenceData substitutions;
    const bool updated = UpdateMapEntities(CopyMapSettingsPaths(context.session.paths), choice.map,
                                           choice.key, context.services, substitutions);
    return updated ? kExitOk : kExitFailed;
}

} // namespace ballotine
