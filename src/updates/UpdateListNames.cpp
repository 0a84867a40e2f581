#include "updates/UpdateListNames.h"

#include "common/Text.h"
#include "updates/VersionTable.h"

#include <algorithm>

namespace ballotine {

namespace {

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

void Note(const DebugLog& log, const std::string& text) {
    if (log) {
        log(text);
    }
}

// What is wrong with a map record's key, which names files of its own (its vote sprite, its
// vote data package) and its line in the version record; empty when nothing is.
std::string UnsafeMapKey(const MapRecord& record) {
    if (!IsPlainName(record.key)) {
        return "its key '" + record.key + "' is not a plain name";
    }
    if (record.key.size() > kLongestListKey) {
        return Format("its key '%s' is longer than %zu characters", record.key.c_str(),
                      kLongestListKey);
    }
    return {};
}

// Takes a package whose address names no plain file out of the record: the record's other
// package and its vote data stay offered.
void DropUnsafePackage(std::int32_t& version, const std::string& url, const char* kind,
                       const MapRecord& record, const DebugLog& log) {
    if (version != 0 && !IsPlainName(FileNameOf(url))) {
        Note(log, "update.conf: " + std::string(kind) + " package of '" + record.key +
                      "' left out, its address '" + url + "' names no plain file");
        version = 0;
    }
}

} // namespace

std::optional<std::string> ListedAddress(std::string_view text) {
    if (text.empty() || EqualsNoCase(text, "N/A")) {
        return std::nullopt;
    }
    return std::string(text);
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos &&
           std::none_of(name.begin(), name.end(), IsControl);
}

std::optional<MapUpdateList> ReadCheckedMapUpdateList(const std::filesystem::path& file,
                                                      const DebugLog& log) {
    auto list = ReadMapUpdateList(file);
    if (!list) {
        return list;
    }
    std::erase_if(list->records, [&](const MapRecord& record) {
        const std::string unsafe = UnsafeMapKey(record);
        if (!unsafe.empty()) {
            Note(log, "update.conf: record left out, " + unsafe);
        }
        return !unsafe.empty();
    });
    for (MapRecord& record : list->records) {
        if (record.mapVersion > 0) {
            DropUnsafePackage(record.mapVersion, record.mapUrl, "map", record, log);
        }
        DropUnsafePackage(record.entityVersion, record.entityUrl, "entity", record, log);
    }
    return list;
}

std::optional<ModUpdateList> ReadCheckedModUpdateList(const std::filesystem::path& file,
                                                      const DebugLog& log) {
    auto list = ReadModUpdateList(file);
    if (list) {
        std::erase_if(list->records, [&](const ModUpdateRecord& record) {
            if (!record.complete) {
                Note(log,
                     "modsupdate.cfg: record of '" + record.dir + "' left out, it is cut short");
                return true;
            }
            if (!IsPlainName(record.dir)) {
                Note(log, "modsupdate.cfg: record left out, its folder name '" + record.dir +
                              "' is not a plain name");
                return true;
            }
            return false;
        });
    }
    return list;
}

} // namespace ballotine
