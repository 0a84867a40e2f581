#include "models/MapSettingsModel.h"

#include "catalogue/WorkingPaths.h"
#include "common/Text.h"
#include "mapsettings/SettingDescription.h"
#include "platform/GameLock.h"
#include "platform/Services.h"

namespace ballotine {

MapSettingsPaths CopyMapSettingsPaths(const WorkingPaths& paths) {
    return MapSettingsPaths{paths.workDir, paths.modWorkDir, paths.voteSpriteDir, paths.mapsDir};
}

MapSettingsModel::MapSettingsModel(MapSettingsPaths paths, std::string mapName,
                                   MapSettingsTables& tables)
    : m_paths(std::move(paths)), m_mapName(std::move(mapName)), m_tables(tables) {}

void MapSettingsModel::Initialise(std::int32_t screenDepth) {
    PreparePreview(m_tables.preview, screenDepth);
    m_tables.serverTypes.LoadServerTypes(m_paths.modWorkDir);
    m_rows = ListServerSizes(m_tables.serverTypes, m_paths.modWorkDir, m_mapName);
    // No mod means no sprite folder: the picture stays black rather than searching "".
    const std::string sprite =
        m_paths.voteSpriteDir.empty() ? std::string() : m_paths.voteSpriteDir + m_mapName + ".spr";
    LoadPreview(m_tables.preview, sprite);
}

std::string MapSettingsModel::Caption() const {
    return Format(kMapSettingsCaption, m_mapName.c_str());
}

const ServerSizeRow* MapSettingsModel::RowAt(std::optional<std::size_t> row) const {
    return row && *row < m_rows.size() ? &m_rows[*row] : nullptr;
}

void MapSettingsModel::OnServerSizeClicked(std::optional<std::size_t> focusedRow) {
    const ServerSizeRow* row = RowAt(focusedRow);
    if (row == nullptr) {
        return;
    }
    SettingDescription setting = ReadSettingDescription(m_paths.modWorkDir, m_mapName, row->key);
    switch (setting.result) {
    case SettingDescription::Result::Found:
        m_settingCaption = std::move(setting.title);
        m_description = std::move(setting.description);
        break;
    case SettingDescription::Result::NoDescription:
        m_settingCaption = m_mapName;
        m_description = kNoSettingDescriptionText;
        break;
    case SettingDescription::Result::NothingToShow:
        break;
    }
    m_updateEnabled = true;
}

bool MapSettingsModel::Update(std::optional<std::size_t> focusedRow, Services& services) {
    const ServerSizeRow* row = RowAt(focusedRow);
    if (row == nullptr) {
        return false;
    }
    const auto lock = LockGameForWriting(m_paths.workDir, "apply", services.prompter);
    return lock &&
           UpdateMapEntities(m_paths, m_mapName, row->key, services, m_tables.substitutions);
}

} // namespace ballotine
