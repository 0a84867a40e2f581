#include "cli/Commands.h"

namespace ballotine {

int RunPathsCommand(CliContext& context, const CommandArgs& args) {
    if (!args.empty()) {
        context.err << "paths takes no arguments\n";
        return kExitUsage;
    }
    const WorkingPaths& paths = context.session.paths;
    const std::pair<const char*, const std::string*> rows[] = {
        {"InstallDir", &paths.installDir}, {"WorkDir", &paths.workDir},
        {"ModDir", &paths.modDir},         {"MapsDir", &paths.mapsDir},
        {"ModWorkDir", &paths.modWorkDir}, {"VoteSpriteDir", &paths.voteSpriteDir},
    };
    for (const auto& [name, value] : rows) {
        context.out << name << '\t' << *value << '\n';
    }
    return kExitOk;
}

} // namespace ballotine
