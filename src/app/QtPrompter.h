#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace ballotine {

// Message boxes, questions and file dialogs as Qt windows over a parent window.
class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view question) override;
    bool AskBeforeAbandoning(std::string_view question) override;
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest& request) override;
    void SetBusy(bool busy) override;

private:
    bool Ask(std::string_view question, bool yesOnEnter);

    QWidget* m_parent;
};

} // namespace ballotine
