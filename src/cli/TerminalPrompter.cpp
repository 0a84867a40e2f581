#include "cli/TerminalPrompter.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"

#include <thread>

namespace ballotine {

TerminalPrompter::TerminalPrompter(std::ostream& err, std::istream& in,
                                   std::optional<bool> presetAnswer, bool interactive)
    : m_err(err), m_in(in), m_presetAnswer(presetAnswer), m_interactive(interactive) {}

void TerminalPrompter::ShowMessage(std::string_view text) {
    m_err << text << "\n" << std::flush;
}

bool TerminalPrompter::AskYesNo(std::string_view question) {
    m_err << question << " [y/n] " << std::flush;
    bool yes = false;
    if (m_presetAnswer) {
        yes = *m_presetAnswer;
        m_err << (yes ? "yes" : "no") << "\n";
    } else if (m_interactive) {
        std::string answer;
        ReadLine(m_in, answer);
        yes = EqualsNoCase(answer, "y") || EqualsNoCase(answer, "yes");
    } else {
        m_err << "no\n";
    }
    m_err << std::flush;
    return yes;
}

bool TerminalPrompter::RetryWhileGameBusy(std::string_view holder,
                                          std::chrono::milliseconds waited) {
    using std::chrono::milliseconds;
    const std::string who(holder);
    const double seconds = static_cast<double>(m_busyWait.count()) / 1000.0;
    if (waited >= m_busyWait) {
        m_err << (m_busyWait.count() == 0
                      ? Format("%s is changing this game (--wait SECONDS waits for it).\n",
                               who.c_str())
                      : Format("Gave up after %g s: %s is still changing this game "
                               "(--wait SECONDS waits longer).\n",
                               seconds, who.c_str()))
              << std::flush;
        return false;
    }
    if (waited.count() == 0) {
        m_err << Format("Waiting up to %g s: %s is changing this game...\n", seconds, who.c_str())
              << std::flush;
    }
    std::this_thread::sleep_for(std::min(milliseconds(100), m_busyWait - waited));
    return true;
}

std::optional<std::string> TerminalPrompter::ChooseFileToOpen(const FileDialogRequest& request) {
    (void)request;
    auto file = std::move(m_nextFile);
    m_nextFile.reset();
    return file;
}

std::optional<std::string> TerminalPrompter::ChooseFileToSave(const FileDialogRequest& request) {
    auto file = std::move(m_nextFile);
    m_nextFile.reset();
    if (!file) {
        return std::nullopt;
    }
    const std::string_view name = *file;
    const std::size_t slash = name.find_last_of('/');
    const std::string_view base = slash == std::string_view::npos ? name : name.substr(slash + 1);
    if (!request.defaultExtension.empty() && base.find('.') == std::string_view::npos) {
        *file += request.defaultExtension;
    }
    if (FileExists(*file) && !AskYesNo(*file + " already exists.\nDo you want to replace it?")) {
        return std::nullopt;
    }
    return file;
}

} // namespace ballotine
