#include "publish/UpdateListText.h"

namespace ballotine {

namespace {

constexpr const char* kEndMarker = "#END#";
constexpr const char* kNoAddress = "N/A";
constexpr const char* kPaddingNote =
    "Written by ballotine-cli publish. Readers stop at the end marker above; this note only "
    "makes a short list long enough for the client, which takes a list of 256 bytes or less "
    "for an error page.\n"
    "Lists and packages here are made from a source folder: change that and publish again "
    "rather than this file.";

std::string OrNoAddress(const std::string& address) {
    return address.empty() ? kNoAddress : address;
}

void AppendPackage(std::string& text, std::int32_t version, std::int32_t size,
                   const std::string& url, const std::string& mirror, const std::string& title) {
    if (version == 0) {
        text += "0 0\nN/A\nN/A\n\n";
        return;
    }
    text += std::to_string(version) + " " + std::to_string(size) + "\n" + OrNoAddress(url) + "\n" +
            OrNoAddress(mirror) + "\n" + title + "\n";
}

} // namespace

std::string MapUpdateListText(const MapUpdateList& list) {
    std::string text = std::to_string(list.listRevision) + "\n";
    for (const MapRecord& record : list.records) {
        text += std::string(kMapRecordMarker) + "\n" + record.key + " " +
                std::to_string(record.addedRevision) + " " + std::to_string(record.hasVoteData) +
                "\n";
        AppendPackage(text, record.mapVersion, record.mapSize, record.mapUrl, record.mapMirrorUrl,
                      record.mapTitle);
        AppendPackage(text, record.entityVersion, record.entitySize, record.entityUrl,
                      record.entityMirrorUrl, record.entityTitle);
    }
    text += std::string(kEndMarker) + "\n";
    if (text.size() < kSmallestUsableMapList) {
        text += kPaddingNote;
        text += "\n";
    }
    return text;
}

std::string ModUpdateListText(const ModUpdateList& list) {
    std::string text = list.modListUrl + "\n";
    for (const ModUpdateRecord& record : list.records) {
        text += std::string(kModRecordMarker) + "\n" + record.dir + " " +
                std::to_string(record.version) + " " + std::to_string(record.size) + "\n" +
                record.modTitle + "\n" + record.packageTitle + "\n" + record.baseUrl + "\n" +
                record.packageUrl + "\n" + OrNoAddress(record.packageMirrorUrl) + "\n";
    }
    return text + kEndMarker + "\n";
}

} // namespace ballotine
