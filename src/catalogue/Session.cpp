#include "catalogue/Session.h"

#include "catalogue/GameLocator.h"
#include "catalogue/ModListFile.h"

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

bool StartSession(Session& session, const RegistryFile& registry, Prompter& prompter) {
    return LocateGame(session.paths, registry, prompter) && LoadModList(session, prompter);
}

} // namespace ballotine
