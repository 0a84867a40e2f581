#pragma once

#include "download/DownloadProgress.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace ballotine {

// The command line's progress display. On a terminal one line is rewritten in place (file
// name, bytes, rate, remaining time) and closed with the file's outcome; elsewhere only each
// file's end is written, as NAME<TAB>downloaded|failed<TAB>BYTES<TAB>RATE; quiet, nothing.
// Whatever the style, why a file failed goes to `messages` as "NAME: REASON".
class TextProgressLine {
public:
    enum class Style { InPlace, Records, Quiet };

    TextProgressLine(std::ostream& out, Style style, std::ostream* messages = nullptr)
        : m_out(out), m_style(style), m_messages(messages) {}

    // The labels changed: rewrite the line (on a terminal).
    void Show(const DownloadLabels& labels, float rate);
    void FileEnded(const std::string& name, DownloadStatus status, std::int64_t bytes, float rate,
                   const std::string& reason = {});

private:
    void Rewrite(const std::string& text);

    std::ostream& m_out;
    Style m_style;
    std::ostream* m_messages;
    std::size_t m_shownLength = 0;
};

} // namespace ballotine
