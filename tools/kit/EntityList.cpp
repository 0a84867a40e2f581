#include "kit/EntityList.h"

namespace ballotine::kit {

namespace {

// The next token: "{", "}", or a quoted string's content (returned with its quotes so that
// an empty string differs from the end). Empty at the end or on anything else.
std::string_view NextToken(std::string_view text, std::size_t& at) {
    while (at < text.size()) {
        if (static_cast<unsigned char>(text[at]) <= ' ') {
            ++at;
        } else if (text.substr(at, 2) == "//") {
            const std::size_t end = text.find('\n', at);
            at = end == std::string_view::npos ? text.size() : end;
        } else {
            break;
        }
    }
    if (at >= text.size()) {
        return {};
    }
    if (text[at] == '{' || text[at] == '}') {
        return text.substr(at++, 1);
    }
    if (text[at] != '"') {
        return {};
    }
    const std::size_t end = text.find('"', at + 1);
    if (end == std::string_view::npos) {
        return {};
    }
    const std::string_view token = text.substr(at, end + 1 - at);
    at = end + 1;
    return token;
}

std::string Unquoted(std::string_view token) {
    return std::string(token.substr(1, token.size() - 2));
}

} // namespace

std::optional<std::string_view> Entity::Find(std::string_view key) const {
    for (const auto& [name, value] : pairs) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

std::vector<Entity> ParseEntities(std::string_view text) {
    std::vector<Entity> entities;
    std::size_t at = 0;
    while (NextToken(text, at) == "{") {
        Entity entity;
        for (std::string_view key = NextToken(text, at); key.starts_with('"');
             key = NextToken(text, at)) {
            const std::string_view value = NextToken(text, at);
            if (!value.starts_with('"')) {
                return entities;
            }
            entity.pairs.emplace_back(Unquoted(key), Unquoted(value));
        }
        entities.push_back(std::move(entity));
    }
    return entities;
}

} // namespace ballotine::kit
