#include "mapsettings/ReferenceData.h"

#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"

namespace ballotine {

namespace {

enum class LineKind { Pair, Ignored, SectionMarker };

// Classifies one substitution line by its first two words; fills `pair` for a pair line.
LineKind ReadSubstitutionLine(const std::string& line, Substitution& pair, Prompter& prompter) {
    LineScanner scanner(line);
    const std::string key = scanner.Word().value_or("");
    const std::string separator = scanner.Word().value_or("");
    if (separator != "=") {
        return key == "#INFO#" || key == "#TEXT#" ? LineKind::SectionMarker : LineKind::Ignored;
    }
    const std::size_t open = line.find('"');
    if (open == std::string::npos) {
        prompter.ShowMessage(
            "Warning. The following line is invalid (No Initial Quote), skipping:\n" + line);
        return LineKind::Ignored;
    }
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string::npos) {
        prompter.ShowMessage(
            "Warning. The following line is invalid (No Terminating Quote), skipping:\n" + line);
        return LineKind::Ignored;
    }
    pair.key = key;
    pair.value = line.substr(open + 1, close - open - 1);
    return LineKind::Pair;
}

} // namespace

bool ExtractReferenceData(const std::string& referencePath, std::string_view modWorkDir,
                          ReferenceData& data, Prompter& prompter) {
    data = ReferenceData{};
    auto file = OpenForReading(referencePath);
    std::string line;
    // an empty file reads as one empty line: that is "no template reference" too, but it
    // fails without the template message, as a missing file does
    if (!file || !ReadLine(*file, line) || line.empty()) {
        return false;
    }
    if (!EndsWithNoCase(line, ".tpt")) {
        prompter.ShowMessage(kTemplateReferenceInvalidMessage);
        return false;
    }
    data.templatePath =
        std::string(modWorkDir) + "Entities" + kSeparator + ToNativeSeparators(line);
    while (data.substitutions.size() < kMaxSubstitutions && ReadLine(*file, line)) {
        Substitution pair;
        const LineKind kind = ReadSubstitutionLine(line, pair, prompter);
        if (kind == LineKind::SectionMarker) {
            break;
        }
        if (kind == LineKind::Pair) {
            data.substitutions.push_back(std::move(pair));
        }
    }
    return true;
}

} // namespace ballotine
