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

// What is wrong with a map record's names; empty when nothing is.
std::string UnsafeMapName(const MapRecord& record) {
    if (!IsPlainName(record.key)) {
        return "key '" + record.key + "'";
    }
    if (record.mapVersion > 0 && !IsPlainName(FileNameOf(record.mapUrl))) {
        return "map package address '" + record.mapUrl + "'";
    }
    if (record.entityVersion != 0 && !IsPlainName(FileNameOf(record.entityUrl))) {
        return "entity package address '" + record.entityUrl + "'";
    }
    return {};
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
    if (list) {
        std::erase_if(list->records, [&](const MapRecord& record) {
            const std::string unsafe = UnsafeMapName(record);
            if (!unsafe.empty()) {
                Note(log, "update.conf: record left out, its " + unsafe + " is not a plain name");
            }
            return !unsafe.empty();
        });
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
