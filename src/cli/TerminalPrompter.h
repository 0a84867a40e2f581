#pragma once

#include "platform/Prompter.h"

#include <istream>
#include <optional>
#include <ostream>

namespace ballotine {

// Messages and questions on a terminal. Every text goes to the error stream as it stands; a
// question is followed by its answer: the preset one (--yes/--no), else the user's when the
// input is a terminal, else No. File dialogs take the file the command line named.
class TerminalPrompter final : public Prompter {
public:
    TerminalPrompter(std::ostream& err, std::istream& in, std::optional<bool> presetAnswer,
                     bool interactive);

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view question) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;

    // While another program changes the game: waits up to `wait` (default two seconds),
    // saying so once, then gives up with who holds it.
    bool RetryWhileGameBusy(std::string_view holder, std::chrono::milliseconds waited) override;
    void SetGameBusyWait(std::chrono::milliseconds wait) { m_busyWait = wait; }

    // The file the next file dialog returns (the command line's FILE argument).
    void SetNextFile(std::string path) { m_nextFile = std::move(path); }

private:
    std::ostream& m_err;
    std::istream& m_in;
    std::optional<bool> m_presetAnswer;
    bool m_interactive;
    std::optional<std::string> m_nextFile;
    std::chrono::milliseconds m_busyWait{2000};
};

} // namespace ballotine
