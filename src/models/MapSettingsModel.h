#pragma once

#include "mapsettings/EntityUpdate.h"
#include "mapsettings/PreviewSet.h"
#include "mapsettings/ReferenceData.h"
#include "mapsettings/ServerTypeTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

struct Services;
struct WorkingPaths;

inline constexpr const char* kMapSettingsCaption = "Map Settings For '%s'";
inline constexpr const char* kSettingFrameCaption = "Setting";
inline constexpr const char* kNoServerSizeSelectedText = "No Server Size selected...";

// What the map settings dialog keeps between openings: the server types, the substitutions of
// the last update and the dialog's own preview. The application owns them.
struct MapSettingsTables {
    ServerTypeTable serverTypes;
    ReferenceData substitutions;
    PreviewSet preview;
};

// The copies of the working paths the dialog is opened with.
MapSettingsPaths CopyMapSettingsPaths(const WorkingPaths& paths);

// Everything the map settings dialog shows for one map, without the window: the server size
// rows, the texts of the two frames and the description, and whether "Update..." is enabled.
class MapSettingsModel {
public:
    MapSettingsModel(MapSettingsPaths paths, std::string mapName, MapSettingsTables& tables);

    // Loads the server types, lists the map's server sizes and reads its vote sprite into the
    // preview, converted for a screen of `screenDepth` bits.
    void Initialise(std::int32_t screenDepth);

    const MapSettingsPaths& Paths() const { return m_paths; }
    const std::string& MapName() const { return m_mapName; }
    // The window's caption; the "Server Size" frame is captioned with the map name.
    std::string Caption() const;
    const std::vector<ServerSizeRow>& Rows() const { return m_rows; }
    const std::string& SettingCaption() const { return m_settingCaption; }
    const std::string& DescriptionText() const { return m_description; }
    bool UpdateEnabled() const { return m_updateEnabled; }
    const PreviewSet& Preview() const { return m_tables.preview; }

    // A click in the server size list: shows the setting of the row that has the keyboard
    // focus. Nothing happens when no row has it.
    void OnServerSizeClicked(std::optional<std::size_t> focusedRow);
    // "Update...": rewrites the map's entities for the focused row's server size. True when
    // the update succeeded and the dialog closes; otherwise everything stays as it was.
    bool Update(std::optional<std::size_t> focusedRow, Services& services);

private:
    const ServerSizeRow* RowAt(std::optional<std::size_t> row) const;

    MapSettingsPaths m_paths;
    std::string m_mapName;
    MapSettingsTables& m_tables;
    std::vector<ServerSizeRow> m_rows;
    std::string m_settingCaption = kSettingFrameCaption;
    std::string m_description = kNoServerSizeSelectedText;
    bool m_updateEnabled = false;
};

} // namespace ballotine
