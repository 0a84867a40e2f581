#pragma once

#include "catalogue/Session.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace ballotine {

class TerminalPrompter;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the operation failed or was declined
inline constexpr int kExitUsage = 2;  // the command line was wrong

// What a command works with. Output is one record per line, fields separated by a tab;
// messages and questions go to `err` through the prompter.
struct CliContext {
    std::ostream& out;
    std::ostream& err;
    TerminalPrompter& prompter;
    Services services;
    std::filesystem::path registryPath;
    RegistryFile registry;
    Session
        session; // started (game located, mod list read, mod selected) for commands that need it
    std::vector<std::string> modChoices; // every --mod given, in order
};

using CommandArgs = std::vector<std::string>;

} // namespace ballotine
