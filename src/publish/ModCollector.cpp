#include "publish/ModCollector.h"

#include "bsp/MapReader.h"
#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "platform/FileSystem.h"
#include "publish/PublishConfig.h"
#include "publish/PublishNames.h"
#include "publish/Sha256.h"
#include "publish/SourceTree.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace ballotine {

namespace {

using Kind = SourceTree::Kind;

constexpr std::string_view kMapExtension = ".bsp";
constexpr std::string_view kReferenceExtension = ".ref";
constexpr std::size_t kSpriteHeaderSize = 40;

// The vote map and its empty slot are each server's own, compiled and drawn there: a package
// carrying them would overwrite them.
bool IsVoteMapOwn(std::string_view key) {
    return EqualsNoCase(key, "vote") || EqualsNoCase(key, "blank");
}

std::string NameRule() {
    return "letters, digits and _-.+()!~, at most " + std::to_string(kLongestKey) + " characters";
}

std::optional<std::string> FirstLine(const std::filesystem::path& file) {
    auto in = OpenForReading(file);
    std::string line;
    if (!in || !ReadLine(*in, line)) {
        return std::nullopt;
    }
    return line;
}

// The game's own name for a mod: the quoted value of liblist.gam's "game" line.
std::optional<std::string> GameTitle(const SourceTree& tree, const std::string& folder) {
    const SourceTree::Lookup liblist = tree.File(folder + "/liblist.gam");
    auto in = liblist.kind == Kind::Found ? OpenForReading(liblist.path) : std::nullopt;
    std::string line;
    while (in && ReadLine(*in, line)) {
        const std::size_t open = line.find('"');
        const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (close != std::string::npos && EqualsNoCase(FirstWord(line), "game")) {
            return CleanTitle(line.substr(open + 1, close - open - 1));
        }
    }
    return std::nullopt;
}

std::string StripSuffix(std::string_view name, std::string_view suffix) {
    return std::string(name.substr(0, name.size() - suffix.size()));
}

} // namespace

std::optional<ReferenceName> SplitReferenceName(std::string_view fileName) {
    if (!EndsWithNoCase(fileName, kReferenceExtension)) {
        return std::nullopt;
    }
    const std::string stem = StripSuffix(fileName, kReferenceExtension);
    const std::size_t dot = stem.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == stem.size()) {
        return std::nullopt;
    }
    return ReferenceName{stem.substr(0, dot), stem.substr(dot + 1)};
}

bool LooksLikeVotePicture(std::string_view header) {
    const auto field = [&](std::size_t offset) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value |= std::uint32_t{static_cast<unsigned char>(header[offset + i])} << (8 * i);
        }
        return value;
    };
    return header.size() >= kSpriteHeaderSize && header.starts_with("IDSP") && field(20) == 128 &&
           field(24) == 64;
}

std::optional<std::string> ModCollector::Digest(const std::filesystem::path& file) {
    const auto known = m_digests.find(file);
    if (known != m_digests.end()) {
        return known->second;
    }
    std::optional<std::string> digest = FileSha256(file);
    if (digest) {
        m_digests.emplace(file, *digest);
    }
    return digest;
}

bool ModCollector::AddFound(PackagePlan& plan, const std::string& gamePath,
                            const std::filesystem::path& file, std::string_view key) {
    const std::optional<std::string> entry = m_layout->EntryName(gamePath);
    if (!entry) {
        Warn(std::string(key) + ": " + gamePath +
             " is not packaged: the installer would not put it back at that path");
        return false;
    }
    const std::optional<std::string> digest = Digest(file);
    if (!digest) {
        Warn(std::string(key) + ": cannot read " + file.string() + "; not packaged");
        return false;
    }
    plan.Add({*entry, file, *digest});
    return true;
}

