#pragma once

#include "common/LineReader.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// The shape both update lists share: records for as long as `marker` stands where a record
// may begin. A record cut short by the end of the stream is kept, marked incomplete, and ends
// the list. `readRecord` reads the lines after the marker and returns false when the stream
// ended inside them.
template <typename Record, typename ReadRecord>
void ReadMarkedRecords(std::istream& in, std::string_view marker, std::vector<Record>& records,
                       ReadRecord readRecord) {
    std::string line;
    while (ReadLine(in, line) && line == marker) {
        Record& record = records.emplace_back();
        record.complete = readRecord(in, record);
        if (!record.complete) {
            break;
        }
    }
}

// A list file parsed whole; nothing when it cannot be opened.
template <typename Parse>
auto ReadListFile(const std::filesystem::path& file, Parse parse)
    -> std::optional<decltype(parse(std::declval<std::istream&>()))> {
    auto in = OpenForReading(file);
    if (!in) {
        return std::nullopt;
    }
    return parse(*in);
}

} // namespace ballotine
