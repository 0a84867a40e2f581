#include "platform/ToolRunner.h"

#include "common/Text.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ballotine {
namespace fs = std::filesystem;

namespace {

// Enough to show why a tool failed; a chatty tool's earlier output is dropped.
constexpr std::size_t kKeptOutput = 64 * 1024;
// How many of the tool's last lines a failure reason shows.
constexpr std::size_t kReasonLines = 8;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return m_fd; }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd;
};

// What the child does between its start and the program: its standard streams and folder.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    void Open(int fd, const char* path, int flags) {
        posix_spawn_file_actions_addopen(&m_actions, fd, path, flags, 0);
    }
    void Duplicate(int from, int to) { posix_spawn_file_actions_adddup2(&m_actions, from, to); }
    void EnterFolder(const fs::path& folder) {
        posix_spawn_file_actions_addchdir_np(&m_actions, folder.c_str());
    }
    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&m_attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    void StartNewSession() { posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSID); }
    const posix_spawnattr_t* Get() const { return &m_attributes; }

private:
    posix_spawnattr_t m_attributes;
};

// Texts kept alive for the null-terminated pointer arrays posix_spawn takes.
class TextArray {
public:
    void Add(std::string text) { m_texts.push_back(std::move(text)); }
    char* const* Get() {
        m_pointers.clear();
        for (std::string& text : m_texts) {
            m_pointers.push_back(text.data());
        }
        m_pointers.push_back(nullptr);
        return m_pointers.data();
    }

private:
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
};

// The PATH the tools are looked for on and see: the tool folders, then ours.
std::string ToolSearchPath(const std::vector<fs::path>& toolFolders) {
    std::string path;
    for (const fs::path& folder : toolFolders) {
        path += folder.string() + ":";
    }
    const char* inherited = std::getenv("PATH");
    return path + (inherited != nullptr && *inherited != '\0' ? inherited
                                                              : "/usr/local/bin:/usr/bin:/bin");
}

// Our environment with that PATH.
TextArray ChildEnvironment(const std::string& searchPath) {
    TextArray environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        if (!std::string_view(*entry).starts_with("PATH=")) {
            environment.Add(*entry);
        }
    }
    environment.Add("PATH=" + searchPath);
    return environment;
}

TextArray ArgumentVector(const fs::path& program, const std::vector<std::string>& arguments) {
    TextArray argv;
    argv.Add(program.string());
    for (const std::string& argument : arguments) {
        argv.Add(argument);
    }
    return argv;
}

bool IsExecutableFile(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

// A name without "/" is looked for on the search path, as a shell would.
std::optional<fs::path> FindProgram(const fs::path& program, std::string_view searchPath) {
    if (program.string().find('/') != std::string::npos) {
        return program;
    }
    while (!searchPath.empty()) {
        const std::size_t end = std::min(searchPath.find(':'), searchPath.size());
        const std::string_view folder = searchPath.substr(0, end);
        searchPath.remove_prefix(std::min(end + 1, searchPath.size()));
        if (!folder.empty() && IsExecutableFile(fs::path(folder) / program)) {
            return fs::path(folder) / program;
        }
    }
    return std::nullopt;
}

std::string ReadToEnd(int fd) {
    std::string output;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        output.append(buffer, static_cast<std::size_t>(got));
        if (output.size() > 2 * kKeptOutput) {
            output.erase(0, output.size() - kKeptOutput);
        }
    }
    if (output.size() > kKeptOutput) {
        output.erase(0, output.size() - kKeptOutput);
    }
    return output;
}

// The child's wait status; nothing when it cannot be had.
std::optional<int> WaitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return std::nullopt;
        }
    }
    return status;
}

void SetEnding(ToolRun& run, std::optional<int> status) {
    if (status && WIFEXITED(*status)) {
        run.code = WEXITSTATUS(*status);
        run.outcome = run.code == 0 ? ToolOutcome::Succeeded : ToolOutcome::Failed;
    } else if (status && WIFSIGNALED(*status)) {
        run.code = WTERMSIG(*status);
        run.outcome = ToolOutcome::Killed;
    } else {
        run.code = -1;
        run.outcome = ToolOutcome::Failed;
    }
}

