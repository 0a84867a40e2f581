#include "updates/ModUpdateList.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "updates/RecordList.h"

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
    if (!ReadLine(in, list.modListUrl)) {
        return list;
    }
    ReadMarkedRecords(in, kModRecordMarker, list.records, ReadModRecord);
    return list;
}

std::optional<ModUpdateList> ReadModUpdateList(const std::filesystem::path& file) {
    return ReadListFile(file, ParseModUpdateList);
}

} // namespace ballotine
