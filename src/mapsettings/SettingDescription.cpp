#include "mapsettings/SettingDescription.h"

#include "common/LineReader.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace ballotine {

namespace {

bool BeginsWith(const std::string& line, std::string_view marker) {
    return line.compare(0, marker.size(), marker) == 0;
}

} // namespace

SettingDescription ReadSettingDescription(std::string_view modWorkDir, std::string_view mapName,
                                          std::string_view key) {
    SettingDescription setting;
    if (modWorkDir.empty()) {
        return setting;
    }
    auto file = OpenForReading(std::string(modWorkDir) + "Entities" + kSeparator +
                               std::string(mapName) + "." + std::string(key) + ".ref");
    if (!file) {
        return setting;
    }
    std::string line;
    bool inInfo = false;
    while (!inInfo && ReadLine(*file, line)) {
        inInfo = BeginsWith(line, "#INFO#");
    }
    if (!inInfo) {
        return setting;
    }
    if (!ReadLine(*file, setting.title)) {
        setting.result = SettingDescription::Result::NothingToShow;
        return setting;
    }
    setting.result = SettingDescription::Result::Found;
    bool dropEmptyLine = true; // the first empty line, wherever it stands, separates the title
    while (ReadLine(*file, line)) {
        if (setting.description.size() >= kDescriptionStop || BeginsWith(line, "#TEXT#")) {
            break;
        }
        setting.description += line;
        if (line.empty() && dropEmptyLine) {
            dropEmptyLine = false;
        } else {
            setting.description += '\n';
        }
        if (setting.description.size() > kDescriptionLimit) {
            setting.description.resize(kDescriptionLimit);
        }
    }
    return setting;
}

} // namespace ballotine
