#pragma once

#include "common/Text.h"
#include "publish/MapReferences.h"
#include "publish/PackageLayout.h"
#include "publish/PublishPlan.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace ballotine {

class SourceTree;
struct ModSettings;

// Gathers what a mod folder of SOURCE publishes: a map package per map of maps/ (the map, its
// description, resource and detail lists, the files its entities name, its vote picture), an
// entity package per map with reference files in Entities/ (with the templates they name), a
// vote data package per vote picture, and the mod package publish.conf asks for.
class ModCollector {
public:
    ModCollector(const SourceTree& tree, PublishNotes& notes) : m_tree(tree), m_notes(notes) {}

    // Nothing when the folder is not in SOURCE and publish.conf gives it no mod package.
    std::optional<ModContent> Collect(std::string_view folder, const ModSettings* settings);

private:
    using Keys = std::map<std::string, KeyContent>; // by the key in lower case

    void CollectMaps(const ModContent& mod, Keys& keys);
    void CollectEntities(const ModContent& mod, Keys& keys);
    bool AddMapPackage(const ModContent& mod, const std::string& mapsFolder,
                       const std::string& fileName, KeyContent& key);
    void AddOwnFiles(const ModContent& mod, const std::string& mapsFolder, KeyContent& key,
                     MapReferences& references);
    void AddReferencedFiles(const ModContent& mod, KeyContent& key,
                            const std::vector<std::string>& files);
    void AddTemplate(const ModContent& mod, const std::string& entitiesFolder,
                     const std::filesystem::path& reference, KeyContent& key);
    void AddPicture(const ModContent& mod, KeyContent& key, const std::string& mapDigest);
    void AddModPackage(ModContent& mod, const ModSettings& settings);
    void ApplyTitles(ModContent& mod, const ModSettings* settings);
    bool AddFound(PackagePlan& plan, const std::string& gamePath, const std::filesystem::path& file,
                  std::string_view key);
    std::optional<std::string> Digest(const std::filesystem::path& file);
    void Warn(std::string text) { m_notes.warnings.push_back(std::move(text)); }

    const SourceTree& m_tree;
    std::optional<PackageLayout> m_layout; // of the mod being collected
    PublishNotes& m_notes;
    std::map<std::filesystem::path, std::string> m_digests; // files shared by many maps
};

// The key and size of an entity reference file name "KEY.SIZE.ref"; nothing for other names.
struct ReferenceName {
    std::string key;
    std::string size;
};
std::optional<ReferenceName> SplitReferenceName(std::string_view fileName);

// Whether a sprite file's header is that of a 128x64 vote picture.
bool LooksLikeVotePicture(std::string_view header);

} // namespace ballotine
