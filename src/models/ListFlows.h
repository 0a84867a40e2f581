#pragma once

namespace ballotine {

class MainWindowModel;
class Prompter;
struct FileDialogRequest;

inline constexpr const char* kLoadListTitle = "Select A VoteMap List...";
inline constexpr const char* kSaveListTitle = "Save A VoteMap List...";
inline constexpr const char* kListFilterName = "VoteMap List (*.VML)";
inline constexpr const char* kListFilterPattern = "*.VML";
inline constexpr const char* kListExtension = ".VML";
inline constexpr const char* kListFolder = "VoteMapLists";

inline constexpr const char* kListNotFoundMessage =
    "Unable to load VoteMapList\nFile does not exist";
inline constexpr const char* kListNotValidMessage = "Not a valid VoteMap List";
inline constexpr const char* kListHeaderInvalidMessage = "VML Header Invalid";
inline constexpr const char* kListNotSavedMessage = "Unable to save VoteMapList";
inline constexpr const char* kListSavedMessage = "VoteMap List '%s' successfully saved!";

// What the load and save-as dialogs offer: the list filter, the mod's VoteMapLists folder and,
// for saving, the current list name.
FileDialogRequest LoadListDialog(const MainWindowModel& model);
FileDialogRequest SaveListDialog(const MainWindowModel& model);

// "Load MapList...": the chosen file's players and walls, and its maps that "Available Maps"
// holds (in its spelling, each once) become the vote list; the "Thugs?" box, not the file,
// decides the thug count. False when cancelled or refused (with the refusal's message); the
// window's state is then unchanged.
bool LoadVoteMapList(MainWindowModel& model, Prompter& prompter);

// "Save MapList": writes the vote list and settings to the current list name in the mod's
// VoteMapLists folder, whatever folder the list came from.
bool SaveVoteMapList(MainWindowModel& model, Prompter& prompter);

// "Save MapList As...": writes them to the file the user picks, which then names the list.
bool SaveVoteMapListAs(MainWindowModel& model, Prompter& prompter);

} // namespace ballotine
