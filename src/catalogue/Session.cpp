#include "catalogue/Session.h"

#include "catalogue/GameLocator.h"
#include "catalogue/ModListFile.h"
#include "common/Text.h"

namespace ballotine {

bool SelectCurrentMod(Session& session) {
    session.currentListName = kDefaultListName;
    const std::int32_t index = session.selector.HasSelection()
                                   ? session.mods.FindModByTitle(session.selector.SelectedText())
                                   : -1;
    if (index < 0) {
        ClearModPaths(session.paths);
        return false;
    }
    ComputeModPaths(session.paths, session.mods.records[static_cast<std::size_t>(index)].dir);
    return true;
}

bool SelectModByFolderOrTitle(Session& session, std::string_view name) {
    for (const ModRecord& record : session.mods.records) {
        if (record.offered && EqualsNoCase(record.dir, name) &&
            session.selector.SelectTitle(record.title)) {
            return SelectCurrentMod(session);
        }
    }
    return session.selector.SelectTitle(name) && SelectCurrentMod(session);
}

bool StartSession(Session& session, const RegistryFile& registry, Prompter& prompter) {
    return LocateGame(session.paths, registry, prompter) && LoadModList(session, prompter);
}

} // namespace ballotine
