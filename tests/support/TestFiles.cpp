#include "support/TestFiles.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <system_error>

namespace ballotine::test {
namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "ballotine-test-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) {
        ADD_FAILURE() << "cannot create a temporary folder";
        return;
    }
    m_path = made;
}

TempDir::~TempDir() {
    std::error_code error;
    if (!m_path.empty()) {
        // folders a test made read-only must become writable again to be removed
        for (auto it = fs::recursive_directory_iterator(m_path, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
            }
        }
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_path, error);
    }
}

std::string TempDir::operator/(std::string_view relative) const {
    return (m_path / relative).string();
}

void WriteFile(const fs::path& path, std::string_view content) {
    std::error_code error;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), error);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << "cannot read " << path;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

fs::path TestDataPath(std::string_view name) {
    return fs::path(BALLOTINE_TEST_DATA_DIR) / name;
}

fs::path BuiltProgram(std::string_view name) {
    return fs::path(BALLOTINE_BIN_DIR) / name;
}

ShellRun RunShell(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return run;
    }
    std::array<char, 4096> chunk{};
    for (std::size_t got; (got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) {
        run.out.append(chunk.data(), got);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string ShellQuoted(std::string_view word) {
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace ballotine::test
