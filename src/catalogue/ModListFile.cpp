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

ModListRead ReadModTable(const std::string& workDir, ModTable& table) {
    auto file = OpenForReading(workDir + kModListFileName);
    if (!file) {
        return ModListRead::NotFound;
    }
    std::string line;
    if (!ReadLine(*file, line) || line != kModHeader) {
        return ModListRead::Invalid;
    }
    table.records.clear();
    table.modListUrl.clear();
    ReadLine(*file, table.modListUrl);
    while (ReadLine(*file, line)) {
        if (line == kEndMarker) {
            break; // what follows is ignored and disappears on the next save
        }
        ModRecord record = ScanRecordLine(line);
        ReadLine(*file, record.title);
        ReadLine(*file, record.baseUrl);
        table.records.push_back(std::move(record));
    }
    return ModListRead::Read;
}

bool LoadModList(Session& session, Prompter& prompter) {
    session.selector.Clear();
    switch (ReadModTable(session.paths.workDir, session.mods)) {
    case ModListRead::NotFound:
        prompter.ShowMessage(kModDataNotFoundMessage);
        return false;
    case ModListRead::Invalid:
        session.mods.records.clear();
        prompter.ShowMessage(kModDataInvalidMessage);
        return false;
    case ModListRead::Read:
        break;
    }
    ModTable& table = session.mods;
    std::size_t preferred = table.records.size();
    for (std::size_t i = 0; i < table.records.size(); ++i) {
        ModRecord& record = table.records[i];
        record.offered = record.version > 0 && !record.dir.empty() &&
                         FolderExists(session.paths.workDir + record.dir);
        if (record.offered) {
            session.selector.Add(record.title);
            if (EqualsNoCase(record.dir, "tfc")) {
                preferred = i;
            }
        }
    }
    if (preferred == table.records.size()) {
        preferred = 0;
    }
    if (preferred < table.records.size()) {
        session.selector.SelectFirstStartingWith(table.records[preferred].title);
    }
    SelectCurrentMod(session);
    return true;
}

std::string ModListText(const ModTable& table) {
    std::string text = std::string(kModHeader) + "\n" + table.modListUrl + "\n";
    for (const ModRecord& record : table.records) {
        text += Format("%s %i\n", record.dir.c_str(), record.version);
        text += record.title + "\n" + record.baseUrl + "\n";
    }
    return text + kEndMarker;
}

bool SaveModList(const Session& session, Prompter& prompter) {
    if (session.paths.workDir.empty() ||
        !WriteFileAtomically(session.paths.workDir + kModListFileName, ModListText(session.mods))) {
        prompter.ShowMessage(kModListSaveFailedMessage);
        return false;
    }
    return true;
}

} // namespace ballotine
