#include "votemap/ReplaceKeyword.h"

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

} // namespace ballotine
