#include "catalogue/MapDetails.h"

#include "catalogue/BuiltInMaps.h"
#include "catalogue/WorkingPaths.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"

namespace ballotine {

namespace {

// The description stops growing once it reaches this length (tested before a line is added).
constexpr std::size_t kDescriptionSoftLimit = 512;
// Longer lines and descriptions are cut here.
constexpr std::size_t kTextLimit = 4095;

void CutTo(std::string& text, std::size_t limit) {
    if (text.size() > limit) {
        text.resize(limit);
    }
}

} // namespace

MapDescription ReadMapDescription(std::istream& in) {
    MapDescription result;
    std::string line;
    if (ReadLine(in, line)) {
        CutTo(line, kTextLimit);
        result.caption = line;
    }
    bool skipEmptyLine = true;
    while (ReadLine(in, line) && result.text.size() < kDescriptionSoftLimit) {
        CutTo(line, kTextLimit);
        result.text += line;
        if (line.empty()) {
            if (!skipEmptyLine) {
                result.text += "\n\n";
            }
        } else {
            result.text += ' ';
        }
        skipEmptyLine = false;
    }
    CutTo(result.text, kTextLimit);
    return result;
}

MapDetails ReadMapDetails(const WorkingPaths& paths, std::string_view name) {
    MapDetails details;
    details.name = name;
    if (const BuiltInMap* builtIn = FindBuiltInMap(name)) {
        details.sizeText = builtIn->sizeText;
        details.downloadedText = kBuiltInDownloadedText;
        details.caption = builtIn->title;
        details.description = builtIn->description;
        return details;
    }
    const std::string stem = paths.mapsDir + std::string(name);
    const auto map = paths.HasMod() ? QueryFile(stem + ".bsp") : std::nullopt;
    if (map && !map->isFolder) {
        details.sizeText = Format("%llu bytes", static_cast<unsigned long long>(map->size));
        details.downloadedText = "Yes";
    } else {
        details.sizeText = "N/A";
        details.downloadedText = "No";
    }
    auto text = paths.HasMod() ? OpenForReading(stem + ".txt") : std::nullopt;
    if (!text) {
        details.caption = name;
        details.description = kNoDescriptionText;
        return details;
    }
    MapDescription description = ReadMapDescription(*text);
    details.caption = std::move(description.caption);
    details.description = std::move(description.text);
    return details;
}

} // namespace ballotine
