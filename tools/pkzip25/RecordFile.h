#pragma once

#include "pkzip25/ChangeGate.h"
#include "pkzip25/FileDescriptor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine::pkzip25 {

// The file that holds a run's record in the target folder, locked (flock) for as long as
// its run lives: a record nobody holds is the leftover of a killed run.
class RecordFile {
public:
    // Creates the record `name` in the open folder `root` with `text`, locked.
    bool Create(int root, std::string name, std::string_view text, const ChangeGate& gate,
                std::string& reason);

    // A record left by a killed run, locked now by this process, with its text; nothing
    // when its run is still alive (or it went away).
    static std::optional<RecordFile> Claim(int root, std::string name, std::string& text);

    bool Append(std::string_view text, const ChangeGate& gate, std::string& reason);
    // Removes the record; it stays locked until this object goes away.
    bool Remove(const ChangeGate& gate, std::string& reason);

    bool IsOpen() const { return m_fd.IsOpen(); }

private:
    int m_root = -1;
    std::string m_name;
    FileDescriptor m_fd;
    std::int64_t m_size = 0;
};

} // namespace ballotine::pkzip25
