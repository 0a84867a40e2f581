#include "cli/Commands.h"

namespace ballotine {

int RunModsCommand(CliContext& context, const CommandArgs& args) {
    if (!args.empty()) {
        context.err << "mods takes no arguments\n";
        return kExitUsage;
    }
    const Session& session = context.session;
    const std::int32_t selected = session.selector.HasSelection()
                                      ? session.mods.FindModByTitle(session.selector.SelectedText())
                                      : -1;
    for (std::size_t i = 0; i < session.mods.records.size(); ++i) {
        const ModRecord& record = session.mods.records[i];
        context.out << record.dir << '\t' << record.version << '\t' << record.title << '\t'
                    << (record.offered ? "offered" : "hidden") << '\t'
                    << (static_cast<std::int32_t>(i) == selected ? "*" : "") << '\n';
    }
    return kExitOk;
}

} // namespace ballotine
