#include "download/TextProgressLine.h"

#include "common/Text.h"

namespace ballotine {

namespace {

const char* Outcome(DownloadStatus status) {
    return status == DownloadStatus::Downloaded ? "downloaded" : "failed";
}

} // namespace

void TextProgressLine::Show(const DownloadLabels& labels, float rate) {
    if (m_style != Style::InPlace) {
        return;
    }
    Rewrite(Format("%s  %s bytes  %.2f Kb/Sec  %s left", labels.fileName.c_str(),
                   labels.fileBytes.c_str(), static_cast<double>(rate),
                   labels.fileRemaining.c_str()));
}

void TextProgressLine::FileEnded(const std::string& name, DownloadStatus status, std::int64_t bytes,
                                 float rate, const std::string& reason) {
    switch (m_style) {
    case Style::InPlace:
        Rewrite(Format("%s  %lld bytes  %.2f Kb/Sec  %s", name.c_str(),
                       static_cast<long long>(bytes), static_cast<double>(rate), Outcome(status)));
        m_out << '\n';
        m_shownLength = 0;
        break;
    case Style::Records:
        m_out << Format("%s\t%s\t%lld\t%.2f\n", name.c_str(), Outcome(status),
                        static_cast<long long>(bytes), static_cast<double>(rate));
        break;
    case Style::Quiet:
        break;
    }
    m_out.flush();
    if (m_messages != nullptr && status != DownloadStatus::Downloaded && !reason.empty()) {
        *m_messages << name << ": " << reason << '\n';
        m_messages->flush();
    }
}

// The new text over the old one, blanking what the old one had beyond it.
void TextProgressLine::Rewrite(const std::string& text) {
    m_out << '\r' << text;
    if (text.size() < m_shownLength) {
        m_out << std::string(m_shownLength - text.size(), ' ');
    }
    m_shownLength = text.size();
    m_out.flush();
}

} // namespace ballotine
