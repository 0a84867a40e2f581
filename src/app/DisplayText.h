#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace ballotine {

// Files hold bytes. Shown text is decoded as UTF-8 when the bytes are valid UTF-8, else as
// Windows-1252, the code page the game's files were written in.
QString ToDisplayText(std::string_view bytes);

// What the user typed, as the bytes the files hold (UTF-8).
std::string FromDisplayText(const QString& text);

} // namespace ballotine