std::optional<ModContent> ModCollector::Collect(std::string_view folder,
                                                const ModSettings* settings) {
    const SourceTree::Lookup found = m_tree.Folder(folder);
    if (found.kind == Kind::Refused) {
        Warn(std::string(folder) + " is " + found.reason + "; it is not published");
    }
    const bool present = found.kind == Kind::Found;
    const bool packaged = settings != nullptr && settings->packageFolder;
    if (!present && !packaged) {
        return std::nullopt;
    }
    ModContent mod;
    mod.folder = present ? found.relative : std::string(folder);
    mod.title = GameTitle(m_tree, mod.folder).value_or(mod.folder);
    m_layout.emplace(mod.folder);
    if (present) {
        Keys keys;
        CollectMaps(mod, keys);
        CollectEntities(mod, keys);
        for (auto& [name, key] : keys) {
            mod.keys.push_back(std::move(key));
        }
    }
    if (packaged) {
        AddModPackage(mod, *settings);
    }
    ApplyTitles(mod, settings);
    return mod;
}

void ModCollector::CollectMaps(const ModContent& mod, Keys& keys) {
    const SourceTree::Lookup maps = m_tree.Folder(mod.folder + "/maps");
    if (maps.kind != Kind::Found) {
        return;
    }
    for (const FolderEntry& entry : m_tree.Listing(maps.relative).Entries()) {
        if (entry.isFolder || !EndsWithNoCase(entry.name, kMapExtension)) {
            continue;
        }
        const std::string key = StripSuffix(entry.name, kMapExtension);
        const std::string lower = ToLowerAscii(key);
        const std::string shown = maps.relative + "/" + Shown(entry.name);
        if (IsVoteMapOwn(key)) {
            Warn(shown + " is not published: each server compiles its own vote map");
        } else if (!IsPublishableName(key)) {
            Warn(shown + " is not published: a map name must keep to " + NameRule());
        } else if (const auto known = keys.find(lower); known != keys.end()) {
            Warn(shown + " is not published: its name differs from " + known->second.key +
                 ".bsp only in letter case");
        } else {
            KeyContent content;
            content.key = key;
            if (AddMapPackage(mod, maps.relative, entry.name, content)) {
                keys.emplace(lower, std::move(content));
            }
        }
    }
}

bool ModCollector::AddMapPackage(const ModContent& mod, const std::string& mapsFolder,
                                 const std::string& fileName, KeyContent& key) {
    const SourceTree::Lookup file = m_tree.File(mapsFolder + "/" + fileName);
    if (file.kind != Kind::Found) {
        if (file.kind == Kind::Refused) {
            Warn(file.relative + " is not published: it is " + file.reason);
        }
        return false;
    }
    std::optional<std::string> bytes = ReadWholeFile(file.path);
    if (!bytes) {
        Warn("cannot read " + file.path.string() + "; " + key.key + " is not published");
        return false;
    }
    const std::string digest = Sha256::Hex(*bytes);
    m_digests.emplace(file.path, digest);
    key.map.emplace();
    key.mapFile = file.path;
    AddFound(*key.map, file.relative, file.path, key.key);

    MapReferences references;
    std::string error;
    if (const auto map = bsp::BspMap::Parse(std::move(*bytes), error)) {
        references = ReferencesInEntityText(map->EntityText());
    } else {
        Warn(file.relative + " cannot be read as a map (" + error +
             "); it is packaged without the files its entities name");
    }
    AddOwnFiles(mod, mapsFolder, key, references);
    for (const std::string& refused : references.refused) {
        Warn(key.key + ": '" + Shown(refused) + "' is no path below the mod; not packaged");
    }
    AddReferencedFiles(mod, key, references.files);
    AddPicture(mod, key, digest);
    return true;
}

// The map's description, resource list and detail texture list, and what the lists name.
void ModCollector::AddOwnFiles(const ModContent& /*mod*/, const std::string& mapsFolder,
                               KeyContent& key, MapReferences& references) {
    const std::array<std::string, 3> suffixes = {".txt", ".res", "_detail.txt"};
    for (const std::string& suffix : suffixes) {
        const SourceTree::Lookup file = m_tree.File(mapsFolder + "/" + key.key + suffix);
        if (file.kind == Kind::Refused) {
            Warn(file.relative + " is not packaged: it is " + file.reason);
        }
        if (file.kind != Kind::Found || !AddFound(*key.map, file.relative, file.path, key.key)) {
            continue;
        }
        if (suffix == ".txt") {
            key.mapTitle = CleanTitle(FirstLine(file.path).value_or("")).value_or("");
        } else if (const auto text = ReadWholeFile(file.path)) {
            (suffix == ".res" ? AddResourceList : AddDetailTextures)(*text, references);
        }
    }
}

