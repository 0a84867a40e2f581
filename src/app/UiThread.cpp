#include "app/UiThread.h"

#include <QCoreApplication>
#include <QThread>

namespace ballotine {

void CallOnUiThread(const std::function<void()>& call) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr || QThread::currentThread() == application->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(application, call, Qt::BlockingQueuedConnection);
}

void UiThreadPrompter::ShowMessage(std::string_view text) {
    CallOnUiThread([&] { m_shown.ShowMessage(text); });
}

bool UiThreadPrompter::AskYesNo(std::string_view question) {
    bool answer = false;
    CallOnUiThread([&] { answer = m_shown.AskYesNo(question); });
    return answer;
}

bool UiThreadPrompter::AskBeforeAbandoning(std::string_view question) {
    bool answer = false;
    CallOnUiThread([&] { answer = m_shown.AskBeforeAbandoning(question); });
    return answer;
}

std::optional<std::string> UiThreadPrompter::ChooseFileToOpen(const FileDialogRequest& request) {
    std::optional<std::string> file;
    CallOnUiThread([&] { file = m_shown.ChooseFileToOpen(request); });
    return file;
}

std::optional<std::string> UiThreadPrompter::ChooseFileToSave(const FileDialogRequest& request) {
    std::optional<std::string> file;
    CallOnUiThread([&] { file = m_shown.ChooseFileToSave(request); });
    return file;
}

void UiThreadPrompter::SetBusy(bool busy) {
    CallOnUiThread([&] { m_shown.SetBusy(busy); });
}

} // namespace ballotine