// The last `count` lines of `text`, without blank lines around them.
std::string LastLines(std::string_view text, std::size_t count) {
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    if (end == std::string_view::npos) {
        return {};
    }
    text = text.substr(0, end + 1);
    std::size_t from = 0;
    std::size_t searchEnd = text.size();
    for (std::size_t lines = 1; lines <= count && searchEnd > 0; ++lines) {
        const std::size_t newline = text.rfind('\n', searchEnd - 1);
        if (newline == std::string_view::npos) {
            break;
        }
        if (lines == count) {
            from = newline + 1;
        }
        searchEnd = newline;
    }
    text.remove_prefix(std::min(text.find_first_not_of("\r\n", from), text.size()));
    return std::string(text);
}

} // namespace

std::string ToolRun::FailureReason() const {
    if (Succeeded()) {
        return {};
    }
    std::string said = LastLines(output, kReasonLines);
    if (!said.empty()) {
        return said;
    }
    switch (outcome) {
    case ToolOutcome::DidNotStart:
        return program +
               " could not be started: " + std::error_code(code, std::generic_category()).message();
    case ToolOutcome::Killed:
        return Format("%s was ended by signal %i", program.c_str(), code);
    case ToolOutcome::Failed:
    case ToolOutcome::Succeeded:
        break;
    }
    return Format("%s ended with exit status %i", program.c_str(), code);
}

std::string WithFailureReason(std::string_view message, const ToolRun& run) {
    const std::string reason = run.FailureReason();
    return reason.empty() ? std::string(message) : std::string(message) + "\n\n" + reason;
}

SpawnToolRunner::SpawnToolRunner(std::vector<fs::path> toolFolders)
    : m_toolFolders(std::move(toolFolders)) {}

ToolRun SpawnToolRunner::RunTool(const fs::path& program, const std::vector<std::string>& arguments,
                                 const fs::path& workingFolder) {
    ToolRun run;
    run.program = program.string();
    const std::string searchPath = ToolSearchPath(m_toolFolders);
    const std::optional<fs::path> found = FindProgram(program, searchPath);
    if (!found) {
        run.code = ENOENT;
        return run;
    }
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        run.code = errno;
        return run;
    }
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    SpawnActions actions;
    actions.Open(STDIN_FILENO, "/dev/null", O_RDONLY); // a tool never waits for the terminal
    actions.Duplicate(writeEnd.Get(), STDOUT_FILENO);
    actions.Duplicate(writeEnd.Get(), STDERR_FILENO);
    if (!workingFolder.empty()) {
        actions.EnterFolder(workingFolder);
    }
    TextArray argv = ArgumentVector(program, arguments);
    TextArray environment = ChildEnvironment(searchPath);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, found->c_str(), actions.Get(), nullptr, argv.Get(),
                                      environment.Get());
    writeEnd.Close(); // the tool's end: reading stops when the tool closes its own copies
    if (spawned != 0) {
        run.code = spawned;
        return run;
    }
    run.output = ReadToEnd(readEnd.Get());
    SetEnding(run, WaitFor(child));
    return run;
}

bool SpawnToolRunner::StartDetached(const fs::path& program,
                                    const std::vector<std::string>& arguments) {
    const std::string searchPath = ToolSearchPath(m_toolFolders);
    const std::optional<fs::path> found = FindProgram(program, searchPath);
    if (!found) {
        return false;
    }
    SpawnActions actions;
    actions.Open(STDIN_FILENO, "/dev/null", O_RDONLY);
    actions.Open(STDOUT_FILENO, "/dev/null", O_WRONLY);
    actions.Open(STDERR_FILENO, "/dev/null", O_WRONLY);
    // Its own session: closing our terminal or a Ctrl-C there leaves it open.
    SpawnAttributes attributes;
    attributes.StartNewSession();
    TextArray argv = ArgumentVector(program, arguments);
    TextArray environment = ChildEnvironment(searchPath);
    pid_t child = 0;
    if (::posix_spawn(&child, found->c_str(), actions.Get(), attributes.Get(), argv.Get(),
                      environment.Get()) != 0) {
        return false;
    }
    // Nobody waits for it, so a thread of its own collects its end; no zombie stays behind.
    try {
        std::thread([child] { WaitFor(child); }).detach();
    } catch (const std::system_error&) {
        // without a thread the ended viewer lingers as a zombie until we end; nothing breaks
    }
    return true;
}

} // namespace ballotine
