#pragma once

#include "catalogue/MapDetails.h"
#include "catalogue/MapList.h"
#include "mapsettings/PreviewSet.h"
#include "votemap/VoteMapSettings.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

class Prompter;
struct Session;

inline constexpr const char* kMainWindowTitle = "Ballotine V2.2";
// Shown after a scan that left vote sprites out, with their names beneath.
inline constexpr const char* kUnvotableMapsMessage =
    "These vote sprites are not listed: a map name in a vote map cannot hold a double quote "
    "or a control character.";
// The title once a vote map list file was loaded or saved under a name.
inline constexpr const char* kMainWindowTitleWithList = "Ballotine V2.1 - %s";

enum class MapListId { Available, Chosen };

// Everything the main window shows and edits, without the window: the two map lists, the vote
// map settings, the map whose details are shown, which controls are enabled and the title.
// The window is a view over it; the command line and the vote map list and compile flows work
// on it too.
class MainWindowModel {
public:
    explicit MainWindowModel(Session& session);
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    Session& GetSession() { return m_session; }
    const Session& GetSession() const { return m_session; }

    // "Available Maps" and "Vote Map List".
    MapList& AvailableMaps() { return m_available; }
    const MapList& AvailableMaps() const { return m_available; }
    MapList& ChosenMaps() { return m_chosen; }
    const MapList& ChosenMaps() const { return m_chosen; }
    MapList& List(MapListId id) { return id == MapListId::Available ? m_available : m_chosen; }
    const MapList& List(MapListId id) const {
        return id == MapListId::Available ? m_available : m_chosen;
    }

    VoteMapSettings& Settings() { return m_settings; }
    const VoteMapSettings& Settings() const { return m_settings; }

    // The map the details pane shows; the map settings dialog opens for it.
    const std::string& SelectedMap() const { return m_selectedMap; }
    const MapDetails& Details() const { return m_details; }
    // The details pane's picture.
    PreviewSet& Preview() { return m_preview; }
    const PreviewSet& Preview() const { return m_preview; }

    // The lists, their buttons, the list file and compile buttons, the settings controls and
    // the details: usable only while the selected mod has vote sprites.
    bool WorkingControlsEnabled() const { return m_workingControlsEnabled; }
    // "Settings...": enabled by a click on a map with entity settings.
    bool SettingsEnabled() const { return m_settingsEnabled; }

    const std::string& Title() const { return m_title; }
    // The title with the current list name; after a list was loaded or saved under a name.
    void UpdateTitle();
    // Called whenever the title changes, so a window shows the new title before any message
    // the same step goes on to show.
    void OnTitleChanged(std::function<void()> listener) { m_titleListener = std::move(listener); }

    // Refills "Available Maps" from the selected mod's vote sprites and enables or disables
    // the working controls (all but "Settings...", which only a map click enables). Sprites
    // whose names no vote map can hold are left out; the prompter given to ShowNotesWith says
    // which, once for each change of them.
    bool ScanAvailableMaps();
    // Where the scans' notes go (the window's messages, the terminal); none by default.
    void ShowNotesWith(Prompter* prompter) { m_notes = prompter; }
    // Refills "Vote Map List" with the maps the compiled vote map holds, then takes them out
    // of "Available Maps".
    bool LoadCurrentVoteMap();
    // Both, as after a change of mod.
    void RefreshMapLists();
    // After vote pictures were drawn: a mod that had none gets both lists anew (its compiled
    // vote list can be read now); otherwise "Available Maps" is scanned again and the vote
    // list kept as the user left it.
    void RefreshAfterNewPictures();
    // The mod selector's selection changed: select that mod, refresh both lists and clear the
    // details pane.
    void SelectMod(int selectorIndex);

    // Deletes from "Available Maps" the first entry named like each vote list entry.
    void RemoveChosenFromAvailable();
    // Deletes from "Vote Map List" the first entry named like each available entry.
    void RemoveAvailableFromChosen();
    // "<--": the selected available maps join the vote list.
    void AddChosenMaps();
    // "-->": the selected vote list maps go back.
    void RemoveChosenMaps();
    // "Clr": every vote list map goes back; a change even when the list was empty.
    void ClearChosenMaps();

    // Fills the details pane and its picture for a map and makes it the selected map.
    const MapDetails& ShowMapDetails(std::string_view name);
    // Empties the details pane, blackens its picture and disables "Settings...": no map is
    // selected (after a change of mod).
    void ClearMapDetails();
    // A click on a list: shows the focused entry's map and enables "Settings..." only for a
    // map with entity settings. Nothing happens without a focused entry.
    bool ShowFocusedMap(MapListId list);
    // A double click: whether the focused entry's map has entity settings to open.
    bool CanOpenFocusedMapSettings(MapListId list) const;

    // After the update list has closed, however it closed: saves the mod list (keeping what
    // the update lists taught it), reads it again and refreshes both lists when a mod package
    // was installed, rescans "Available Maps" and marks the vote list maps that now have entity
    // settings as Configurable; the shown map's details are read anew.
    void RefreshAfterUpdates(Prompter& prompter, bool modInstalled);

private:
    // Inserts the selected entries of one list into the other; the caller removes them from
    // the first.
    void MoveSelected(const MapList& from, MapList& to);
    std::string SpritePath(std::string_view name) const;

    Session& m_session;
    MapList m_available;
    MapList m_chosen;
    VoteMapSettings m_settings;
    std::string m_selectedMap;
    MapDetails m_details;
    PreviewSet m_preview;
    bool m_workingControlsEnabled = false;
    bool m_settingsEnabled = false;
    std::string m_title = kMainWindowTitle;
    Prompter* m_notes = nullptr;
    std::string m_lastNote;
    std::function<void()> m_titleListener;
};

} // namespace ballotine
