#pragma once

#include "votemap/VoteMapKeywords.h"

#include <string>
#include <vector>

namespace ballotine {

class MainWindowModel;
class Prompter;
struct Services;
struct WorkingPaths;

inline constexpr const char* kCompileCountMessage =
    "Unable to compile VoteMap!\n\nThe VoteMap must have between 2 to 16 Maps\n"
    "You have currently selected %i";
inline constexpr const char* kCompileQuestion =
    "Are you sure you want to create a %i level VoteMap?";
inline constexpr const char* kMissingMapsQuestion =
    "You have not downloaded/installed all of the selected maps (%s)\n"
    "Do you wish to continue the compile?";
inline constexpr const char* kCompileSucceededMessage = "VoteMap successfully Compiled";
inline constexpr const char* kCompileFailedMessage = "VoteMap Compile Failed";

inline constexpr int kMinVoteMapMaps = 2;
inline constexpr int kMaxVoteMapMaps = kVoteMapSlots;

// The vote list's maps, in list order, that are neither built into the game nor have a .bsp
// in the maps folder; without a mod every other map is missing.
std::vector<std::string> FindMissingMaps(const MainWindowModel& model);

// Asks whether to go on when maps of the vote list are missing; true when none is missing or
// the user answered Yes.
bool CheckInstalledMaps(const MainWindowModel& model, Prompter& prompter);

// Fills the template into the entity text, line by line, every keyword applied in table order
// and each line ended by a line feed. The text is replaced whole or not at all: false, with an
// earlier text left as it was, when the template cannot be read or the text not written.
bool WriteVoteEntityText(const std::string& templatePath, const std::string& entityTextPath,
                         const std::vector<KeywordValue>& keywords);

// The "Compile VoteMap" button: checks the number of maps, asks, checks for missing maps, fills
// vote.ref into vote.ent and imports it into vote.bsp with the entity tool. Clears the
// uncompiled changes and returns true only when the tool succeeded.
bool CompileVoteMap(MainWindowModel& model, Services& services);

// "<mapsDir>vote.ent" and "<modWorkDir>Entities/vote.ref"; empty without a mod.
std::string VoteEntityTextPath(const WorkingPaths& paths);
std::string VoteTemplatePath(const WorkingPaths& paths);

} // namespace ballotine
