#pragma once

#include "platform/AtomicFile.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace ballotine {

// The installation report ("update.log") while an installation run is in progress. Outside a
// run it is closed and every write is dropped, so the placement, extraction and clean-up steps
// can be used without a report.
//
// The report is written line by line into a file beside the target and takes the target's
// place when the run closes it: a run that dies half-way leaves the previous report whole
// rather than a cut one, and a report that cannot be written never replaces it.
class InstallLog {
public:
    // Starts a new report; false when it cannot be created (the log stays closed).
    bool Open(const std::filesystem::path& file);
    bool IsOpen() const { return m_file.has_value(); }
    void Write(std::string_view text);
    void WriteFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Puts the report in place and closes the log; false when it could not be written.
    bool Close();

private:
    std::optional<AtomicFile> m_file;
};

} // namespace ballotine
