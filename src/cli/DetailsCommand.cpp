#include "cli/Commands.h"

namespace ballotine {

int RunDetailsCommand(CliContext& context, const CommandArgs& args) {
    if (args.size() != 1) {
        context.err << "details takes one map name\n";
        return kExitUsage;
    }
    const std::string& name = args.front();
    // A map name is a file name in the mod's folders, never a path leading elsewhere.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos) {
        context.err << "'" << name << "' is not a map name\n";
        return kExitUsage;
    }
    MainWindowModel model(context.session);
    const MapDetails& details = model.ShowMapDetails(name);
    context.out << "Name\t" << details.name << '\n'
                << "Size\t" << details.sizeText << '\n'
                << "Downloaded\t" << details.downloadedText << '\n'
                << "Caption\t" << details.caption << '\n'
                << '\n'
                << details.description << '\n';
    return kExitOk;
}

} // namespace ballotine
