#include "platform/CommandRunner.h"

#include "common/Text.h"

#include <cerrno>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace ballotine {
namespace fs = std::filesystem;

namespace {

bool IsWordEnd(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return true;
    }
    const char c = text[pos];
    return c == ' ' || c == '\t' || c == ';' || c == '&' || c == '|' || c == ')';
}

// The environment of the child: ours, with the tool folders in front of PATH.
std::vector<std::string> ChildEnvironment(const std::vector<fs::path>& toolFolders) {
    std::vector<std::string> environment;
    std::string path;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string_view text(*entry);
        if (text.substr(0, 5) == "PATH=") {
            path = std::string(text.substr(5));
        } else {
            environment.emplace_back(text);
        }
    }
    std::string prefix;
    for (const fs::path& folder : toolFolders) {
        prefix += folder.string() + ":";
    }
    environment.push_back("PATH=" + prefix +
                          (path.empty() ? "/usr/local/bin:/usr/bin:/bin" : path));
    return environment;
}

} // namespace

std::string EscapeForDoubleQuotes(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '"' || c == '$' || c == '`') {
            escaped += '\\';
        }
        escaped += c;
    }
    return escaped;
}

ShellCommandRunner::ShellCommandRunner(std::vector<fs::path> toolFolders)
    : m_toolFolders(std::move(toolFolders)) {}

std::string ShellCommandRunner::MapNullDevice(std::string_view commandLine) {
    std::string mapped;
    mapped.reserve(commandLine.size() + 16);
    std::size_t i = 0;
    while (i < commandLine.size()) {
        if (commandLine[i] == '>') {
            std::size_t j = i + 1;
            while (j < commandLine.size() && (commandLine[j] == ' ' || commandLine[j] == '\t')) {
                ++j;
            }
            if (EqualsNoCase(commandLine.substr(j, 3), "nul") && IsWordEnd(commandLine, j + 3)) {
                mapped += commandLine.substr(i, j - i);
                mapped += "/dev/null";
                i = j + 3;
                continue;
            }
        }
        mapped += commandLine[i++];
    }
    return mapped;
}

int ShellCommandRunner::Run(const std::string& commandLine, const fs::path& workingFolder) {
    const std::string command = MapNullDevice(commandLine);
    std::vector<std::string> environment = ChildEnvironment(m_toolFolders);
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    std::string shell = "/bin/sh";
    std::string dashC = "-c";
    std::string commandCopy = command;
    char* argv[] = {shell.data(), dashC.data(), commandCopy.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    }
    pid_t child = 0;
    const int spawned = posix_spawn(&child, shell.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return kCommandDidNotStart;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return kCommandDidNotStart;
        }
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : kCommandDidNotStart;
}

} // namespace ballotine
