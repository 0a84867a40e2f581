#include "updates/MapUpdateList.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "updates/RecordList.h"

namespace ballotine {

namespace {

// Reads the lines of one record after its marker; false when the stream ended inside it.
bool ReadMapRecord(std::istream& in, MapRecord& record) {
    std::string line;
    if (!ReadLine(in, line)) {
        return false;
    }
    LineScanner head(line);
    record.key = head.Word().value_or("");
    record.addedRevision = IntOrZero(head.Int());
    record.hasVoteData = IntOrZero(head.Int());

    if (!ReadLine(in, line)) {
        return false;
    }
    LineScanner map(line);
    record.mapVersion = IntOrZero(map.Int());
    record.mapSize = IntOrZero(map.Int());
    if (!ReadLine(in, record.mapUrl) || !ReadLine(in, record.mapMirrorUrl) ||
        !ReadLine(in, record.mapTitle) || !ReadLine(in, line)) {
        return false;
    }
    LineScanner entity(line);
    record.entityVersion = IntOrZero(entity.Int());
    record.entitySize = IntOrZero(entity.Int());
    return ReadLine(in, record.entityUrl) && ReadLine(in, record.entityMirrorUrl) &&
           ReadLine(in, record.entityTitle);
}

} // namespace

MapUpdateList ParseMapUpdateList(std::istream& in) {
    MapUpdateList list;
    std::string line;
    if (!ReadLine(in, line)) {
        return list;
    }
    list.listRevision = IntOrZero(ScanInt(line));
    ReadMarkedRecords(in, kMapRecordMarker, list.records, ReadMapRecord);
    return list;
}

std::optional<MapUpdateList> ReadMapUpdateList(const std::filesystem::path& file) {
    return ReadListFile(file, ParseMapUpdateList);
}

} // namespace ballotine
