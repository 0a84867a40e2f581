#include "install/InstallLog.h"

#include "common/Text.h"

#include <cstdarg>

namespace ballotine {

bool InstallLog::Open(const std::filesystem::path& file) {
    m_file.reset();
    if (file.empty()) {
        return false;
    }
    m_file.emplace(file);
    if (!m_file->IsOpen()) {
        m_file.reset();
        return false;
    }
    return true;
}

void InstallLog::Write(std::string_view text) {
    if (m_file) {
        m_file->Write(text);
    }
}

void InstallLog::WriteFormat(const char* format, ...) {
    if (!m_file) {
        return;
    }
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    m_file->Write(text);
}

bool InstallLog::Close() {
    if (!m_file) {
        return false;
    }
    const bool written = m_file->Commit();
    m_file.reset();
    return written;
}

} // namespace ballotine
