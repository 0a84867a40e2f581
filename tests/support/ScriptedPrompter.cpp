#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace ballotine::test {

void ScriptedPrompter::ShowMessage(std::string_view text) {
    m_transcript.emplace_back(text);
    if (m_onMessage) {
        m_onMessage(text);
    }
}

bool ScriptedPrompter::AskBeforeAbandoning(std::string_view question) {
    m_abandoning.emplace_back(question);
    return AskYesNo(question);
}

bool ScriptedPrompter::AskYesNo(std::string_view question) {
    m_transcript.push_back("? " + std::string(question));
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << question;
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::NextFileAnswer(const FileDialogRequest& request) {
    m_dialogs.push_back(request);
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title;
        return std::nullopt;
    }
    auto file = m_files.front();
    m_files.pop_front();
    return file;
}

std::optional<std::string> ScriptedPrompter::ChooseFileToOpen(const FileDialogRequest& request) {
    return NextFileAnswer(request);
}

std::optional<std::string> ScriptedPrompter::ChooseFileToSave(const FileDialogRequest& request) {
    return NextFileAnswer(request);
}

void ScriptedPrompter::SetBusy(bool busy) {
    m_busyDepth += busy ? 1 : -1;
    m_busyCount += busy ? 1 : 0;
}

std::vector<std::string> ScriptedPrompter::Entries(bool questions) const {
    std::vector<std::string> entries;
    for (const std::string& entry : m_transcript) {
        if ((entry.rfind("? ", 0) == 0) == questions) {
            entries.push_back(questions ? entry.substr(2) : entry);
        }
    }
    return entries;
}

} // namespace ballotine::test
