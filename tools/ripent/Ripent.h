#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::ripent {

inline constexpr int kExitOk = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// ripent -import PATH | -export PATH | --help (`args` without the program name). Returns the
// exit status. Success prints nothing; a refusal prints one line on `err`.
int RunRipent(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The map's path without its extension: "maps/vote", "maps/vote.bsp" and "maps/vote.ENT" all
// name the pair maps/vote.bsp and maps/vote.ent.
std::string MapBasePath(std::string_view path);

// Writes BASE.ent as the entity lump of BASE.bsp, replacing the map whole or not at all.
// False, with `error` naming the file and the reason, when anything is refused or fails.
bool ImportEntities(const std::string& base, std::string& error);
// Writes the entity lump of BASE.bsp, without its terminating zero byte, to BASE.ent.
bool ExportEntities(const std::string& base, std::string& error);

} // namespace ballotine::ripent
