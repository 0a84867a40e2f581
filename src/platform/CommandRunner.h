#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// Runs one command line through the command interpreter and waits for it.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // The exit status: 0 is success; anything else (a failing command, a command that cannot
    // be found, an interpreter that cannot start) is not. `workingFolder` is the folder the
    // command runs in (empty: the program's own); the program's folder never changes.
    virtual int Run(const std::string& commandLine,
                    const std::filesystem::path& workingFolder = {}) = 0;
};

// Runs commands with /bin/sh -c. The command lines keep their Windows form: "> nul" discards
// output as "> /dev/null" does. The folders given come first on the PATH the command sees,
// so the program's own tools are found before any other program of the same name.
class ShellCommandRunner final : public CommandRunner {
public:
    explicit ShellCommandRunner(std::vector<std::filesystem::path> toolFolders = {});
    int Run(const std::string& commandLine,
            const std::filesystem::path& workingFolder = {}) override;

    // "> nul" and "2> nul" become their /dev/null forms; nothing else changes.
    static std::string MapNullDevice(std::string_view commandLine);

private:
    std::vector<std::filesystem::path> m_toolFolders;
};

// Text to place between double quotes in a command line: the characters the interpreter
// still reads there (\ " $ `) are escaped, so a file name can never run a command.
std::string EscapeForDoubleQuotes(std::string_view text);

// The exit status a runner reports when the interpreter cannot be started.
inline constexpr int kCommandDidNotStart = 127;

} // namespace ballotine
