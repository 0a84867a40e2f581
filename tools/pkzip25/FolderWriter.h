#pragma once

#include "pkzip25/ChangeGate.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/FolderWalk.h"
#include "pkzip25/RecordFile.h"
#include "pkzip25/WorkRecord.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ballotine::pkzip25 {

// Writes the entries of one archive into the target folder, all or nothing.
//
// Before its first change it writes the run's record into the target (see WorkRecord). Each
// file is then written whole under its work name in its own folder; only when every entry has
// been written does `Commit` rename them: the file a name holds is first kept aside, then the
// new one takes the name. Any failure before the last rename, or a writer that goes away
// uncommitted, puts every kept file back and removes what the run made, so the target is as
// it was; a killed run leaves its record for the next run to do the same.
// Folders below the target are opened one component at a time without following links.
class FolderWriter {
public:
    explicit FolderWriter(ChangeGate gate) : m_gate(std::move(gate)) {}
    ~FolderWriter();
    FolderWriter(const FolderWriter&) = delete;
    FolderWriter& operator=(const FolderWriter&) = delete;

    // Opens the target folder, making it (and missing parents) when needed, and writes the
    // run's record: the folders it will make below the target and the files it will write.
    bool Begin(const std::filesystem::path& target, std::vector<std::string> newFolders,
               std::vector<WorkRecord::File> files, std::string& reason);

    // Makes a folder below the target ("/"-separated; empty is the target itself).
    bool MakeFolder(const std::string& folder, std::string& reason);

    // Fills the new content of the record's file `index` through `fill`, which writes it to
    // the descriptor it is given. `executable` gives 0755 instead of 0644 (before the umask).
    using Filler = std::function<bool(int fd, std::string& reason)>;
    bool StageFile(std::size_t index, bool executable, std::optional<std::int64_t> modified,
                   const Filler& fill, std::string& reason);

    // Gives every file its name, replacing what is there (a link is replaced, not followed).
    bool Commit(std::string& reason);

    // Undoes an uncommitted run. With a reason already given, adds to it when something
    // could not be undone and stays for the next run.
    void Abandon(std::string& reason);

private:
    bool Allowed(Change change, std::string_view what) const;
    bool MakeTargetFolders(const std::filesystem::path& target, std::string& reason);
    bool RenameEach(std::string& reason);
    void CleanUp();

    ChangeGate m_gate;
    FileDescriptor m_root;
    std::optional<FolderCursor> m_cursor;
    WorkRecord m_record;
    RecordFile m_recordFile;
    bool m_finished = false; // committed, or undone
};

} // namespace ballotine::pkzip25
