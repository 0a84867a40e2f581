#pragma once

#include <string>

namespace ballotine {

class Prompter;
struct ModTable;
struct Session;

inline constexpr const char* kModHeader = "#Mod Header V1.0 - DO NOT MODIFY";
inline constexpr const char* kEndMarker = "#END#";
inline constexpr const char* kModListFileName = "mods.cfg";
inline constexpr const char* kModDataNotFoundMessage = "Mod Data not found. Aborting...";
inline constexpr const char* kModDataInvalidMessage = "Mod Data invalid. Aborting...";
inline constexpr const char* kModListSaveFailedMessage = "Unable to save mod list...";

// Reads mods.cfg of the working folder into the mod table, offers the installed mods whose
// working folder exists in the selector, selects the preferred one ("tfc" if offered, else
// record 0) and derives its paths. False, after its message, when the file cannot be opened
// or its header is wrong.
bool LoadModList(Session& session, Prompter& prompter);

enum class ModListRead { Read, NotFound, Invalid };

// Reads mods.cfg of the working folder `workDir` into `table` (records in file order, none
// offered), without a word to the user. On NotFound or Invalid the table is left as it was.
ModListRead ReadModTable(const std::string& workDir, ModTable& table);

// The text of mods.cfg for the table, as SaveModList writes it.
std::string ModListText(const ModTable& table);

// Writes the mod table to mods.cfg, all records in table order. The file is replaced whole
// or not at all: on failure the message is shown, false returned, and the old file kept.
bool SaveModList(const Session& session, Prompter& prompter);

} // namespace ballotine
