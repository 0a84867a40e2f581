#pragma once

#include "platform/Prompter.h"
#include "platform/Services.h"

#include <functional>

namespace ballotine {

// Runs `call` on the window's thread (the application's) and waits until it has run; directly
// when called there. Work running on another thread reaches windows only this way.
void CallOnUiThread(const std::function<void()>& call);

// A prompter for work that runs off the window's thread: each message and question is put to
// `shown` on the window's thread, and the work waits for it, so they appear in the order the
// work makes them. On the window's thread it passes them straight on.
class UiThreadPrompter final : public Prompter {
public:
    explicit UiThreadPrompter(Prompter& shown) : m_shown(shown) {}

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view question) override;
    bool AskBeforeAbandoning(std::string_view question) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    void SetBusy(bool busy) override;

private:
    Prompter& m_shown;
};

// The services as work off the window's thread uses them: the same tools and clock, the
// prompts put to the window's thread.
class WorkServices {
public:
    explicit WorkServices(Services& services)
        : m_prompter(services.prompter), m_services{m_prompter, services.runner, services.clock} {}
    WorkServices(const WorkServices&) = delete;
    WorkServices& operator=(const WorkServices&) = delete;

    Services& Get() { return m_services; }

private:
    UiThreadPrompter m_prompter;
    Services m_services;
};

} // namespace ballotine
