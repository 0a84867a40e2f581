#include "sprites/MissingPictures.h"

#include "common/Text.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <string_view>
#include <unordered_set>

namespace ballotine {

namespace {

namespace fs = std::filesystem;
using Kind = PictureNote::Kind;

constexpr std::string_view kMapExtension = ".bsp";
constexpr std::string_view kPictureExtension = ".spr";
// A file name holds at most 255 bytes; the temporary file beside a picture adds a dot and a
// suffix of up to about 30 to the picture's name.
constexpr std::size_t kLongestName = 200;

struct MapChoice {
    std::string name;   // as the map file spells it
    std::string file;   // the map file's name
    bool named = false; // asked for by name
};

bool IsVoteMapOwn(std::string_view name) {
    return EqualsNoCase(name, "vote") || EqualsNoCase(name, "blank");
}

// A name that is one file name on every system the game runs on, and that a vote map's entity
// text can quote: no path, no control character, none of the characters Windows refuses.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name.size() > kLongestName || name == "." || name == "..") {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F ||
            std::string_view("/\\\"<>:|?*").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// A refused name as a note may show it: control characters as \xNN, so that a name cannot
// steer the terminal it is printed on.
std::string Shown(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        shown += byte < 0x20 || byte == 0x7F ? Format("\\x%02X", byte) : std::string(1, c);
    }
    return shown;
}

std::string_view WithoutExtension(std::string_view name, std::string_view extension) {
    return EndsWithNoCase(name, extension) ? name.substr(0, name.size() - extension.size()) : name;
}

// Every map file of the folder in listing order, each name once.
std::vector<MapChoice> EveryMap(const FolderListing& maps, PictureReport& report) {
    std::vector<MapChoice> choices;
    std::unordered_set<std::string> seen;
    for (const FolderEntry& entry : maps.Entries()) {
        if (entry.isFolder || !EndsWithNoCase(entry.name, kMapExtension)) {
            continue;
        }
        const std::string name(WithoutExtension(entry.name, kMapExtension));
        if (name.empty() || IsVoteMapOwn(name) || !seen.insert(ToLowerAscii(name)).second) {
            continue;
        }
        if (!IsPlainName(name)) {
            report.notes.push_back(
                {name, Kind::Skipped,
                 "skipped " + Shown(entry.name) + ": not a name a picture can take"});
            continue;
        }
        choices.push_back({name, entry.name, false});
    }
    return choices;
}

// The named maps, each as its map file spells it, each once.
std::vector<MapChoice> NamedMaps(const std::vector<std::string>& names, const FolderListing& maps,
                                 const fs::path& mapsFolder, PictureReport& report) {
    std::vector<MapChoice> choices;
    std::unordered_set<std::string> seen;
    for (const std::string& asked : names) {
        const std::string_view name = WithoutExtension(asked, kMapExtension);
        if (!IsPlainName(name)) {
            report.notes.push_back(
                {asked, Kind::Skipped, "skipped \"" + Shown(asked) + "\": not a map name"});
            continue;
        }
        if (IsVoteMapOwn(name)) {
            report.notes.push_back({asked, Kind::Skipped,
                                    "skipped " + asked + ": the vote map has pictures of its own"});
            continue;
        }
        if (!seen.insert(ToLowerAscii(name)).second) {
            continue;
        }
        const FolderEntry* entry = maps.Find(std::string(name) + std::string(kMapExtension));
        if (entry == nullptr || entry->isFolder) {
            report.notes.push_back({asked, Kind::Skipped,
                                    "skipped " + asked + ": no map " + std::string(name) +
                                        ".bsp in " + mapsFolder.string()});
            continue;
        }
        choices.push_back(
            {std::string(WithoutExtension(entry->name, kMapExtension)), entry->name, true});
    }
    return choices;
}

// The plan the source gives, or why there is none; a source that throws gives none.
PlanResult ReadPlan(const PlanSource& plans, const fs::path& mapFile) {
    if (!plans) {
        return {};
    }
    try {
        return plans(mapFile);
    } catch (const std::exception& error) {
        return {std::nullopt, std::string("reading its plan failed: ") + error.what()};
    } catch (...) {
        return {std::nullopt, "reading its plan failed"};
    }
}

struct DrawnPicture {
    std::string sprite;
    bool withPlan = false;
    std::string titleCardReason; // why a plan was expected but not drawn
};

// The map's plan picture, or its title card when the plan has nothing to draw.
DrawnPicture Draw(const std::string& name, const PlanResult& plan) {
    if (plan.plan) {
        if (const std::optional<Picture> picture = ComposePlanPicture(name, *plan.plan)) {
            return {EncodeSprite(*picture), true, {}};
        }
    }
    std::string why = plan.note;
    if (plan.plan && why.empty()) {
        why = "its plan has nothing to draw";
    }
    return {EncodeSprite(ComposeTitleCard(name)), false, std::move(why)};
}

// Empty on success, else why the file could not be written.
std::string WritePicture(const fs::path& target, std::string_view bytes) {
    errno = 0;
    AtomicFile file(target);
    if (file.IsOpen() && file.Write(bytes) && file.Commit()) {
        return {};
    }
    const int error = errno;
    return error != 0 ? std::strerror(error) : "the file could not be written";
}

} // namespace

PictureReport WriteMissingPictures(const PictureRequest& request, const PlanSource& plans) {
    PictureReport report;
    const FolderListing maps = FolderListing::ReadNames(request.mapsFolder);
    if (!maps.Exists()) {
        report.notes.push_back(
            {"", Kind::Skipped, "no maps: cannot read the folder " + request.mapsFolder.string()});
        return report;
    }
    const std::vector<MapChoice> choices =
        request.maps.empty() ? EveryMap(maps, report)
                             : NamedMaps(request.maps, maps, request.mapsFolder, report);
    if (choices.empty()) {
        return report;
    }
    CreateFolders(request.pictureFolder);
    const FolderListing pictures = FolderListing::ReadNames(request.pictureFolder);
    for (const MapChoice& choice : choices) {
        const FolderEntry* existing = pictures.Find(choice.name + std::string(kPictureExtension));
        if (existing != nullptr && !request.force) {
            if (choice.named) {
                report.notes.push_back({choice.name, Kind::Kept,
                                        choice.name + ": kept its picture " + existing->name});
            }
            continue;
        }
        const fs::path target =
            request.pictureFolder /
            (existing != nullptr ? existing->name : choice.name + std::string(kPictureExtension));
        const DrawnPicture drawn =
            Draw(choice.name, ReadPlan(plans, request.mapsFolder / choice.file));
        const std::string failure = WritePicture(target, drawn.sprite);
        if (!failure.empty()) {
            report.notes.push_back({choice.name, Kind::NotWritten,
                                    "cannot write " + target.string() + ": " + failure});
            continue;
        }
        if (!drawn.titleCardReason.empty()) {
            report.notes.push_back({choice.name, Kind::TitleCardOnly,
                                    choice.name + ": title card only: " + drawn.titleCardReason});
        }
        report.written.push_back({choice.name, target, drawn.withPlan, existing != nullptr});
    }
    return report;
}

} // namespace ballotine
