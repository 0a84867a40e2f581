#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// One file of a package.
struct PackageFile {
    std::string name;           // inside the archive, "/" between folders
    std::filesystem::path file; // its content; empty for a vote picture not drawn yet
    std::string digest;         // SHA-256 of the content, or of what a drawn picture is made of
};

// A package to be found at `path` below DEST.
struct PackagePlan {
    std::string path;
    std::vector<PackageFile> files;

    // The digest of the names and contents: equal identities, equal packages.
    std::string Identity() const;
    void Add(PackageFile file); // keeps one file per name (letter case ignored)
};

// What one map key of a mod publishes.
struct KeyContent {
    std::string key; // as the map file (or else the reference files) spell it
    std::optional<PackagePlan> map;
    std::optional<PackagePlan> entities;
    std::optional<PackagePlan> voteData;
    // The vote picture is drawn from the map file at `mapFile` (or a title card without
    // one); the source has none.
    bool drawnPicture = false;
    std::filesystem::path mapFile;
    std::string mapTitle;    // from the map's description, else the key
    std::string entityTitle; // "<key> server sizes"
};

// What one mod folder publishes.
struct ModContent {
    std::string folder;           // as spelled in SOURCE (or as asked for when it is missing)
    std::string title;            // the game's name for it (liblist.gam), else the folder name
    std::vector<KeyContent> keys; // in key order
    std::optional<PackagePlan> modPackage;
};

// A file a map needs that is not in SOURCE.
struct MissingFile {
    std::string mod;
    std::string key;
    std::string path; // below the mod folder, as the map names it
};

// What the collection of a mod noticed, for the report.
struct PublishNotes {
    std::vector<std::string> warnings;
    std::vector<MissingFile> missing;
};

} // namespace ballotine
