#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace ballotine {

// What the publisher remembers in DEST between runs, so versions only ever rise and an
// unchanged tree changes nothing. Identities are SHA-256 digests of what went into a package
// ("-": none).
struct ModState {
    std::string folder;
    std::int32_t revision = 0;       // the map update list's revision
    std::int32_t packageVersion = 0; // the mod package's; 0: never published
    std::string packageIdentity = "-";
};

struct KeyState {
    std::string mod;
    std::string key;
    std::int32_t addedRevision = 0;
    std::int32_t mapVersion = 0; // 0: no map package was ever published
    std::string mapIdentity = "-";
    std::int32_t entityVersion = 0;
    std::string entityIdentity = "-";
    bool listed = false; // in the map update list now; keys taken off keep their versions
};

// A file the publisher wrote into DEST (packages and lists), with what it was made of.
struct FileState {
    std::string path; // below DEST, "/" between folders
    std::uint64_t size = 0;
    std::string identity = "-";
};

struct PublishState {
    std::vector<ModState> mods;
    std::vector<KeyState> keys;
    std::vector<FileState> files;

    ModState* FindMod(std::string_view folder);
    KeyState* FindKey(std::string_view mod, std::string_view key);
    const FileState* FindFile(std::string_view path) const;
};

inline constexpr const char* kPublishStateName = "publish.state";

// Reads the state strictly: a damaged state could lower versions, so any line that does not
// read is an error ("line 3: ...") and nothing is published.
std::optional<PublishState> ParsePublishState(std::istream& in, std::string& error);
// The state as a file, records in a fixed order.
std::string SerializePublishState(PublishState state);

} // namespace ballotine
