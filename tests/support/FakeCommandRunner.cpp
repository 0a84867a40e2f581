#include "support/FakeCommandRunner.h"

namespace ballotine::test {

int FakeCommandRunner::Run(const std::string& commandLine,
                           const std::filesystem::path& workingFolder) {
    m_calls.push_back(Call{commandLine, workingFolder});
    return m_action ? m_action(m_calls.back()) : m_status;
}

} // namespace ballotine::test