void ModCollector::AddReferencedFiles(const ModContent& mod, KeyContent& key,
                                      const std::vector<std::string>& files) {
    for (const std::string& path : files) {
        SourceTree::Lookup file = m_tree.File(mod.folder + "/" + path);
        if (file.kind == Kind::Missing && !EqualsNoCase(mod.folder, "valve")) {
            file = m_tree.File("valve/" + path); // the game looks in the base game next
        }
        if (file.kind == Kind::Found) {
            AddFound(*key.map, file.relative, file.path, key.key);
        } else if (file.kind == Kind::Refused) {
            Warn(key.key + ": " + file.relative + " is not packaged: it is " + file.reason);
        } else {
            m_notes.missing.push_back({mod.folder, key.key, path});
        }
    }
}

void ModCollector::AddPicture(const ModContent& mod, KeyContent& key,
                              const std::string& mapDigest) {
    const SourceTree::Lookup file = m_tree.File(mod.folder + "/sprites/vote/" + key.key + ".spr");
    std::optional<PackageFile> picture;
    if (file.kind == Kind::Found) {
        std::ifstream in(file.path, std::ios::binary);
        std::string header(kSpriteHeaderSize, '\0');
        in.read(header.data(), static_cast<std::streamsize>(header.size()));
        header.resize(static_cast<std::size_t>(in.gcount()));
        const auto entry = m_layout->EntryName(file.relative);
        const auto digest = Digest(file.path);
        if (LooksLikeVotePicture(header) && entry && digest) {
            picture = PackageFile{*entry, file.path, *digest};
        } else {
            Warn(file.relative + " is not a 128x64 vote picture; " +
                 (key.map ? "one is drawn from the map instead" : "it is left out"));
        }
    } else if (file.kind == Kind::Refused) {
        Warn(file.relative + " is left out: it is " + file.reason);
    }
    if (!picture && key.map) {
        key.drawnPicture = true;
        picture = PackageFile{"sprites/vote/" + key.key + ".spr",
                              {},
                              Sha256::Hex("drawn vote picture\n" + key.key + "\n" + mapDigest)};
    }
    if (!picture) {
        return;
    }
    if (key.map) {
        key.map->Add(*picture);
    }
    key.voteData.emplace();
    key.voteData->Add(*picture);
}

void ModCollector::CollectEntities(const ModContent& mod, Keys& keys) {
    const SourceTree::Lookup entities = m_tree.Folder(mod.folder + "/Entities");
    if (entities.kind != Kind::Found) {
        return;
    }
    for (const FolderEntry& entry : m_tree.Listing(entities.relative).Entries()) {
        const std::optional<ReferenceName> name = SplitReferenceName(entry.name);
        if (entry.isFolder || !name) {
            continue; // the vote map's template (vote.ref) and other files of the folder
        }
        const std::string shown = entities.relative + "/" + Shown(entry.name);
        if (IsVoteMapOwn(name->key)) {
            Warn(shown + " is not published: each server compiles its own vote map");
            continue;
        }
        if (!IsPublishableName(name->key)) {
            Warn(shown + " is not published: a map name must keep to " + NameRule());
            continue;
        }
        const SourceTree::Lookup file = m_tree.File(entities.relative + "/" + entry.name);
        if (file.kind != Kind::Found) {
            if (file.kind == Kind::Refused) {
                Warn(shown + " is not published: it is " + file.reason);
            }
            continue;
        }
        KeyContent& key = keys[ToLowerAscii(name->key)];
        if (key.key.empty()) {
            key.key = name->key;
        }
        if (!key.entities) {
            key.entities.emplace();
            if (!key.map) {
                AddPicture(mod, key, {});
            }
        }
        if (AddFound(*key.entities, "Ballotine/" + file.relative, file.path, key.key)) {
            AddTemplate(mod, entities.relative, file.path, key);
        }
    }
    for (auto& [name, key] : keys) {
        if (key.entities && key.entities->files.empty()) {
            key.entities.reset(); // none of its reference files could be packaged
        }
    }
    std::erase_if(keys, [](const auto& pair) { return !pair.second.map && !pair.second.entities; });
}

