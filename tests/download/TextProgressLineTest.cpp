#include "download/TextProgressLine.h"

#include <gtest/gtest.h>
#include <sstream>

namespace ballotine {
namespace {

DownloadLabels LabelsOf(const char* name, const char* bytes, const char* remaining) {
    DownloadLabels labels;
    labels.fileName = name;
    labels.fileBytes = bytes;
    labels.fileRemaining = remaining;
    return labels;
}

TEST(TextProgressLine, OnATerminalRewritesOneLineAndClosesItWithTheOutcome) {
    std::ostringstream out;
    TextProgressLine line(out, true);

    line.Show(LabelsOf("2fort.zip", "1000 of 20000", "00:00:09"), 6.0F);
    line.Show(LabelsOf("2fort.zip", "20000 of 20000", "00:00:00"), 12.5F);
    line.FileEnded("2fort.zip", StatusDownloaded, 20000, 12.5F);
    line.Show(LabelsOf("list", "7", "Not Available"), 1.0F);

    const std::string first = "2fort.zip  1000 of 20000 bytes  6.00 Kb/Sec  00:00:09 left";
    const std::string second = "2fort.zip  20000 of 20000 bytes  12.50 Kb/Sec  00:00:00 left";
    const std::string closing = "2fort.zip  20000 bytes  12.50 Kb/Sec  downloaded";
    EXPECT_EQ(out.str(), "\r" + first + "\r" + second + "\r" + closing +
                             std::string(second.size() - closing.size(), ' ') + "\n" +
                             "\rlist  7 bytes  1.00 Kb/Sec  Not Available left");
}

TEST(TextProgressLine, ElsewhereWritesOneRecordPerFile) {
    std::ostringstream out;
    TextProgressLine line(out, false);

    line.Show(LabelsOf("a.zip", "10 of 20", "00:00:01"), 6.0F);
    line.FileEnded("a.zip", StatusFailed, 10, 6.0F);
    line.FileEnded("b.zip", StatusDownloaded, 20, 7.5F);

    EXPECT_EQ(out.str(), "a.zip\tfailed\t10\t6.00\nb.zip\tdownloaded\t20\t7.50\n");
}

} // namespace
} // namespace ballotine
