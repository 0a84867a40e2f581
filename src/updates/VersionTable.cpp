#include "updates/VersionTable.h"

#include "catalogue/WorkingPaths.h"
#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "common/Text.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <limits>

namespace ballotine {

namespace {

constexpr const char* kEndMarker = "#END#";

// Versions come from lists we do not control; a difference must not overflow.
std::int32_t SaturatedDifference(std::int32_t a, std::int32_t b) {
    const std::int64_t difference = std::int64_t{a} - std::int64_t{b};
    constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(difference < low ? low
                                                      : (difference > high ? high : difference));
}

std::string VersionFilePath(const WorkingPaths& paths) {
    return paths.modWorkDir + kVersionFileName;
}

} // namespace

void VersionTable::Clear() {
    m_entries.clear();
    m_firstByLowerKey.clear();
}

void VersionTable::Append(VersionEntry entry) {
    m_firstByLowerKey.emplace(ToLowerAscii(entry.key), m_entries.size());
    m_entries.push_back(std::move(entry));
}

VersionEntry* VersionTable::Find(std::string_view key) {
    const auto it = m_firstByLowerKey.find(ToLowerAscii(key));
    return it == m_firstByLowerKey.end() ? nullptr : &m_entries[it->second];
}

const VersionEntry* VersionTable::Find(std::string_view key) const {
    return const_cast<VersionTable*>(this)->Find(key);
}

std::int32_t VersionTable::MapVersionGap(std::string_view key, std::int32_t version) const {
    const VersionEntry* entry = Find(key);
    return entry == nullptr ? -1 : SaturatedDifference(entry->mapVersion, version);
}

std::int32_t VersionTable::EntityVersionGap(std::string_view key, std::int32_t version) const {
    const VersionEntry* entry = Find(key);
    return entry == nullptr ? -1 : SaturatedDifference(entry->entityVersion, version);
}

bool LoadVersionTable(VersionTable& table, const WorkingPaths& paths) {
    table.Clear();
    if (paths.modWorkDir.empty()) {
        return false;
    }
    auto in = OpenForReading(VersionFilePath(paths));
    if (!in) {
        return false;
    }
    std::string line;
    if (!ReadLine(*in, line) || line != kVersionFileHeader) {
        return true;
    }
    while (ReadLine(*in, line) && line != kEndMarker) {
        LineScanner scanner(line);
        VersionEntry entry;
        entry.key = scanner.Word().value_or("");
        if (entry.key.empty()) {
            continue; // a blank line names no map; kept, it would come back as a key "0"
        }
        entry.mapVersion = IntOrZero(scanner.Int());
        entry.entityVersion = IntOrZero(scanner.Int());
        table.Append(std::move(entry));
    }
    return true;
}

bool SaveVersionTable(const VersionTable& table, const WorkingPaths& paths) {
    if (paths.modWorkDir.empty()) {
        return false;
    }
    std::string text = std::string(kVersionFileHeader) + "\n";
    for (const VersionEntry& entry : table.Entries()) {
        text += Format("%s %i %i\n", entry.key.c_str(), entry.mapVersion, entry.entityVersion);
    }
    text += kEndMarker;
    return WriteFileAtomically(VersionFilePath(paths), text);
}

bool ScanInstalledMaps(VersionTable& table, const WorkingPaths& paths) {
    if (paths.HasMod()) {
        for (const FolderEntry& file : FindFiles(paths.modDir + "maps" + kSeparator + "*.bsp")) {
            if (file.isFolder || file.name.size() <= 4) {
                continue;
            }
            const std::string key = file.name.substr(0, file.name.size() - 4);
            if (VersionEntry* entry = table.Find(key)) {
                if (entry->mapVersion < 1) {
                    entry->mapVersion = 1;
                }
            } else {
                table.Append(VersionEntry{key, 1, 0});
            }
        }
    }
    return SaveVersionTable(table, paths);
}

std::string FileNameOf(std::string_view text) {
    return std::string(LastPathComponent(text));
}

} // namespace ballotine
