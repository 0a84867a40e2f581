#include "models/ListFlows.h"

#include "catalogue/Session.h"
#include "common/Text.h"
#include "models/MainWindowModel.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "votemap/VoteMapListFile.h"

#include <optional>

namespace ballotine {

namespace {

std::string ListFolder(const MainWindowModel& model) {
    const WorkingPaths& paths = model.GetSession().paths;
    return paths.HasMod() ? paths.modWorkDir + kListFolder + kSeparator : std::string();
}

FileDialogRequest ListDialog(const MainWindowModel& model, const char* title) {
    FileDialogRequest request;
    request.title = title;
    request.filterName = kListFilterName;
    request.filterPattern = kListFilterPattern;
    request.initialFolder = ListFolder(model);
    request.defaultExtension = kListExtension;
    return request;
}

const char* RefusalMessage(VoteMapListStatus status) {
    switch (status) {
    case VoteMapListStatus::CannotOpen:
        return kListNotFoundMessage;
    case VoteMapListStatus::NoFirstLine:
        return kListNotValidMessage;
    case VoteMapListStatus::BadHeader:
    case VoteMapListStatus::Ok:
        break;
    }
    return kListHeaderInvalidMessage;
}

void TakeSettings(VoteMapSettings& settings, const VoteMapListContent& content) {
    // The players handler clamps, marks the vote map changed and derives the thug count from
    // the "Thugs?" box: the file's thug count does not outlive the load.
    settings.OnPlayersChanged(content.playerCount.value_or(settings.playerCount));
    if (content.wallStrength) {
        settings.OnWallsChanged(*content.wallStrength);
    }
}

// The named maps that "Available Maps" holds join the vote list, in the available spelling
// and state, each once.
void TakeMaps(MainWindowModel& model, const std::vector<std::string>& names) {
    const MapList& available = model.AvailableMaps();
    MapList& chosen = model.ChosenMaps();
    for (const std::string& name : names) {
        const auto match = available.FindNoCase(name);
        if (!match || chosen.FindNoCase(name)) {
            continue;
        }
        chosen.Insert(available.At(*match).name, available.At(*match).state);
        model.Settings().uncompiledChanges = true;
    }
    model.RemoveChosenFromAvailable();
}

// False when the file could not be written; nothing when the user gave up waiting for another
// program that changes the game (nothing to say then).
std::optional<bool> WriteList(const MainWindowModel& model, const std::string& path,
                              Prompter& prompter) {
    const auto lock = LockGameForWriting(model.GetSession().paths.workDir, "list save", prompter);
    if (!lock) {
        return std::nullopt;
    }
    const VoteMapSettings& settings = model.Settings();
    return !path.empty() && WriteVoteMapListFile(path, settings.playerCount, settings.thugCount,
                                                 settings.wallStrength, model.ChosenMaps().Names());
}

} // namespace

FileDialogRequest LoadListDialog(const MainWindowModel& model) {
    return ListDialog(model, kLoadListTitle);
}

FileDialogRequest SaveListDialog(const MainWindowModel& model) {
    FileDialogRequest request = ListDialog(model, kSaveListTitle);
    request.initialName = model.GetSession().currentListName;
    return request;
}

bool LoadVoteMapList(MainWindowModel& model, Prompter& prompter) {
    const auto path = prompter.ChooseFileToOpen(LoadListDialog(model));
    if (!path) {
        return false;
    }
    const VoteMapListReadResult read = ReadVoteMapListFile(*path);
    if (read.status != VoteMapListStatus::Ok) {
        prompter.ShowMessage(RefusalMessage(read.status));
        return false;
    }
    TakeSettings(model.Settings(), read.content);
    model.GetSession().currentListName = LastPathComponent(*path);
    model.UpdateTitle();
    model.ClearChosenMaps();
    TakeMaps(model, read.content.mapNames);
    return true;
}

bool SaveVoteMapList(MainWindowModel& model, Prompter& prompter) {
    const std::string& name = model.GetSession().currentListName;
    const std::string folder = ListFolder(model);
    const std::optional<bool> written =
        folder.empty() ? std::optional(false) : WriteList(model, folder + name, prompter);
    if (written != true) {
        if (written) {
            prompter.ShowMessage(kListNotSavedMessage);
        }
        return false;
    }
    prompter.ShowMessage(Format(kListSavedMessage, name.c_str()));
    return true;
}

bool SaveVoteMapListAs(MainWindowModel& model, Prompter& prompter) {
    const auto path = prompter.ChooseFileToSave(SaveListDialog(model));
    if (!path) {
        return false;
    }
    const std::optional<bool> written = WriteList(model, *path, prompter);
    if (written != true) {
        if (written) {
            prompter.ShowMessage(kListNotSavedMessage);
        }
        return false;
    }
    model.GetSession().currentListName = LastPathComponent(*path);
    model.UpdateTitle();
    prompter.ShowMessage(Format(kListSavedMessage, model.GetSession().currentListName.c_str()));
    return true;
}

} // namespace ballotine
