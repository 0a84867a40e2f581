#include "catalogue/SteamLibraries.h"

#include "common/Text.h"

#include <algorithm>
#include <optional>
#include <string>

namespace ballotine {

namespace {

// Steam nests libraries two levels deep; anything far deeper is not a library list.
constexpr std::size_t kDeepestNesting = 16;
constexpr std::size_t kLongestPath = 4096;

struct Token {
    enum class Kind { Open, Close, Text } kind = Kind::Text;
    std::string text;
};

// Reads the text one token at a time; a quoted string cut off by the end of the text ends it.
class VdfTokens {
public:
    explicit VdfTokens(std::string_view text) : m_text(text) {}

    std::optional<Token> Next() {
        SkipSpaceAndComments();
        if (m_pos >= m_text.size()) {
            return std::nullopt;
        }
        const char c = m_text[m_pos];
        if (c == '{' || c == '}') {
            ++m_pos;
            return Token{c == '{' ? Token::Kind::Open : Token::Kind::Close, {}};
        }
        return c == '"' ? Quoted() : Bare();
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void SkipSpaceAndComments() {
        while (m_pos < m_text.size()) {
            if (IsSpace(m_text[m_pos])) {
                ++m_pos;
            } else if (m_text.substr(m_pos, 2) == "//") {
                const std::size_t end = m_text.find('\n', m_pos);
                m_pos = end == std::string_view::npos ? m_text.size() : end + 1;
            } else {
                return;
            }
        }
    }

    std::optional<Token> Quoted() {
        std::string value;
        for (std::size_t i = m_pos + 1; i < m_text.size(); ++i) {
            const char c = m_text[i];
            if (c == '"') {
                m_pos = i + 1;
                return Token{Token::Kind::Text, std::move(value)};
            }
            if (c == '\\' && i + 1 < m_text.size()) {
                const char escaped = m_text[++i];
                value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
            } else {
                value += c;
            }
        }
        m_pos = m_text.size();
        return std::nullopt;
    }

    Token Bare() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) &&
               std::string_view("{}\"").find(m_text[m_pos]) == std::string_view::npos) {
            ++m_pos;
        }
        return Token{Token::Kind::Text, std::string(m_text.substr(start, m_pos - start))};
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool IsNumber(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A value that names a library folder on this system.
bool IsUsablePath(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.size() <= kLongestPath &&
           std::none_of(path.begin(), path.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

// Whether a key and value pair at this depth names a library: "path" inside a library's
// block, or a numbered value right inside the outer block (the older layout).
bool NamesLibrary(std::string_view key, std::size_t depth) {
    return (depth >= 2 && EqualsNoCase(key, "path")) || (depth == 1 && IsNumber(key));
}

} // namespace

std::vector<std::filesystem::path> ParseLibraryFolders(std::string_view vdfText) {
    std::vector<std::filesystem::path> folders;
    VdfTokens tokens(vdfText.substr(0, kLongestLibraryList));
    std::size_t depth = 0;
    std::optional<std::string> key; // a key waiting for its value or block
    while (const std::optional<Token> token = tokens.Next()) {
        if (token->kind == Token::Kind::Close) {
            if (depth == 0) {
                break; // more closed than opened: not a file Steam wrote
            }
            --depth;
            key.reset();
        } else if (token->kind == Token::Kind::Open) {
            if (!key || ++depth > kDeepestNesting) {
                break;
            }
            key.reset();
        } else if (token->text.starts_with('[')) {
            continue; // a platform condition after a value, such as [$WIN32]
        } else if (!key) {
            key = token->text;
        } else {
            const std::string& value = token->text;
            if (NamesLibrary(*key, depth) && IsUsablePath(value) &&
                std::find(folders.begin(), folders.end(), value) == folders.end()) {
                folders.emplace_back(value);
                if (folders.size() == kMostLibraries) {
                    break;
                }
            }
            key.reset();
        }
    }
    return folders;
}

} // namespace ballotine
