#pragma once

#include "platform/Prompter.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ballotine::test {

// A prompter for tests: records every text shown or asked, answers questions and file dialogs
// from scripts. A question or dialog without a scripted answer fails the test.
class ScriptedPrompter final : public Prompter {
public:
    // Answers for the next questions, in order.
    void AnswerYes() { m_answers.push_back(true); }
    void AnswerNo() { m_answers.push_back(false); }
    // The file the next dialog returns; nullopt-like cancel with CancelNextFile().
    void NextFile(std::string path) { m_files.emplace_back(std::move(path)); }
    void CancelNextFile() { m_files.emplace_back(std::nullopt); }

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view question) override;
    // Recorded as a question, and in AbandonQuestions().
    bool AskBeforeAbandoning(std::string_view question) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    void SetBusy(bool busy) override;

    // Everything shown, in order: messages as they are, questions prefixed with "? ".
    const std::vector<std::string>& Transcript() const { return m_transcript; }
    std::vector<std::string> Messages() const { return Entries(false); }
    std::vector<std::string> Questions() const { return Entries(true); }
    const std::vector<FileDialogRequest>& FileDialogs() const { return m_dialogs; }
    int BusyDepth() const { return m_busyDepth; }
    int BusyCount() const { return m_busyCount; }
    void Forget() { m_transcript.clear(); }
    // The questions asked as ones whose Yes throws work away.
    const std::vector<std::string>& AbandonQuestions() const { return m_abandoning; }
    // Called with each message as it is shown (to see the window at that moment).
    void OnMessage(std::function<void(std::string_view)> hook) { m_onMessage = std::move(hook); }

private:
    std::optional<std::string> NextFileAnswer(const FileDialogRequest& request);
    std::vector<std::string> Entries(bool questions) const;

    std::deque<bool> m_answers;
    std::deque<std::optional<std::string>> m_files;
    std::vector<std::string> m_transcript;
    std::vector<FileDialogRequest> m_dialogs;
    std::vector<std::string> m_abandoning;
    std::function<void(std::string_view)> m_onMessage;
    int m_busyDepth = 0;
    int m_busyCount = 0;
};

} // namespace ballotine::test
