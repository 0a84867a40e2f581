#include "models/MainWindowModel.h"

#include "catalogue/MapScan.h"
#include "catalogue/ModListFile.h"
#include "catalogue/Session.h"
#include "common/Text.h"
#include "platform/FolderListing.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

namespace ballotine {

namespace {

// Room the lists are prepared for; a hint, not a limit.
constexpr std::size_t kAvailableCapacity = 192;
constexpr std::size_t kChosenCapacity = 32;

constexpr std::size_t kNamesShown = 10;

// The note on left-out sprites: each name on a line of its own, control characters shown as
// "?" so the message keeps its lines.
std::string UnvotableNote(const std::vector<std::string>& names) {
    std::string note = kUnvotableMapsMessage;
    for (std::size_t index = 0; index < names.size() && index < kNamesShown; ++index) {
        note += "\n  ";
        for (const char c : names[index]) {
            note += IsVotableMapName(std::string_view(&c, 1)) || c == '"' ? c : '?';
        }
    }
    if (names.size() > kNamesShown) {
        note += Format("\n  ... and %zu more", names.size() - kNamesShown);
    }
    return note;
}

} // namespace

MainWindowModel::MainWindowModel(Session& session) : m_session(session) {
    m_available.Reserve(kAvailableCapacity);
    m_chosen.Reserve(kChosenCapacity);
}

void MainWindowModel::UpdateTitle() {
    m_title = Format(kMainWindowTitleWithList, m_session.currentListName.c_str());
    if (m_titleListener) {
        m_titleListener();
    }
}

bool MainWindowModel::ScanAvailableMaps() {
    std::vector<std::string> unvotable;
    const bool anySprite = ScanVoteSprites(m_session.paths, m_available, &unvotable);
    const std::string note = unvotable.empty() ? std::string() : UnvotableNote(unvotable);
    if (m_notes != nullptr && !note.empty() && note != m_lastNote) {
        m_notes->ShowMessage(note);
    }
    m_lastNote = note;
    m_workingControlsEnabled = anySprite;
    if (!anySprite) {
        m_settingsEnabled = false;
    }
    return true;
}

bool MainWindowModel::LoadCurrentVoteMap() {
    ReadVoteMapEntries(m_session.paths, m_available, m_chosen);
    RemoveChosenFromAvailable();
    return true;
}

void MainWindowModel::RefreshMapLists() {
    ScanAvailableMaps();
    LoadCurrentVoteMap();
}

void MainWindowModel::RefreshAfterNewPictures() {
    if (!m_workingControlsEnabled) {
        RefreshMapLists();
        return;
    }
    ScanAvailableMaps();
    RemoveChosenFromAvailable();
}

void MainWindowModel::SelectMod(int selectorIndex) {
    m_session.selector.Select(selectorIndex);
    SelectCurrentMod(m_session);
    RefreshMapLists();
    // The shown map belonged to the previous mod.
    ClearMapDetails();
}

void MainWindowModel::ClearMapDetails() {
    m_selectedMap.clear();
    m_details = MapDetails{};
    LoadPreview(m_preview, std::string());
    m_settingsEnabled = false;
}

void MainWindowModel::RemoveChosenFromAvailable() {
    m_available.RemoveFirstMatches(m_chosen.Entries());
}

void MainWindowModel::RemoveAvailableFromChosen() {
    m_chosen.RemoveFirstMatches(m_available.Entries());
}

void MainWindowModel::AddChosenMaps() {
    MoveSelected(m_available, m_chosen);
    RemoveChosenFromAvailable();
}

void MainWindowModel::RemoveChosenMaps() {
    MoveSelected(m_chosen, m_available);
    RemoveAvailableFromChosen();
}

void MainWindowModel::MoveSelected(const MapList& from, MapList& to) {
    std::vector<MapEntry> moving = from.SelectedEntries();
    if (!moving.empty()) {
        m_settings.uncompiledChanges = true;
        to.InsertAll(std::move(moving));
    }
}

void MainWindowModel::ClearChosenMaps() {
    m_available.InsertAll(m_chosen.Entries());
    m_settings.uncompiledChanges = true;
    RemoveAvailableFromChosen();
}

const MapDetails& MainWindowModel::ShowMapDetails(std::string_view name) {
    m_selectedMap = name;
    LoadPreview(m_preview, SpritePath(name));
    m_details = ReadMapDetails(m_session.paths, name);
    return m_details;
}

bool MainWindowModel::ShowFocusedMap(MapListId list) {
    const MapList& maps = List(list);
    const auto focused = maps.Focused();
    if (!focused) {
        return false;
    }
    const MapEntry& entry = maps.At(*focused);
    m_settingsEnabled = entry.state == MapState::Configurable;
    ShowMapDetails(entry.name);
    return true;
}

bool MainWindowModel::CanOpenFocusedMapSettings(MapListId list) const {
    const MapList& maps = List(list);
    const auto focused = maps.Focused();
    return focused && maps.At(*focused).state == MapState::Configurable;
}

void MainWindowModel::RefreshAfterUpdates(Prompter& prompter, bool modInstalled) {
    if (const auto lock = LockGameForWriting(m_session.paths.workDir, "mod list save", prompter)) {
        SaveModList(m_session, prompter);
    }
    if (modInstalled && LoadModList(m_session, prompter)) {
        RefreshMapLists();
        ClearMapDetails(); // the mod list read anew may have selected another mod
    }
    ScanAvailableMaps();
    RemoveChosenFromAvailable();
    if (!m_session.paths.HasMod()) {
        ClearMapDetails();
        return;
    }
    // The shown map may have just arrived: its size and "downloaded" are read anew.
    if (!m_selectedMap.empty()) {
        ShowMapDetails(std::string(m_selectedMap));
    }
    const FolderListing entities =
        FolderListing::ReadNames(m_session.paths.modWorkDir + "Entities");
    for (std::size_t index = 0; index < m_chosen.Count(); ++index) {
        if (entities.AnyMatch(m_chosen.At(index).name + ".*")) {
            m_chosen.SetState(index, MapState::Configurable);
        }
    }
}

std::string MainWindowModel::SpritePath(std::string_view name) const {
    // Without a mod there is no sprite folder; an empty path shows black.
    return m_session.paths.HasMod() ? m_session.paths.voteSpriteDir + std::string(name) + ".spr"
                                    : std::string();
}

} // namespace ballotine
