#include "updates/ModUpdateList.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "platform/FileSystem.h"

namespace ballotine {

namespace {

// Reads the lines of one record after its marker; false when the stream ended inside it.
bool ReadModRecord(std::istream& in, ModUpdateRecord& record) {
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    LineScanner head(line);
    record.dir = head.Word().value_or("");
    record.version = IntOrZero(head.Int());
    record.size = IntOrZero(head.Int());
    return ReadLine(in, record.modTitle) && ReadLine(in, record.packageTitle) &&
           ReadLine(in, record.baseUrl) && ReadLine(in, record.packageUrl) &&
           ReadLine(in, record.packageMirrorUrl);
}

} // namespace

ModUpdateList ParseModUpdateList(std::istream& in) {
    ModUpdateList list;
    std::string line;
    if (!ReadLine(in, list.modListUrl)) {
        return list;
    }
    while (ReadLine(in, line) && line == kModRecordMarker) {
        ModUpdateRecord record;
        record.complete = ReadModRecord(in, record);
        list.records.push_back(std::move(record));
        if (!list.records.back().complete) {
            break;
        }
    }
    return list;
}

std::optional<ModUpdateList> ReadModUpdateList(const std::filesystem::path& file) {
    auto in = OpenForReading(file);
    if (!in) {
        return std::nullopt;
    }
    return ParseModUpdateList(*in);
}

} // namespace ballotine
