#include "publish/Publisher.h"

#include "install/Extraction.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "publish/DestFolder.h"
#include "publish/ModCollector.h"
#include "publish/PublishConfig.h"
#include "publish/PublishNames.h"
#include "publish/PublishState.h"
#include "publish/SourceTree.h"
#include "publish/UpdateListText.h"
#include "publish/ZipWriter.h"
#include "sprites/BspPlan.h"
#include "sprites/SpriteFile.h"
#include "sprites/VotePictures.h"

#include <algorithm>
#include <limits>
#include <set>
#include <system_error>
#include <tuple>

namespace ballotine {
namespace fs = std::filesystem;

namespace {

constexpr const char* kModListName = "modsupdate.cfg";
constexpr const char* kMapListName = "database.conf";

// Names DEST keeps for itself; no mod folder may take them.
bool IsReservedName(std::string_view name) {
    return EqualsNoCase(name, kModListName) || EqualsNoCase(name, kPublishStateName) ||
           EqualsNoCase(name, kStagingFolderName);
}

// The vote picture the client would draw for the map itself: its plan, or its title card.
std::string DrawVotePicture(const std::string& key, const fs::path& mapFile) {
    const PlanResult plan = mapFile.empty() ? PlanResult{} : ReadBspPlan(mapFile);
    if (plan.plan) {
        if (const std::optional<Picture> picture = ComposePlanPicture(key, *plan.plan)) {
            return EncodeSprite(*picture);
        }
    }
    return EncodeSprite(ComposeTitleCard(key));
}

bool Inside(const fs::path& path, const fs::path& folder) {
    const std::string text = path.string();
    const std::string root = folder.string();
    return text == root ||
           (text.starts_with(root) && (root.ends_with('/') || text[root.size()] == '/'));
}

// Makes titles unique within one catalogue, letter case ignored: the client ties a tree item to
// its download by the title alone.
class TitleBook {
public:
    std::string Claim(const std::string& title, const std::string& owner,
                      std::vector<std::string>& warnings) {
        std::string unique = title;
        for (int n = 1; !m_used.insert(ToLowerAscii(unique)).second; ++n) {
            unique = n == 1 ? title + " (" + owner + ")"
                            : title + " (" + owner + " " + std::to_string(n) + ")";
        }
        if (unique != title) {
            warnings.push_back(owner + ": the title '" + title +
                               "' is taken by another package; published as '" + unique + "'");
        }
        return unique;
    }

private:
    std::set<std::string> m_used;
};

// A key's packages with what the lists say of them.
struct KeyOffer {
    std::string mapTitle;
    std::string entityTitle;
    std::uint64_t mapSize = 0;
    std::uint64_t entitySize = 0;
    fs::path drawnPicture; // the drawn picture's file once drawn
};

class Publisher {
public:
    explicit Publisher(const PublishRequest& request) : m_request(request) {}

    PublishReport Run() {
        if (CheckRequest() && OpenDest() && ReadState() && ReadConfig() && ChooseMods() &&
            Collect()) {
            AssignVersions();
            NamePackages();
            if (BuildPackages() && WriteLists() && WriteState()) {
                Commit();
            }
        }
        if (!m_report.Succeeded()) {
            m_report.packages.clear();
            m_report.lists.clear();
        }
        return std::move(m_report);
    }

private:
    bool Fail(std::string error) {
        m_report.error = std::move(error);
        return false;
    }

    bool CheckRequest();
    bool OpenDest();
    bool ReadState();
    bool ReadConfig();
    bool ChooseMods();
    bool AddMod(const std::string& folder, bool asked);
    bool Collect();
    void AssignVersions();
    void NamePackages();
    bool BuildPackages();
    bool Place(PackagePlan& plan, std::string_view kind, std::int32_t version, std::uint64_t& size,
               KeyContent* key, KeyOffer* offer);
    bool WriteLists();
    bool StageIfChanged(const std::string& relative, const std::string& text, bool listed);
    bool WriteState();
    void Commit();
    std::string Url(const std::string& base, const std::string& path) const {
        return base + "/" + path;
    }
    std::string MirrorUrl(const std::string& path) const {
        return m_config.mirror ? Url(*m_config.mirror, path) : std::string();
    }
    // A package's fields of a map record: version, size, address, mirror, title.
    std::tuple<std::int32_t, std::int32_t, std::string, std::string, std::string>
    Listed(const PackagePlan& plan, std::int32_t version, std::uint64_t size,
           const std::string& title) const {
        return {version, static_cast<std::int32_t>(size), Url(m_baseUrl, plan.path),
                MirrorUrl(plan.path), title};
    }

