#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

class Prompter;

inline constexpr std::size_t kMaxSubstitutions = 256;
inline constexpr const char* kTemplateReferenceInvalidMessage =
    "Template File Reference is invalid. Aborting...";

struct Substitution {
    std::string key;
    std::string value;
};

// What an entity reference file says about filling its template.
struct ReferenceData {
    std::string templatePath;                // the template in the Entities folder
    std::vector<Substitution> substitutions; // at most 256 pairs, in file order
};

// Reads the template reference (line 1, must end in ".tpt") and the substitution lines
// ("KEY = \"value\"") up to the first line whose first word is "#INFO#" or "#TEXT#". Lines
// without quotes are skipped with a warning through the prompter; lines whose second word is
// not "=" are ignored. False when the file is missing or empty, or line 1 is no template
// reference (after its own message).
bool ExtractReferenceData(const std::string& referencePath, std::string_view modWorkDir,
                          ReferenceData& data, Prompter& prompter);

} // namespace ballotine
