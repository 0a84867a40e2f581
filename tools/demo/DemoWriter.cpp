#include "demo/DemoWriter.h"

#include <fstream>
#include <system_error>

namespace ballotine::demo {
namespace fs = std::filesystem;

void DemoWriter::Fail(std::string message) {
    if (m_error.empty()) {
        m_error = std::move(message);
    }
}

void DemoWriter::Folder(std::string_view relative) {
    std::error_code error;
    fs::create_directories(m_root / relative, error);
    if (error) {
        Fail("cannot create " + (m_root / relative).string() + ": " + error.message());
    }
}

void DemoWriter::Bytes(std::string_view relative, std::string_view content) {
    const fs::path target = m_root / relative;
    Folder(fs::path(relative).parent_path().string());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out.good()) {
        Fail("cannot write " + target.string());
    }
}

void DemoWriter::Text(std::string_view relative, std::string_view content) {
    Bytes(relative, content);
}

void DemoWriter::CopyProgram(const fs::path& from, std::string_view relative) {
    const fs::path target = m_root / relative;
    Folder(fs::path(relative).parent_path().string());
    std::error_code error;
    fs::copy_file(from, target, fs::copy_options::overwrite_existing, error);
    if (error) {
        Fail("cannot copy " + from.string() + " to " + target.string() + ": " + error.message());
    }
}

} // namespace ballotine::demo
