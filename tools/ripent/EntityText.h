#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ballotine::ripent {

// Why the game would stop the server on this entity text, with the line it happened on, or
// nothing when the text is a sequence of well-formed entities: "{", quoted key and value
// pairs, "}". Whitespace and "//" comments lie between tokens; strings have no escapes and run
// to the next double quote, line ends included.
std::optional<std::string> FindEntityTextError(std::string_view text);

// The entity lump for the content of a .ent file: the text with exactly one zero byte after
// it. A zero byte at the very end of the file is already that terminator (exported maps keep
// it). Nothing, with `error` set, for text the game could not load.
std::optional<std::string> MakeEntityLump(std::string_view fileContent, std::string& error);

// The text of an entity lump as a .ent file holds it: without its terminating zero byte.
std::string_view EntityTextOfLump(std::string_view lump);

} // namespace ballotine::ripent
