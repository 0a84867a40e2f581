#include "catalogue/ModListFile.h"

#include "catalogue/Session.h"
#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "common/Text.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/Prompter.h"

namespace ballotine {

namespace {

// A record line: the folder word and the version ("%s %i"); what does not scan stays empty
// or 0.
ModRecord ScanRecordLine(const std::string& line) {
    ModRecord record;
    LineScanner scanner(line);
    record.dir = scanner.Word().value_or("");
    record.version = IntOrZero(scanner.Int());
    return record;
}

} // namespace

bool LoadModList(Session& session, Prompter& prompter) {
    session.selector.Clear();
    auto file = OpenForReading(session.paths.workDir + kModListFileName);
    if (!file) {
        prompter.ShowMessage(kModDataNotFoundMessage);
        return false;
    }
    ModTable& table = session.mods;
    table.records.clear();
    std::size_t preferred = 0;

    std::string line;
    if (!ReadLine(*file, line) || line != kModHeader) {
        prompter.ShowMessage(kModDataInvalidMessage);
        return false;
    }
    table.modListUrl.clear();
    ReadLine(*file, table.modListUrl);

    while (ReadLine(*file, line)) {
        if (line == kEndMarker) {
            break; // what follows is ignored and disappears on the next save
        }
        ModRecord record = ScanRecordLine(line);
        ReadLine(*file, record.title);
        ReadLine(*file, record.baseUrl);
        record.offered = record.version > 0 && !record.dir.empty() &&
                         FolderExists(session.paths.workDir + record.dir);
        if (record.offered) {
            session.selector.Add(record.title);
            if (EqualsNoCase(record.dir, "tfc")) {
                preferred = table.records.size();
            }
        }
        table.records.push_back(std::move(record));
    }

    if (preferred < table.records.size()) {
        session.selector.SelectFirstStartingWith(table.records[preferred].title);
    }
    SelectCurrentMod(session);
    return true;
}

bool SaveModList(const Session& session, Prompter& prompter) {
    const ModTable& table = session.mods;
    std::string text = std::string(kModHeader) + "\n" + table.modListUrl + "\n";
    for (const ModRecord& record : table.records) {
        text += Format("%s %i\n", record.dir.c_str(), record.version);
        text += record.title + "\n" + record.baseUrl + "\n";
    }
    text += kEndMarker;
    if (session.paths.workDir.empty() ||
        !WriteFileAtomically(session.paths.workDir + kModListFileName, text)) {
        prompter.ShowMessage(kModListSaveFailedMessage);
        return false;
    }
    return true;
}

} // namespace ballotine
