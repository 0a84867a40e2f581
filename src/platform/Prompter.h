#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace ballotine {

// What a file dialog offers the user.
struct FileDialogRequest {
    std::string title;            // the dialog's caption
    std::string filterName;       // shown, e.g. "VoteMap List (*.VML)"
    std::string filterPattern;    // matched, e.g. "*.VML"
    std::string initialFolder;    // where the dialog opens
    std::string initialName;      // preset file name (save dialogs)
    std::string defaultExtension; // given to a name typed without one, e.g. ".VML"
};

// Every message and question the program puts to the user goes through this interface, so the
// same core runs behind a window, a terminal or a test script.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with an OK button.
    virtual void ShowMessage(std::string_view text) = 0;
    // A Yes/No question; true only for Yes.
    virtual bool AskYesNo(std::string_view question) = 0;
    // A Yes/No question whose Yes throws work away: No is the answer a plain Enter gives.
    virtual bool AskBeforeAbandoning(std::string_view question) { return AskYesNo(question); }
    // An open dialog whose folder and file must exist; nothing when the user cancels.
    virtual std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) = 0;
    // A save dialog that asks before an existing file is replaced; nothing when cancelled.
    virtual std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) = 0;
    // The wait cursor, shown while a long step blocks.
    virtual void SetBusy(bool busy) { (void)busy; }
    // Another program is changing the game (`holder` says which, e.g. "ballotine-cli (process
    // 42, updates)") and the operation has waited `waited` for it so far (0 the first time it
    // is refused). True to try again, false to give up. Asks kGameBusyQuestion; a terminal
    // waits a while instead.
    virtual bool RetryWhileGameBusy(std::string_view holder, std::chrono::milliseconds waited);
};

inline constexpr const char* kGameBusyQuestion =
    "Another program is changing this game: %s.\nTry again?";

// Shows the wait cursor for the lifetime of the scope.
class BusyScope {
public:
    explicit BusyScope(Prompter& prompter) : m_prompter(prompter) { m_prompter.SetBusy(true); }
    ~BusyScope() { m_prompter.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompter& m_prompter;
};

} // namespace ballotine
