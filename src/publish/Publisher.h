#pragma once

#include "publish/PublishPlan.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ballotine {

// ballotine-cli publish: a folder laid out like a game's mod folders becomes a static update
// server that the update road reads.
struct PublishRequest {
    std::filesystem::path source;
    std::filesystem::path dest;
    std::string baseUrl; // where DEST will be served
    // The mod folders to publish; empty: every folder of SOURCE with maps/ or Entities/, and
    // every mod publish.conf gives a mod package. DEST then holds these mods and no others.
    std::vector<std::string> mods;
};

enum class PackageChange { New, Changed, Unchanged };

struct PackageOutcome {
    std::string path; // below DEST
    std::string kind; // "map", "entities", "votedata" or "mod"
    std::int32_t version = 0;
    std::uint64_t size = 0;
    PackageChange change = PackageChange::Unchanged;
};

struct ListOutcome {
    std::string path; // below DEST
    bool changed = false;
};

struct PublishReport {
    std::string error; // what stopped the publish; DEST is then as it was
    std::vector<std::string> warnings;
    std::vector<MissingFile> missing;
    std::vector<PackageOutcome> packages;
    std::vector<ListOutcome> lists;
    std::vector<std::string> removed; // files the server no longer offers, deleted
    int maps = 0;                     // map keys listed

    bool Succeeded() const { return error.empty(); }
};

// Publishes SOURCE into DEST. Packages are written first and the lists last, each put in
// place by a rename, so a reader sees the old lists or the new ones; nothing changes in DEST
// when the publish fails, and nothing at all when the tree did not change since the last one.
PublishReport Publish(const PublishRequest& request);

} // namespace ballotine
