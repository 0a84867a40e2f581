#pragma once

#include "download/DownloadProgress.h"

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

namespace ballotine {

// The command line's progress display. On a terminal one line is rewritten in place (file
// name, bytes, rate, remaining time) and closed with the file's outcome; elsewhere only each
// file's end is written, as NAME<TAB>downloaded|failed<TAB>BYTES<TAB>RATE.
class TextProgressLine {
public:
    TextProgressLine(std::ostream& out, bool inPlace) : m_out(out), m_inPlace(inPlace) {}

    // The labels changed: rewrite the line (on a terminal).
    void Show(const DownloadLabels& labels, float rate);
    void FileEnded(const std::string& name, DownloadStatus status, std::int64_t bytes, float rate);

private:
    void Rewrite(const std::string& text);

    std::ostream& m_out;
    bool m_inPlace;
    std::size_t m_shownLength = 0;
};

} // namespace ballotine
