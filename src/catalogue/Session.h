#pragma once

#include "catalogue/ModSelector.h"
#include "catalogue/ModTable.h"
#include "catalogue/WorkingPaths.h"

#include <string>
#include <string_view>

namespace ballotine {

class Prompter;
class RegistryFile;

inline constexpr const char* kDefaultListName = "default.VML";

// The game installation as the program sees it: where the game and its working folders are,
// which mods are known and which one is selected. The program owns one; tests build as many
// as they like.
struct Session {
    WorkingPaths paths;
    ModTable mods;
    ModSelector selector;
    // The vote map list file last loaded or saved as (a name without folder).
    std::string currentListName = kDefaultListName;
};

// The selector's text, found again as a record: derives the mod paths from its folder and
// resets the current list name. Without a matching record (an empty selector, a preferred
// record that is not offered) the mod paths become empty and false is returned.
bool SelectCurrentMod(Session& session);

// Selects the offered mod that `name` names, as a user would pick it from the selector: the
// first offered record whose folder equals `name`, else the entry whose title does (letter case
// ignored either way). False, with the selection unchanged, when neither matches.
bool SelectModByFolderOrTitle(Session& session, std::string_view name);

// The program's start: LocateGame, then LoadModList (which selects the preferred mod).
// False when either failed; its message has been shown.
bool StartSession(Session& session, const RegistryFile& registry, Prompter& prompter);

} // namespace ballotine
