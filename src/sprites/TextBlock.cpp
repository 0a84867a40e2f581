#include "sprites/TextBlock.h"

#include "sprites/Font.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace ballotine {

namespace {

constexpr int kShadow = 1;

int LineGap(int scale) {
    return scale + 1;
}

int BlockHeight(int lines, int scale) {
    return lines * LineHeight(scale) + (lines - 1) * LineGap(scale) + kShadow;
}

bool BreaksWell(std::string_view text, std::size_t at) {
    const char before = text[at - 1];
    return before == '_' || before == '-' || before == '.' || before == '+' || before == ')' ||
           text[at] == '(';
}

// Cost of a layout: breaks inside a word first, then the longest line.
struct Cost {
    int badBreaks = 0;
    int longest = 0;
    friend bool operator<(const Cost& a, const Cost& b) {
        return a.badBreaks != b.badBreaks ? a.badBreaks < b.badBreaks : a.longest < b.longest;
    }
};

// The best way to break `text` into exactly `lines` lines of at most `perLine` characters, by
// dynamic programming over (characters placed, lines used); nothing when it cannot be done.
struct Broken {
    std::vector<std::string> lines;
    int badBreaks = 0;
};
std::optional<Broken> BreakLines(std::string_view text, int lines, int perLine) {
    const std::size_t n = text.size();
    const auto count = static_cast<std::size_t>(lines);
    if (n == 0 || perLine <= 0 || count > n || n > count * static_cast<std::size_t>(perLine)) {
        return std::nullopt;
    }
    struct Step {
        std::optional<Cost> cost;
        std::size_t from = 0;
    };
    std::vector<std::vector<Step>> best(count + 1, std::vector<Step>(n + 1));
    best[0][0].cost = Cost{};
    for (std::size_t used = 1; used <= count; ++used) {
        for (std::size_t end = used; end <= n; ++end) {
            const std::size_t earliest =
                end > static_cast<std::size_t>(perLine) ? end - perLine : 0;
            for (std::size_t start = std::max(earliest, used - 1); start < end; ++start) {
                const std::optional<Cost>& before = best[used - 1][start].cost;
                if (!before) {
                    continue;
                }
                Cost cost = *before;
                cost.badBreaks += start > 0 && !BreaksWell(text, start) ? 1 : 0;
                cost.longest = std::max(cost.longest, static_cast<int>(end - start));
                Step& step = best[used][end];
                if (!step.cost || cost < *step.cost) {
                    step = {cost, start};
                }
            }
        }
    }
    if (!best[count][n].cost) {
        return std::nullopt;
    }
    Broken result{std::vector<std::string>(count), best[count][n].cost->badBreaks};
    std::size_t end = n;
    for (std::size_t used = count; used > 0; --used) {
        const std::size_t start = best[used][end].from;
        result.lines[used - 1] = std::string(text.substr(start, end - start));
        end = start;
    }
    return result;
}

// `text` cut to `keep` characters, the ellipsis mark standing for its middle.
std::string ShortenMiddle(std::string_view text, std::size_t keep) {
    if (keep == 0) {
        return {};
    }
    const std::size_t tail = (keep - 1) / 2;
    const std::size_t head = keep - 1 - tail;
    return std::string(text.substr(0, head)) + kEllipsisGlyph +
           std::string(text.substr(text.size() - tail));
}

// The style's best layout: fewest breaks inside words, then fewest lines.
std::optional<TextBlock> Layout(std::string_view text, int width, int height,
                                const TextStyle& style) {
    const int perLine = GlyphsThatFit(width - kShadow, style.scale);
    std::optional<TextBlock> best;
    int bestBadBreaks = 0;
    for (int lines = 1; lines <= style.maxLines && BlockHeight(lines, style.scale) <= height;
         ++lines) {
        auto broken = BreakLines(text, lines, perLine);
        if (broken && (!best || broken->badBreaks < bestBadBreaks)) {
            bestBadBreaks = broken->badBreaks;
            best = TextBlock{std::move(broken->lines), style.scale, false};
        }
    }
    return best;
}

} // namespace

int TextBlock::Width() const {
    std::size_t longest = 0;
    for (const std::string& line : lines) {
        longest = std::max(longest, line.size());
    }
    return LineWidth(static_cast<int>(longest), scale) + kShadow;
}

int TextBlock::Height() const {
    return lines.empty() ? 0 : BlockHeight(static_cast<int>(lines.size()), scale);
}

TextBlock FitText(std::string_view glyphText, int width, int height,
                  std::span<const TextStyle> styles) {
    if (glyphText.empty() || styles.empty()) {
        return {};
    }
    for (const TextStyle& style : styles) {
        if (auto block = Layout(glyphText, width, height, style)) {
            return *block;
        }
    }
    // The smallest style's room, filled: as many lines as fit, each full.
    const TextStyle& last = styles.back();
    int lines = last.maxLines;
    while (lines > 1 && BlockHeight(lines, last.scale) > height) {
        --lines;
    }
    const int perLine = std::max(GlyphsThatFit(width - kShadow, last.scale), 0);
    const auto room = static_cast<std::size_t>(lines * perLine);
    const std::string shortened = ShortenMiddle(glyphText, std::min(room, glyphText.size()));
    TextBlock block = Layout(shortened, width, height, {last.scale, lines})
                          .value_or(TextBlock{{shortened}, last.scale, false});
    block.shortened = true;
    return block;
}

void DrawTextBlock(Picture& picture, const TextBlock& block, int left, int top, int width,
                   int height, std::uint8_t ink, std::uint8_t shadow) {
    int y = top + (height - block.Height()) / 2;
    for (const std::string& line : block.lines) {
        const int x =
            left + (width - LineWidth(static_cast<int>(line.size()), block.scale) - kShadow) / 2;
        DrawGlyphLine(picture, line, x + kShadow, y + kShadow, block.scale, shadow);
        DrawGlyphLine(picture, line, x, y, block.scale, ink);
        y += LineHeight(block.scale) + LineGap(block.scale);
    }
}

} // namespace ballotine
