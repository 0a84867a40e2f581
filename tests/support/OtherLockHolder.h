#pragma once

#include "platform/GameLock.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ballotine::test {

// Another process that holds the writer lock of a working folder until Release() or the
// object goes away.
class OtherLockHolder {
public:
    OtherLockHolder(const std::filesystem::path& workDir, const char* operation) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        EXPECT_EQ(::pipe(m_release), 0);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(m_release[1]); // the read below ends when the test closes its end
            const auto lock = GameLock::TryTake(workDir, operation);
            const char said = lock && lock->Holds() ? 'y' : 'n';
            (void)::write(ready[1], &said, 1);
            char ignored = 0;
            (void)::read(m_release[0], &ignored, 1);
            ::_exit(0);
        }
        char said = 0;
        EXPECT_EQ(::read(ready[0], &said, 1), 1);
        EXPECT_EQ(said, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherLockHolder() { Release(); }
    OtherLockHolder(const OtherLockHolder&) = delete;
    OtherLockHolder& operator=(const OtherLockHolder&) = delete;

    void Release() {
        if (m_pid > 0) {
            ::close(m_release[1]);
            ::close(m_release[0]);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_release[2] = {-1, -1};
};

} // namespace ballotine::test
