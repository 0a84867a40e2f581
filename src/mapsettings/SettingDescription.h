#pragma once

#include <string>
#include <string_view>

namespace ballotine {

inline constexpr const char* kNoSettingDescriptionText =
    "No map description text found for this setting...";

// What the "#INFO#" section of a reference file gives for display.
struct SettingDescription {
    enum class Result {
        Found,         // a title and a description (possibly empty)
        NoDescription, // no reference file, or no "#INFO#" section
        NothingToShow, // "#INFO#" is the very last line: not even a title
    };
    Result result = Result::NoDescription;
    std::string title;
    std::string description; // lines joined by line feeds, at most 1023 characters
};

inline constexpr std::size_t kDescriptionStop = 768;   // no line is added after this many
inline constexpr std::size_t kDescriptionLimit = 1023; // the line that crosses the stop is cut here

SettingDescription ReadSettingDescription(std::string_view modWorkDir, std::string_view mapName,
                                          std::string_view key);

} // namespace ballotine
