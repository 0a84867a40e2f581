#include "catalogue/MapScan.h"

#include "catalogue/BuiltInMaps.h"
#include "catalogue/MapList.h"
#include "catalogue/WorkingPaths.h"
#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace ballotine {

namespace {

constexpr std::string_view kSpriteExtension = ".spr";
constexpr std::string_view kVoteSpritePath = "sprites/vote";
constexpr std::string_view kVoteSpritePrefix = "sprites/vote/";
// Map names are file names: no longer than this.
constexpr std::size_t kMapNameLimit = 255;

// The names a "<map>.*" search of the Entities folder finds, in lower case: every file name
// cut at each of its dots, and the whole name (a ".*" pattern also matches a name without an
// extension). One pass over the folder answers every map's question.
std::unordered_set<std::string> EntityFileStems(const FolderListing& entities) {
    std::unordered_set<std::string> stems;
    for (const FolderEntry& entry : entities.Entries()) {
        if (entry.isFolder) {
            continue;
        }
        const std::string lower = ToLowerAscii(entry.name);
        for (std::size_t dot = lower.find('.'); dot != std::string::npos;
             dot = lower.find('.', dot + 1)) {
            stems.insert(lower.substr(0, dot));
        }
        stems.insert(lower);
    }
    return stems;
}

bool IsVoteMapOwnSprite(std::string_view name) {
    return EqualsNoCase(name, "vote") || EqualsNoCase(name, "blank");
}

bool HasMapFile(const FolderListing& maps, std::string_view name) {
    const FolderEntry* entry = maps.Find(std::string(name) + ".bsp");
    return entry != nullptr && !entry->isFolder;
}

// The names that "sprites/vote/<name>.spr" spells somewhere in the line, exactly as written.
std::vector<std::string_view> SpriteNamesInLine(std::string_view line) {
    std::vector<std::string_view> names;
    for (std::size_t start = line.find(kVoteSpritePrefix); start != std::string_view::npos;
         start = line.find(kVoteSpritePrefix, start + 1)) {
        const std::size_t nameStart = start + kVoteSpritePrefix.size();
        const std::string_view tail = line.substr(
            nameStart, std::min(line.size() - nameStart, kMapNameLimit + kSpriteExtension.size()));
        for (std::size_t end = tail.find(kSpriteExtension); end != std::string_view::npos;
             end = tail.find(kSpriteExtension, end + 1)) {
            names.push_back(tail.substr(0, end));
        }
    }
    return names;
}

} // namespace

bool IsVotableMapName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '"' || byte < 0x20 || byte == 0x7F;
    });
}

bool ScanVoteSprites(const WorkingPaths& paths, MapList& available,
                     std::vector<std::string>* unvotable) {
    available.Clear();
    if (!paths.HasMod()) {
        return false;
    }
    const FolderListing sprites = FolderListing::ReadNames(paths.voteSpriteDir);
    const FolderListing maps = FolderListing::ReadNames(paths.mapsDir);
    const std::unordered_set<std::string> entityStems =
        EntityFileStems(FolderListing::ReadNames(paths.modWorkDir + "Entities"));

    bool anySprite = false;
    std::unordered_set<std::string> seen;
    available.Reserve(sprites.Entries().size());
    for (const FolderEntry& entry : sprites.Entries()) {
        if (entry.isFolder || !EndsWithNoCase(entry.name, kSpriteExtension)) {
            continue;
        }
        anySprite = true;
        const std::string_view name =
            std::string_view(entry.name).substr(0, entry.name.size() - kSpriteExtension.size());
        if (name.empty() || IsVoteMapOwnSprite(name) || !seen.insert(ToLowerAscii(name)).second) {
            continue;
        }
        if (!IsVotableMapName(name)) {
            if (unvotable != nullptr) {
                unvotable->emplace_back(name);
            }
            continue;
        }
        MapState state = MapState::NotDownloaded;
        if (entityStems.count(ToLowerAscii(name)) != 0) {
            state = MapState::Configurable;
        } else if (FindBuiltInMap(name) != nullptr || HasMapFile(maps, name)) {
            state = MapState::Installed;
        }
        available.Insert(name, state);
    }
    return anySprite;
}

void ReadVoteMapEntries(const WorkingPaths& paths, const MapList& available, MapList& chosen) {
    chosen.Clear();
    if (!paths.HasMod()) {
        return;
    }
    auto in = OpenForReading(paths.mapsDir + kVoteEntityFileName);
    if (!in) {
        return;
    }
    // A map is found by its exact name; among several in one line the first in list order wins.
    std::unordered_map<std::string_view, std::size_t> availableByName;
    for (std::size_t i = 0; i < available.Count(); ++i) {
        availableByName.emplace(available.At(i).name, i);
    }
    std::unordered_set<std::string> chosenNames;
    std::string line;
    while (ReadLine(*in, line)) {
        if (line.find(kVoteSpritePath) == std::string::npos) {
            continue;
        }
        const std::vector<std::string_view> named = SpriteNamesInLine(line);
        std::optional<std::size_t> first;
        bool alreadyChosen = false;
        for (const std::string_view name : named) {
            if (const auto it = availableByName.find(name); it != availableByName.end()) {
                first = first ? std::min(*first, it->second) : it->second;
            }
            alreadyChosen = alreadyChosen || chosenNames.count(std::string(name)) != 0;
        }
        if (first && !alreadyChosen) {
            const MapEntry& entry = available.At(*first);
            chosen.Insert(entry.name, entry.state);
            chosenNames.insert(entry.name);
        }
    }
}

} // namespace ballotine
