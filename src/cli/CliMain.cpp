#include "cli/CliMain.h"

#include "BuildInfo.h"
#include "catalogue/GameLocator.h"
#include "catalogue/ModListFile.h"
#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "models/EntityTool.h"
#include "platform/FileSystem.h"
#include "platform/GameLock.h"
#include "platform/Paths.h"
#include "platform/ToolRunner.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>

namespace ballotine {

namespace {

struct GlobalOptions {
    std::optional<std::string> registryFile;
    std::vector<std::string> mods;
    std::optional<bool> answer;
    std::chrono::milliseconds wait{2000};
    bool help = false;
    bool man = false;
    bool version = false;
    bool completion = false;
    std::string command;
    CommandArgs commandArgs;
};

// A number of seconds, whole or with a fraction (0 gives up at once); nothing for other text.
std::optional<std::chrono::milliseconds> ParseSeconds(const std::string& text) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !(seconds >= 0) || seconds > 86400) {
        return std::nullopt;
    }
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
}

// Global options may stand anywhere before "--"; the first other word is the command and the
// rest belongs to it. Returns an error text for a malformed line.
std::optional<std::string> ParseGlobalOptions(const std::vector<std::string>& args,
                                              GlobalOptions& options) {
    bool literal = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!literal && arg == "--") {
            literal = true;
            if (!options.command.empty()) {
                options.commandArgs.push_back(arg);
            }
            continue;
        }
        if (!literal && (arg == "--registry" || arg == "--mod")) {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            if (arg == "--registry") {
                options.registryFile = args[++i];
            } else {
                options.mods.push_back(args[++i]);
            }
        } else if (!literal && arg == "--wait") {
            const auto seconds = i + 1 < args.size() ? ParseSeconds(args[i + 1]) : std::nullopt;
            if (!seconds) {
                return "--wait needs a number of seconds";
            }
            options.wait = *seconds;
            ++i;
        } else if (!literal && (arg == "--yes" || arg == "--no")) {
            if (options.answer && *options.answer != (arg == "--yes")) {
                return "--yes and --no exclude each other";
            }
            options.answer = arg == "--yes";
        } else if (!literal && (arg == "--help" || arg == "-h")) {
            options.help = true;
        } else if (!literal && arg == "--man" && options.command.empty()) {
            options.man = true;
        } else if (!literal && arg == "--version" && options.command.empty()) {
            options.version = true;
        } else if (!literal && arg == "--bash-completion" && options.command.empty()) {
            options.completion = true;
        } else if (options.command.empty()) {
            if (!literal && arg.size() > 1 && arg[0] == '-') {
                return "unknown option " + arg;
            }
            options.command = arg;
        } else {
            options.commandArgs.push_back(arg);
        }
    }
    return std::nullopt;
}

// Selects the mod named by --mod, by its folder or its title.
bool SelectRequestedMod(CliContext& context, const std::string& name) {
    Session& session = context.session;
    if (!SelectModByFolderOrTitle(session, name)) {
        context.err << "No installed mod has the folder or title '" << name << "'. Offered:";
        for (const ModRecord& record : session.mods.records) {
            if (record.offered) {
                context.err << " " << record.dir << " '" << record.title << "'";
            }
        }
        context.err << "\n";
        return false;
    }
    return true;
}

// The working folder's ripent as new as the installed one, before a command may run it.
void RefreshWorkingEntityTool(CliContext& context) {
    const EntityToolRefresh refresh = RefreshEntityTool(
        context.session.paths.workDir, HelperToolFolders(ProgramFolder()), context.services.runner);
    if (!refresh.text.empty()) {
        context.err << refresh.text << "\n";
    }
}

} // namespace

void SayHowToStart(CliContext& context) {
    if (!RegisteredGameFolder(context.registry)) {
        context.err << "Point ballotine-cli at the game with: ballotine-cli locate DIR "
                       "(without DIR it lists likely game folders)\n";
    } else if (!QueryFile(context.session.paths.workDir + kModListFileName)) {
        context.err << "Set the game up for Ballotine with: ballotine-cli init\n";
    }
}

const std::vector<OptionHelp>& GlobalOptionsHelp() {
    static const std::vector<OptionHelp> options = {
        {"--registry FILE", "read the game's InstallPath from FILE instead of\n"
                            "~/.config/Ballotine/registry.conf"},
        {"--mod MOD", "work on the mod of that folder or title (folder first, letter\n"
                      "case ignored; default: the preselected one); init takes it\n"
                      "once per mod folder to set up"},
        {"--yes, --no", "answer every question; otherwise questions are asked on the\n"
                        "terminal, and answered No when input is not a terminal"},
        {"--wait SECONDS", "how long a command that changes the game waits while another\n"
                           "program changes it (default 2); then it fails naming that program"},
        {"--help, -h", "print this help; COMMAND --help describes one command"},
        {"--version", "print the program's version"},
        {"--man", "print the manual page (troff) made from these texts"},
        {"--bash-completion", "print the bash completion script made from these texts"},
        {"--", "ends the options: every later word is the command or its arguments"},
    };
    return options;
}

