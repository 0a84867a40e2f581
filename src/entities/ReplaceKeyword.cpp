#include "entities/ReplaceKeyword.h"

namespace ballotine {

bool ReplaceKeyword(std::string& line, std::string_view keyword, std::string_view value) {
    if (line.empty() || keyword.empty()) {
        return false;
    }
    std::size_t match = line.find(keyword);
    if (match == std::string::npos) {
        return false;
    }
    std::string result;
    result.reserve(line.size() + value.size());
    std::size_t copied = 0;
    while (match != std::string::npos) {
        result.append(line, copied, match - copied);
        result.append(value);
        copied = match + keyword.size();
        match = line.find(keyword, copied);
    }
    result.append(line, copied, std::string::npos);
    line = std::move(result);
    return true;
}

std::size_t LengthAfterReplacing(std::string_view line, std::string_view keyword,
                                 std::string_view value) {
    if (keyword.empty()) {
        return line.size();
    }
    std::size_t matches = 0;
    for (std::size_t match = line.find(keyword); match != std::string_view::npos;
         match = line.find(keyword, match + keyword.size())) {
        ++matches;
    }
    return line.size() - matches * keyword.size() + matches * value.size();
}

} // namespace ballotine