    const PublishRequest& m_request;
    PublishReport m_report;
    std::string m_baseUrl;
    fs::path m_dest;
    std::optional<SourceTree> m_tree;
    std::optional<DestFolder> m_folder;
    PublishConfig m_config;
    PublishState m_oldState;
    PublishState m_state;
    std::vector<std::string> m_modFolders;
    std::vector<ModContent> m_mods;
    std::vector<std::vector<KeyOffer>> m_offers; // per mod, per key
    std::vector<std::uint64_t> m_modPackageSizes;
    std::vector<std::string> m_modPackageTitles;
};

bool Publisher::CheckRequest() {
    const auto base = CleanAddress(m_request.baseUrl);
    if (!base) {
        return Fail("--base-url '" + Shown(m_request.baseUrl) +
                    "' is not an address such as https://maps.example.org/ballotine (write "
                    "blanks and quotes as %20 and %22)");
    }
    m_baseUrl = *base;
    std::error_code error;
    if (!fs::is_directory(m_request.source, error)) {
        return Fail("SOURCE " + m_request.source.string() + " is not a folder");
    }
    m_tree.emplace(m_request.source);
    const fs::path dest = fs::weakly_canonical(fs::absolute(m_request.dest, error), error);
    if (error || dest.empty()) {
        return Fail("DEST " + m_request.dest.string() + " is not a usable path");
    }
    m_dest = dest.has_filename() ? dest : dest.parent_path();
    const fs::path& source = m_tree->Root();
    if (Inside(m_dest, source) || Inside(source, m_dest)) {
        return Fail("DEST " + m_dest.string() + " and SOURCE " + source.string() +
                    " must be apart: neither may lie inside the other");
    }
    if (fs::exists(m_dest, error) && !fs::is_directory(m_dest, error)) {
        return Fail("DEST " + m_dest.string() + " exists and is not a folder");
    }
    return true;
}

bool Publisher::OpenDest() {
    std::error_code error;
    if (fs::is_directory(m_dest, error) && !fs::exists(m_dest / kPublishStateName, error)) {
        for (const auto& entry : fs::directory_iterator(m_dest, error)) {
            if (entry.path().filename() != kStagingFolderName) {
                return Fail("DEST " + m_dest.string() +
                            " holds files but no publish state; publish into an empty folder "
                            "or one an earlier publish wrote");
            }
        }
    }
    std::string why;
    std::optional<DestFolder> opened = DestFolder::Open(m_dest, why);
    if (!opened) {
        return Fail(why);
    }
    m_folder.emplace(std::move(*opened));
    return true;
}

bool Publisher::ReadState() {
    const fs::path file = m_dest / kPublishStateName;
    if (!fs::exists(file)) {
        return true;
    }
    auto in = OpenForReading(file);
    std::string error;
    auto state = in ? ParsePublishState(*in, error) : std::nullopt;
    if (!state) {
        return Fail(file.string() + ": " + (in ? error : "cannot be read") +
                    ". It keeps the versions already published; restore it rather than "
                    "delete it.");
    }
    m_oldState = *state;
    m_state = std::move(*state);
    m_state.files.clear();
    return true;
}

bool Publisher::ReadConfig() {
    const SourceTree::Lookup file = m_tree->File(kPublishConfigName);
    if (file.kind == SourceTree::Kind::Refused) {
        return Fail(file.relative + " is " + file.reason);
    }
    if (file.kind == SourceTree::Kind::Missing) {
        return true;
    }
    auto in = OpenForReading(file.path);
    std::string error;
    auto config = in ? ParsePublishConfig(*in, error) : std::nullopt;
    if (!config) {
        return Fail(file.path.string() + ": " + (in ? error : "cannot be read"));
    }
    m_config = std::move(*config);
    return true;
}

bool Publisher::AddMod(const std::string& folder, bool asked) {
    if (!IsPublishableName(folder) || IsReservedName(folder)) {
        const std::string text = "'" + Shown(folder) + "' cannot be published as a mod folder " +
                                 "(letters, digits and _-.+()!~; not " + kModListName + ", " +
                                 kPublishStateName + ")";
        if (asked) {
            return Fail(text);
        }
        m_report.warnings.push_back(text);
        return true;
    }
    const bool known =
        std::any_of(m_modFolders.begin(), m_modFolders.end(),
                    [&](const std::string& other) { return EqualsNoCase(other, folder); });
    if (!known) {
        m_modFolders.push_back(folder);
    }
    return true;
}

bool Publisher::ChooseMods() {
    if (!m_request.mods.empty()) {
        for (const std::string& folder : m_request.mods) {
            if (!AddMod(folder, true)) {
                return false;
            }
        }
        return true;
    }
    for (const FolderEntry& entry : m_tree->Listing("").Entries()) {
        const bool holdsMaps =
            m_tree->Folder(entry.name + "/maps").kind == SourceTree::Kind::Found ||
            m_tree->Folder(entry.name + "/Entities").kind == SourceTree::Kind::Found;
        if ((entry.isFolder || entry.isLink) && holdsMaps && !AddMod(entry.name, false)) {
            return false;
        }
    }
    for (const ModSettings& mod : m_config.mods) {
        if (mod.packageFolder && !AddMod(mod.folder, false)) {
            return false;
        }
    }
    std::sort(m_modFolders.begin(), m_modFolders.end(), LessNoCase{});
    return true;
}

bool Publisher::Collect() {
    PublishNotes notes;
    ModCollector collector(*m_tree, notes);
    for (const std::string& folder : m_modFolders) {
        std::optional<ModContent> mod = collector.Collect(folder, m_config.Find(folder));
        if (!mod) {
            if (!m_request.mods.empty()) {
                return Fail("SOURCE holds no folder " + folder +
                            " and publish.conf gives it no mod package");
            }
            continue;
        }
        m_mods.push_back(std::move(*mod));
    }
    m_report.warnings.insert(m_report.warnings.end(), notes.warnings.begin(), notes.warnings.end());
    m_report.missing = std::move(notes.missing);
    if (m_mods.empty()) {
        return Fail("nothing to publish: SOURCE holds no mod folder with maps/ or Entities/ "
                    "(SOURCE/MOD/maps/*.bsp) and publish.conf asks for no mod package");
    }
    return true;
}

void Publisher::AssignVersions() {
    for (KeyState& key : m_state.keys) {
        key.listed = false; // until this publish lists it again
    }
    for (const ModContent& mod : m_mods) {
        ModState* modState = m_state.FindMod(mod.folder);
        if (modState == nullptr) {
            m_state.mods.push_back({mod.folder, 0, 0, "-"});
            modState = &m_state.mods.back();
        }
        modState->folder = mod.folder;
        const auto listedBefore = [&](const KeyContent& key) {
            const KeyState* known = m_oldState.FindKey(mod.folder, key.key);
            return known != nullptr && known->listed;
        };
        const bool anyNew = std::any_of(mod.keys.begin(), mod.keys.end(), [&](const KeyContent& k) {
            return k.map && !listedBefore(k);
        });
        if (anyNew) {
            ++modState->revision;
        }
        for (const KeyContent& key : mod.keys) {
            KeyState* state = m_state.FindKey(mod.folder, key.key);
            if (state == nullptr) {
                m_state.keys.push_back({mod.folder, key.key});
                state = &m_state.keys.back();
            }
            state->key = key.key;
            if (key.map && !listedBefore(key)) {
                state->addedRevision = modState->revision;
            }
            if (key.map && state->mapIdentity != key.map->Identity()) {
                ++state->mapVersion;
                state->mapIdentity = key.map->Identity();
            }
            if (key.entities && state->entityIdentity != key.entities->Identity()) {
                ++state->entityVersion;
                state->entityIdentity = key.entities->Identity();
            }
            state->listed = key.map.has_value();
        }
        if (mod.modPackage && modState->packageIdentity != mod.modPackage->Identity()) {
            ++modState->packageVersion;
            modState->packageIdentity = mod.modPackage->Identity();
        }
    }
}

void Publisher::NamePackages() {
    TitleBook modTitles;
    for (ModContent& mod : m_mods) {
        const ModSettings* settings = m_config.Find(mod.folder);
        m_modPackageTitles.push_back(
            mod.modPackage && settings && settings->packageTitle
                ? modTitles.Claim(*settings->packageTitle, mod.folder, m_report.warnings)
                : std::string());
        if (mod.modPackage) {
            mod.modPackage->path = mod.folder + "/" + mod.folder + ".zip";
        }
    }
    for (ModContent& mod : m_mods) {
        TitleBook titles = modTitles; // mod packages share every mod's catalogue
        std::set<std::string> mapFiles;
        for (const KeyContent& key : mod.keys) {
            if (key.map) {
                mapFiles.insert(ToLowerAscii(key.key + ".zip"));
            }
        }
        std::vector<KeyOffer>& offers = m_offers.emplace_back();
        for (KeyContent& key : mod.keys) {
            KeyOffer& offer = offers.emplace_back();
            if (key.map) {
                key.map->path = mod.folder + "/maps/" + key.key + ".zip";
                offer.mapTitle = titles.Claim(key.mapTitle, key.key, m_report.warnings);
            }
            if (key.entities) {
                // A map may be called KEY_ents itself; the client keeps both files side by side.
                std::string file = key.key + "_ents.zip";
                for (int n = 2; mapFiles.contains(ToLowerAscii(file)); ++n) {
                    file = key.key + "_ents" + std::to_string(n) + ".zip";
                }
                key.entities->path = mod.folder + "/maps/" + file;
                offer.entityTitle = titles.Claim(key.entityTitle, key.key, m_report.warnings);
            }
            if (key.voteData) {
                key.voteData->path = mod.folder + "/voteVM/" + key.key + "VM.zip";
            }
        }
    }
}

bool Publisher::Place(PackagePlan& plan, std::string_view kind, std::int32_t version,
                      std::uint64_t& size, KeyContent* key, KeyOffer* offer) {
    const std::string identity = plan.Identity();
    const FileState* old = m_oldState.FindFile(plan.path);
    std::error_code error;
    const fs::path target = m_dest / plan.path;
    const bool kept = old != nullptr && old->identity == identity &&
                      fs::is_regular_file(fs::symlink_status(target, error)) &&
                      fs::file_size(target, error) == old->size;
    PackageChange change = PackageChange::Unchanged;
    if (kept) {
        size = old->size;
    } else {
        std::vector<ZipSource> sources;
        for (PackageFile& file : plan.files) {
            if (file.file.empty() && key != nullptr && offer != nullptr) {
                if (offer->drawnPicture.empty()) {
                    offer->drawnPicture = m_folder->ScratchPath(plan.path + ".spr");
                    if (!WriteFileAtomically(offer->drawnPicture,
                                             DrawVotePicture(key->key, key->mapFile))) {
                        return Fail("cannot write " + offer->drawnPicture.string());
                    }
                }
                file.file = offer->drawnPicture;
            }
            sources.push_back({file.name, file.file});
        }
        std::string why;
        const std::optional<std::string> zip = BuildZip(sources, kSmallestPackageSize, why);
        if (!zip) {
            return Fail(plan.path + ": " + why);
        }
        if (!m_folder->Stage(plan.path, *zip, why)) {
            return Fail(why);
        }
        size = zip->size();
        change = old != nullptr ? PackageChange::Changed : PackageChange::New;
    }
    if (size > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        return Fail(plan.path + " is larger than an update list can say (2 GiB)");
    }
    m_state.files.push_back({plan.path, size, identity});
    m_report.packages.push_back({plan.path, std::string(kind), version, size, change});
    return true;
}

bool Publisher::BuildPackages() {
    for (std::size_t m = 0; m < m_mods.size(); ++m) {
        ModContent& mod = m_mods[m];
        for (std::size_t k = 0; k < mod.keys.size(); ++k) {
            KeyContent& key = mod.keys[k];
            KeyOffer& offer = m_offers[m][k];
            const KeyState* state = m_state.FindKey(mod.folder, key.key);
            std::uint64_t voteSize = 0;
            if ((key.map &&
                 !Place(*key.map, "map", state->mapVersion, offer.mapSize, &key, &offer)) ||
                (key.entities && !Place(*key.entities, "entities", state->entityVersion,
                                        offer.entitySize, nullptr, nullptr)) ||
                (key.voteData && !Place(*key.voteData, "votedata", 0, voteSize, &key, &offer))) {
                return false;
            }
        }
        std::uint64_t modSize = 0;
        if (mod.modPackage &&
            !Place(*mod.modPackage, "mod", m_state.FindMod(mod.folder)->packageVersion, modSize,
                   nullptr, nullptr)) {
            return false;
        }
        m_modPackageSizes.push_back(modSize);
    }
    return true;
}

bool Publisher::StageIfChanged(const std::string& relative, const std::string& text, bool listed) {
    const std::optional<std::string> current = ReadWholeFile(m_dest / relative);
    const bool changed = current != text;
    std::string why;
    if (changed && !m_folder->Stage(relative, text, why)) {
        return Fail(why);
    }
    if (listed) {
        m_state.files.push_back({relative, text.size(), "-"});
        m_report.lists.push_back({relative, changed});
    }
    return true;
}

bool Publisher::WriteLists() {
    ModUpdateList modList;
    modList.modListUrl = Url(m_baseUrl, kModListName);
    for (std::size_t m = 0; m < m_mods.size(); ++m) {
        const ModContent& mod = m_mods[m];
        MapUpdateList list;
        list.listRevision = m_state.FindMod(mod.folder)->revision;
        for (std::size_t k = 0; k < mod.keys.size(); ++k) {
            const KeyContent& key = mod.keys[k];
            const KeyOffer& offer = m_offers[m][k];
            const KeyState& state = *m_state.FindKey(mod.folder, key.key);
            MapRecord& record = list.records.emplace_back();
            record.key = key.key;
            record.addedRevision = state.addedRevision;
            record.hasVoteData = key.voteData ? 1 : 0;
            if (key.map) {
                std::tie(record.mapVersion, record.mapSize, record.mapUrl, record.mapMirrorUrl,
                         record.mapTitle) =
                    Listed(*key.map, state.mapVersion, offer.mapSize, offer.mapTitle);
            }
            if (key.entities) {
                std::tie(record.entityVersion, record.entitySize, record.entityUrl,
                         record.entityMirrorUrl, record.entityTitle) =
                    Listed(*key.entities, state.entityVersion, offer.entitySize, offer.entityTitle);
            }
            m_report.maps += key.map ? 1 : 0;
        }
        if (!StageIfChanged(mod.folder + "/" + kMapListName, MapUpdateListText(list), true)) {
            return false;
        }
        if (mod.modPackage) {
            ModUpdateRecord& record = modList.records.emplace_back();
            record.dir = mod.folder;
            record.version = m_state.FindMod(mod.folder)->packageVersion;
            record.size = static_cast<std::int32_t>(m_modPackageSizes[m]);
            record.modTitle = mod.title;
            record.packageTitle = m_modPackageTitles[m];
            record.baseUrl = Url(m_baseUrl, mod.folder);
            record.packageUrl = Url(m_baseUrl, mod.modPackage->path);
            record.packageMirrorUrl = MirrorUrl(mod.modPackage->path);
        }
    }
    return StageIfChanged(kModListName, ModUpdateListText(modList), true);
}

bool Publisher::WriteState() {
    return StageIfChanged(kPublishStateName, SerializePublishState(m_state), false);
}

void Publisher::Commit() {
    std::string why;
    if (!m_folder->Commit(why)) {
        Fail(why);
        return;
    }
    std::vector<std::string> stale;
    for (const FileState& file : m_oldState.files) {
        if (m_state.FindFile(file.path) == nullptr) {
            stale.push_back(file.path);
        }
    }
    m_folder->Remove(stale, m_report.warnings);
    m_report.removed = std::move(stale);
}

} // namespace

PublishReport Publish(const PublishRequest& request) {
    return Publisher(request).Run();
}

} // namespace ballotine
