#include "cli/TerminalPrompter.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"

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
