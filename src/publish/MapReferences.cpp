#include "publish/MapReferences.h"

#include "common/Text.h"
#include "platform/Paths.h"
#include "publish/PublishNames.h"

#include <array>

namespace ballotine {

namespace {

constexpr std::array<std::string_view, 6> kSkySides = {"up", "dn", "lf", "rt", "ft", "bk"};

struct KeyValue {
    std::string key;
    std::string value;
};

// The entity text's tokens: braces and quoted strings; "//" comments run to the line's end.
class EntityTokens {
public:
    explicit EntityTokens(std::string_view text) : m_text(text) {}

    // The next token: "{", "}" or a string (without its quotes); nothing at the end or where
    // the text breaks (a string without its closing quote, a stray character).
    std::optional<std::string_view> Next(bool& isString) {
        SkipSpaceAndComments();
        if (m_pos >= m_text.size()) {
            return std::nullopt;
        }
        const char c = m_text[m_pos];
        if (c == '{' || c == '}') {
            isString = false;
            return m_text.substr(m_pos++, 1);
        }
        if (c != '"') {
            return std::nullopt;
        }
        const std::size_t close = m_text.find('"', m_pos + 1);
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        isString = true;
        const std::string_view token = m_text.substr(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        return token;
    }

private:
    void SkipSpaceAndComments() {
        while (m_pos < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_pos]);
            if (c <= ' ') {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                m_pos = std::min(m_text.find('\n', m_pos), m_text.size());
            } else {
                return;
            }
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The entities of the text as lists of pairs, up to where the text breaks.
std::vector<std::vector<KeyValue>> ParseEntities(std::string_view text) {
    std::vector<std::vector<KeyValue>> entities;
    EntityTokens tokens(text);
    bool isString = false;
    while (auto open = tokens.Next(isString)) {
        if (isString || *open != "{") {
            break;
        }
        std::vector<KeyValue> pairs;
        bool closed = false;
        while (auto key = tokens.Next(isString)) {
            if (!isString) {
                closed = *key == "}";
                break;
            }
            const auto value = tokens.Next(isString);
            if (!value || !isString) {
                break;
            }
            pairs.push_back({std::string(*key), std::string(*value)});
        }
        entities.push_back(std::move(pairs));
        if (!closed) {
            break;
        }
    }
    return entities;
}

bool IsPrintableAscii(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte > 0x7E) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> PlainRelativePath(std::string_view written) {
    std::string path = ToNativeSeparators(written);
    while (path.starts_with("./")) {
        path.erase(0, 2);
    }
    if (path.empty() || path.front() == '/' || path.back() == '/' ||
        path.find(':') != std::string::npos || !IsPrintableAscii(path)) {
        return std::nullopt;
    }
    for (const std::string_view part : PathComponents(path)) {
        if (part.empty() || part == "." || part == "..") {
            return std::nullopt;
        }
    }
    return path;
}

namespace {

void AddWads(std::string_view list, MapReferences& references) {
    while (!list.empty()) {
        const std::size_t cut = std::min(list.find(';'), list.size());
        const std::string_view wad = LastPathComponent(list.substr(0, cut));
        if (EndsWithNoCase(wad, ".wad")) {
            references.Add(wad);
        }
        list.remove_prefix(std::min(cut + 1, list.size()));
    }
}

void AddValue(std::string_view value, MapReferences& references) {
    if (EndsWithNoCase(value, ".wav")) {
        if (value.starts_with('!')) {
            return; // a sentence's name, not a file
        }
        if (value.starts_with('*')) {
            value.remove_prefix(1); // the engine's streaming mark
        }
        references.Add("sound/" + std::string(value));
    } else if (EndsWithNoCase(value, ".mdl") || EndsWithNoCase(value, ".spr") ||
               EndsWithNoCase(value, ".mp3")) {
        references.Add(value);
    }
}

// The lines of a text file with "//" comments and surrounding blanks removed.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        line = line.substr(0, std::min(line.find("//"), line.size()));
        while (!line.empty() && static_cast<unsigned char>(line.front()) <= ' ') {
            line.remove_prefix(1);
        }
        while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            visit(line);
        }
    }
}

} // namespace

void MapReferences::Add(std::string_view written) {
    const std::optional<std::string> path = PlainRelativePath(written);
    if (!path) {
        refused.emplace_back(written);
        return;
    }
    for (const std::string& known : files) {
        if (EqualsNoCase(known, *path)) {
            return;
        }
    }
    files.push_back(*path);
}

MapReferences ReferencesInEntityText(std::string_view text) {
    MapReferences references;
    for (const std::vector<KeyValue>& entity : ParseEntities(text)) {
        bool world = false;
        for (const KeyValue& pair : entity) {
            world = world || (pair.key == "classname" && pair.value == "worldspawn");
        }
        for (const KeyValue& pair : entity) {
            if (world && EqualsNoCase(pair.key, "wad")) {
                AddWads(pair.value, references);
            } else if (world && EqualsNoCase(pair.key, "skyname") && !pair.value.empty()) {
                for (const std::string_view side : kSkySides) {
                    references.Add("gfx/env/" + pair.value + std::string(side) + ".tga");
                }
            } else {
                AddValue(pair.value, references);
            }
        }
    }
    return references;
}

void AddDetailTextures(std::string_view detailList, MapReferences& references) {
    ForEachLine(detailList, [&](std::string_view line) {
        const std::size_t first = line.find_first_of(" \t");
        if (first == std::string_view::npos) {
            return;
        }
        std::string_view rest = line.substr(first);
        rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
        const std::string_view detail =
            rest.substr(0, std::min(rest.find_first_of(" \t"), rest.size()));
        if (!detail.empty()) {
            references.Add("gfx/" + std::string(detail) + ".tga");
        }
    });
}

void AddResourceList(std::string_view resourceList, MapReferences& references) {
    ForEachLine(resourceList, [&](std::string_view line) {
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
            line = line.substr(1, line.size() - 2);
        }
        references.Add(line);
    });
}

} // namespace ballotine