void ModCollector::AddTemplate(const ModContent& mod, const std::string& entitiesFolder,
                               const std::filesystem::path& reference, KeyContent& key) {
    const std::string line = FirstLine(reference).value_or("");
    if (!EndsWithNoCase(line, ".tpt")) {
        Warn(key.key + ": " + reference.filename().string() +
             " names no template (.tpt) on its first line");
        return;
    }
    const std::optional<std::string> named = PlainRelativePath(line);
    if (!named) {
        Warn(key.key + ": the template '" + Shown(line) + "' is no path below Entities/");
        return;
    }
    const SourceTree::Lookup file = m_tree.File(entitiesFolder + "/" + *named);
    if (file.kind == Kind::Found) {
        AddFound(*key.entities, "Ballotine/" + file.relative, file.path, key.key);
    } else if (file.kind == Kind::Refused) {
        Warn(key.key + ": " + file.relative + " is not packaged: it is " + file.reason);
    } else {
        m_notes.missing.push_back({mod.folder, key.key, "Entities/" + *named});
    }
}

void ModCollector::AddModPackage(ModContent& mod, const ModSettings& settings) {
    const SourceTree::Lookup folder = m_tree.Folder(*settings.packageFolder);
    if (folder.kind != Kind::Found) {
        Warn("publish.conf line " + std::to_string(settings.line) + ": the package-folder " +
             *settings.packageFolder + " of [" + settings.folder + "] is " +
             (folder.kind == Kind::Refused ? folder.reason : "not a folder in SOURCE") +
             "; no mod package");
        return;
    }
    std::vector<SourceTree::Lookup> refused;
    PackagePlan plan;
    for (const std::string& relative : m_tree.FilesBelow(folder.relative, refused)) {
        const std::string name = relative.substr(folder.relative.size() + 1);
        const auto digest = Digest(m_tree.Root() / relative);
        if (PlainRelativePath(name) != name || !digest) {
            Warn("mod package of " + mod.folder + ": " + Shown(relative) + " is left out");
            continue;
        }
        plan.Add({name, m_tree.Root() / relative, *digest});
    }
    for (const SourceTree::Lookup& link : refused) {
        Warn("mod package of " + mod.folder + ": " + link.relative + " is left out: it is " +
             link.reason);
    }
    if (plan.files.empty()) {
        Warn("publish.conf: the package-folder of [" + settings.folder +
             "] holds no files; no mod package");
        return;
    }
    mod.modPackage = std::move(plan);
}

void ModCollector::ApplyTitles(ModContent& mod, const ModSettings* settings) {
    for (KeyContent& key : mod.keys) {
        if (key.mapTitle.empty()) {
            key.mapTitle = key.key;
        }
        key.entityTitle = key.key + " server sizes";
    }
    if (settings == nullptr) {
        return;
    }
    if (settings->title) {
        mod.title = *settings->title;
    }
    for (KeyContent& key : mod.keys) {
        if (const KeySettings* titles = settings->FindKey(key.key)) {
            key.mapTitle = titles->mapTitle.value_or(key.mapTitle);
            key.entityTitle = titles->entityTitle.value_or(key.entityTitle);
        }
    }
    for (const auto& entry : settings->keys) {
        const KeySettings& titles = entry.second;
        const bool published =
            std::any_of(mod.keys.begin(), mod.keys.end(),
                        [&](const KeyContent& k) { return EqualsNoCase(k.key, titles.key); });
        if (!published) {
            Warn("publish.conf line " + std::to_string(titles.line) + ": " + mod.folder +
                 " has no map " + titles.key + " to publish");
        }
    }
}

} // namespace ballotine
