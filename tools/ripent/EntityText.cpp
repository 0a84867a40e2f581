#include "ripent/EntityText.h"

#include "common/Text.h"

#include <algorithm>

namespace ballotine::ripent {

namespace {

struct Token {
    enum Kind { End, Open, Close, String, Error } kind = End;
    int line = 0;
    std::string_view text; // the string's content, or the reason for an error
};

// Splits the text into the game's tokens, counting lines as it goes.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : m_text(text) {}

    Token Next() {
        SkipSpaceAndComments();
        if (m_at >= m_text.size()) {
            return {Token::End, m_line, {}};
        }
        const char c = m_text[m_at];
        if (c == '{' || c == '}') {
            ++m_at;
            return {c == '{' ? Token::Open : Token::Close, m_line, {}};
        }
        if (c == '"') {
            return QuotedString();
        }
        return {Token::Error, m_line, "text outside quotes"};
    }

private:
    // Control characters count as blanks, as they do for the game.
    static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

    void SkipSpaceAndComments() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\n') {
                ++m_line;
                ++m_at;
            } else if (IsBlank(c)) {
                ++m_at;
            } else if (m_text.substr(m_at, 2) == "//") {
                m_at = std::min(m_text.find('\n', m_at), m_text.size());
            } else {
                return;
            }
        }
    }

    // A string runs to the next quote, across line ends as the game reads it; a quote that
    // is never closed is named by the line it opens on.
    Token QuotedString() {
        const std::size_t start = m_at + 1;
        const std::size_t end = m_text.find('"', start);
        if (end == std::string_view::npos) {
            return {Token::Error, m_line, "unterminated quote"};
        }
        const int line = m_line;
        m_line +=
            static_cast<int>(std::count(m_text.begin() + static_cast<std::ptrdiff_t>(start),
                                        m_text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
        m_at = end + 1;
        return {Token::String, line, m_text.substr(start, end - start)};
    }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_line = 1;
};

std::string AtLine(int line, std::string_view reason) {
    return Format("line %d: %.*s", line, static_cast<int>(reason.size()), reason.data());
}

// Checks one entity after its "{" up to and including its "}".
std::optional<std::string> FindEntityError(Tokenizer& tokens, int openLine) {
    for (Token key = tokens.Next(); key.kind != Token::Close; key = tokens.Next()) {
        switch (key.kind) {
        case Token::Error:
            return AtLine(key.line, key.text);
        case Token::End:
            return AtLine(openLine, "entity is not closed");
        case Token::Open:
            return AtLine(key.line, "\"{\" inside an entity");
        default:
            break;
        }
        const Token value = tokens.Next();
        if (value.kind == Token::Error) {
            return AtLine(value.line, value.text);
        }
        if (value.kind != Token::String) {
            return AtLine(key.line, Format("key \"%.*s\" has no value",
                                           static_cast<int>(key.text.size()), key.text.data()));
        }
    }
    return std::nullopt;
}

std::string_view WhyNotAnEntity(const Token& token) {
    switch (token.kind) {
    case Token::Error:
        return token.text;
    case Token::Close:
        return "\"}\" without an entity to close";
    default:
        return "text outside an entity";
    }
}

} // namespace

std::optional<std::string> FindEntityTextError(std::string_view text) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) {
        const auto lineEnds = std::count(text.data(), text.data() + zero, '\n');
        return AtLine(static_cast<int>(lineEnds) + 1, "zero byte in the entity text");
    }
    Tokenizer tokens(text);
    int entities = 0;
    for (Token token = tokens.Next(); token.kind != Token::End; token = tokens.Next()) {
        if (token.kind != Token::Open) {
            return AtLine(token.line, WhyNotAnEntity(token));
        }
        if (auto error = FindEntityError(tokens, token.line)) {
            return error;
        }
        ++entities;
    }
    if (entities == 0) {
        return std::string("holds no entity");
    }
    return std::nullopt;
}

std::optional<std::string> MakeEntityLump(std::string_view fileContent, std::string& error) {
    const std::string_view text = EntityTextOfLump(fileContent);
    if (text.empty()) {
        error = "is empty";
        return std::nullopt;
    }
    if (auto textError = FindEntityTextError(text)) {
        error = std::move(*textError);
        return std::nullopt;
    }
    std::string lump;
    lump.reserve(text.size() + 1);
    lump.append(text);
    lump.push_back('\0');
    return lump;
}

std::string_view EntityTextOfLump(std::string_view lump) {
    if (!lump.empty() && lump.back() == '\0') {
        lump.remove_suffix(1);
    }
    return lump;
}

} // namespace ballotine::ripent
