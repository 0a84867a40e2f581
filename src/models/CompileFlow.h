#pragma once

namespace ballotine {

class MainWindowModel;
class Prompter;
struct Services;

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

// Asks whether to go on when maps of the vote list are missing; true when none is missing or
// the user answered Yes.
bool CheckInstalledMaps(const MainWindowModel& model, Prompter& prompter);

// The "Compile VoteMap" button: checks the number of maps, asks, checks for missing maps, then
// builds vote.bsp from the vote list and settings. Clears the uncompiled changes and returns
// true only when the entity tool succeeded; a failure shows what the tool said beneath its
// message.
bool CompileVoteMap(MainWindowModel& model, Services& services);

} // namespace ballotine
