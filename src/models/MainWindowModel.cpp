#include "models/MainWindowModel.h"

#include "catalogue/MapScan.h"
#include "catalogue/ModListFile.h"
#include "catalogue/Session.h"
#include "common/Text.h"
#include "platform/FolderListing.h"
#include "platform/Paths.h"

namespace ballotine {

namespace {

// Room the lists are prepared for; a hint, not a limit.
constexpr std::size_t kAvailableCapacity = 192;
constexpr std::size_t kChosenCapacity = 32;

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
    const bool anySprite = ScanVoteSprites(m_session.paths, m_available);
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
    SaveModList(m_session, prompter);
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
