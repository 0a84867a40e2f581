#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

class Prompter;

inline constexpr const char* kGameLockFileName = "ballotine.lock";

// Who holds a game's writer lock, as its record says.
struct LockHolder {
    long pid = 0;
    std::string program;   // e.g. "ballotine-cli"
    std::string operation; // e.g. "updates"
    std::string started;   // the holder's start time, telling it from an earlier process of its id

    // "ballotine-cli (process 4242, updates)"; "another Ballotine program" without a record.
    std::string Describe() const;
};

// One writer at a time per game: an advisory lock (flock) on "ballotine.lock" in the game's
// Ballotine folder, held for the object's lifetime. Every operation that writes the game's or
// Ballotine's files takes it, in the window and on the command line, so two runs never write
// one file at once or save tables read before the other's changes.
//
// While held, the file names the holder (process id, program, operation), for the message the
// next writer sees. A process that already holds the lock takes it again at once, as an inner
// operation of the outer one: only the outer object releases it. A working folder that does
// not exist or where no file can be made gives a lock that holds nothing: there is nothing of
// Ballotine's there to protect, and the operation fails on its own terms.
class GameLock {
public:
    // Takes the lock without waiting; nothing when another process holds it, `holder` (when
    // given) then says who.
    static std::optional<GameLock> TryTake(const std::filesystem::path& workDir,
                                           std::string_view operation,
                                           LockHolder* holder = nullptr);

    GameLock(GameLock&& other) noexcept;
    GameLock& operator=(GameLock&& other) noexcept;
    GameLock(const GameLock&) = delete;
    GameLock& operator=(const GameLock&) = delete;
    ~GameLock();

    // Whether this object released the lock when it goes (false for an inner or empty one).
    bool Holds() const { return m_fd >= 0; }

private:
    explicit GameLock(int fd) : m_fd(fd) {}
    void Release();

    int m_fd = -1;
};

// The one entry point of every writing operation: takes the writer lock of the game whose
// working folder is `workDir` for `operation` (a short word the next writer is shown, e.g.
// "compile"). While another program holds it, `prompter` decides whether to try again (the
// window asks, the terminal waits up to its limit). Nothing when it gave up: the user has been
// told who holds the lock, and the operation must not write.
std::optional<GameLock> LockGameForWriting(const std::filesystem::path& workDir,
                                           std::string_view operation, Prompter& prompter);

} // namespace ballotine