std::string UsageText() {
    std::string text = "Usage: ballotine-cli [--registry FILE] [--mod MOD] [--yes | --no] "
                       "[--wait SECONDS] COMMAND [ARGS...]\n"
                       "\n" +
                       std::string(kProgramPurpose) +
                       "\n"
                       "\n"
                       "Options:\n";
    constexpr std::size_t kOptionColumn = 19;
    for (const OptionHelp& option : GlobalOptionsHelp()) {
        std::string left = "  " + std::string(option.option);
        left.resize(std::max(left.size() + 2, kOptionColumn), ' ');
        std::string_view rest = option.text;
        for (std::size_t end = rest.find('\n'); end != std::string_view::npos;
             end = rest.find('\n')) {
            text += left + std::string(rest.substr(0, end)) + "\n";
            left.assign(kOptionColumn, ' ');
            rest.remove_prefix(end + 1);
        }
        text += left + std::string(rest) + "\n";
    }
    text += "\nCommands:\n";
    for (const CommandInfo& command : AllCommands()) {
        std::string left = "  " + std::string(command.name);
        if (!command.synopsis.empty()) {
            left += " " + std::string(command.synopsis);
        }
        if (left.size() < 30) {
            left.resize(30, ' ');
        } else {
            left += "  ";
        }
        text += left + std::string(command.summary) + "\n";
    }
    text += "\n" + std::string(kOutputRules) + "\n";
    return text;
}

std::string CommandHelpText(const std::string& name) {
    const CommandInfo* command = FindCommand(name);
    if (command == nullptr) {
        return {};
    }
    std::string text = "Usage: ballotine-cli [OPTIONS] " + std::string(command->name);
    if (!command->synopsis.empty()) {
        text += " " + std::string(command->synopsis);
    }
    text += "\n\n" + std::string(command->summary) + ".\n\n" + std::string(command->help) + "\n";
    return text;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           std::istream& in, bool inputIsTerminal) {
    GlobalOptions options;
    if (const auto error = ParseGlobalOptions(args, options)) {
        err << "ballotine-cli: " << *error << "\n\n" << UsageText();
        return kExitUsage;
    }
    if (options.version) {
        out << "ballotine-cli " << kVersion << '\n';
        return kExitOk;
    }
    if (options.man) {
        out << ManPageText();
        return kExitOk;
    }
    if (options.completion) {
        out << BashCompletionScript();
        return kExitOk;
    }
    if (options.command.empty()) {
        (options.help ? out : err) << UsageText();
        return options.help ? kExitOk : kExitUsage;
    }
    const CommandInfo* command = FindCommand(options.command);
    if (command == nullptr) {
        err << "ballotine-cli: unknown command '" << options.command << "'\n\n" << UsageText();
        return kExitUsage;
    }
    if (options.help) {
        out << CommandHelpText(options.command);
        return kExitOk;
    }

    TerminalPrompter prompter(err, in, options.answer, inputIsTerminal);
    prompter.SetGameBusyWait(options.wait);
    SpawnToolRunner runner(HelperToolFolders(ProgramFolder()));
    SteadyClock clock;
    CliContext context{out,
                       err,
                       prompter,
                       Services{prompter, runner, clock},
                       options.registryFile ? std::filesystem::path(*options.registryFile)
                                            : DefaultRegistryPath(),
                       {},
                       {},
                       options.mods};
    context.registry = RegistryFile::Load(context.registryPath);

    // A command that changes the game holds its writer lock from before it reads the mod list
    // to its end, so it never saves what another program changed meanwhile.
    std::optional<GameLock> lock;
    if (command->needsSession) {
        if (options.mods.size() > 1) {
            err << "ballotine-cli: --mod names one mod for " << command->name << "\n";
            return kExitUsage;
        }
        // StartSession's two steps, with the lock taken between them.
        if (!LocateGame(context.session.paths, context.registry, prompter)) {
            SayHowToStart(context);
            return kExitFailed;
        }
        if (!command->writes.empty()) {
            lock = LockGameForWriting(context.session.paths.workDir, command->writes, prompter);
            if (!lock) {
                return kExitFailed;
            }
        }
        if (!LoadModList(context.session, prompter)) {
            SayHowToStart(context);
            return kExitFailed;
        }
        if (!options.mods.empty() && !SelectRequestedMod(context, options.mods.front())) {
            return kExitUsage;
        }
        RefreshWorkingEntityTool(context);
    }
    return command->run(context, options.commandArgs);
}

} // namespace ballotine
