#include "publish/PublishNames.h"

#include "common/Text.h"

#include <algorithm>

namespace ballotine {

namespace {

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_-.+()!~").find(c) != std::string_view::npos;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

} // namespace

bool IsPublishableName(std::string_view name) {
    return !name.empty() && name.size() <= kLongestKey && name != "." && name != ".." &&
           std::all_of(name.begin(), name.end(), IsNameCharacter);
}

std::optional<std::string> CleanTitle(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    if (text.empty() || text.size() > kLongestTitle ||
        std::any_of(text.begin(), text.end(), IsControl)) {
        return std::nullopt;
    }
    return std::string(text);
}

std::optional<std::string> CleanAddress(std::string_view text) {
    const std::size_t scheme = text.find("://");
    if (scheme == std::string_view::npos || scheme == 0) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < scheme; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) {
            return std::nullopt;
        }
    }
    if (std::any_of(text.begin(), text.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte <= 0x20 || byte >= 0x7F;
        })) {
        return std::nullopt;
    }
    while (text.ends_with('/') && text.size() > scheme + 3) {
        text.remove_suffix(1);
    }
    if (text.size() <= scheme + 3) {
        return std::nullopt;
    }
    return std::string(text);
}

std::vector<std::string_view> PathComponents(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t cut = std::min(path.find('/'), path.size());
        parts.push_back(path.substr(0, cut));
        path.remove_prefix(std::min(cut + 1, path.size()));
    }
    return parts;
}

std::string Shown(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        shown +=
            IsControl(c) ? Format("\\x%02X", static_cast<unsigned char>(c)) : std::string(1, c);
    }
    return shown;
}

} // namespace ballotine
