#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ballotine::test {

// A fresh folder below the system's temporary folder, removed with everything in it when the
// object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of `relative` below the folder, as a string (what the core's paths are).
    std::string operator/(std::string_view relative) const;

private:
    std::filesystem::path m_path;
};

// Writes a file (creating its folders) with exactly these bytes.
void WriteFile(const std::filesystem::path& path, std::string_view content);
// The whole file's bytes; fails the test when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// A fixture file of tests/data.
std::filesystem::path TestDataPath(std::string_view name);
// A program built by the project (ripent, pkzip25, ballotine-cli, ...).
std::filesystem::path BuiltProgram(std::string_view name);

// What a shell command printed on standard output, and its exit status (-1 when it did not
// end by itself).
struct ShellRun {
    int status = -1;
    std::string out;
};
ShellRun RunShell(const std::string& command);
// The word in single quotes, as the shell takes it whatever it holds.
std::string ShellQuoted(std::string_view word);

} // namespace ballotine::test
