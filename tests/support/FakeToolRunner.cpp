#include "support/FakeToolRunner.h"

namespace ballotine::test {

std::string FakeToolRunner::Call::Line() const {
    std::string line = program;
    for (const std::string& argument : arguments) {
        line += " " + argument;
    }
    return line;
}

ToolRun FakeToolRunner::RunTool(const std::filesystem::path& program,
                                const std::vector<std::string>& arguments,
                                const std::filesystem::path& workingFolder) {
    m_calls.push_back(Call{program.string(), arguments, workingFolder, false});
    if (m_real != nullptr) {
        return m_real->RunTool(program, arguments, workingFolder);
    }
    ToolRun run;
    run.program = program.string();
    run.code = m_action ? m_action(m_calls.back()) : m_status;
    run.outcome = run.code == 0 ? ToolOutcome::Succeeded : ToolOutcome::Failed;
    run.output = m_output;
    return run;
}

bool FakeToolRunner::StartDetached(const std::filesystem::path& program,
                                   const std::vector<std::string>& arguments) {
    m_calls.push_back(Call{program.string(), arguments, {}, true});
    return m_detachedStarts;
}

} // namespace ballotine::test
