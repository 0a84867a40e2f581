#include "models/VotePicturesMessage.h"

#include <algorithm>

namespace ballotine {

std::string VotePicturesMessage(const PictureReport& report) {
    const auto titleCards =
        std::count_if(report.written.begin(), report.written.end(),
                      [](const PictureWritten& written) { return !written.withPlan; });
    std::string message = report.written.empty()
                              ? std::string(report.notes.empty() ? kNoPicturesDrawnMessage
                                                                 : "No vote picture was drawn.")
                              : "Vote pictures drawn: " + std::to_string(report.written.size());
    if (titleCards > 0) {
        message += " (" + std::to_string(titleCards) + " of them a title card only)";
    }
    if (!report.written.empty()) {
        message += ".";
    }
    if (!report.notes.empty()) {
        message += "\n";
    }
    const std::size_t listed = std::min(report.notes.size(), kListedPictureNotes);
    for (std::size_t i = 0; i < listed; ++i) {
        message += "\n" + report.notes[i].text;
    }
    if (report.notes.size() > listed) {
        message += "\n... and " + std::to_string(report.notes.size() - listed) + " more";
    }
    return message;
}

} // namespace ballotine
