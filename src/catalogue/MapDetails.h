#pragma once

#include <istream>
#include <string>
#include <string_view>

namespace ballotine {

struct WorkingPaths;

inline constexpr const char* kBuiltInDownloadedText = "By Default";
inline constexpr const char* kNoDescriptionText = "Map description not available";

// What the "Map Details" pane shows for one map.
struct MapDetails {
    std::string name;           // "Map Name:"
    std::string sizeText;       // "Map Size:"
    std::string downloadedText; // "Map Downloaded?"
    std::string caption;        // the "Map Description" frame's caption
    std::string description;    // the text in that frame
};

// A description file: the first line is the caption; the following lines are joined with
// blanks, an empty line after the first becoming a paragraph break, until the text reaches
// 512 characters.
struct MapDescription {
    std::string caption;
    std::string text;
};
MapDescription ReadMapDescription(std::istream& in);

// The details of a map of the selected mod: the fixed texts of a built-in map, else its map
// file's size and description file. Without a selected mod only built-in maps have any.
MapDetails ReadMapDetails(const WorkingPaths& paths, std::string_view name);

} // namespace ballotine
