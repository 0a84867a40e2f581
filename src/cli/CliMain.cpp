#include "cli/CliMain.h"

#include "cli/Commands.h"
#include "cli/TerminalPrompter.h"
#include "platform/Paths.h"

#include <optional>

namespace ballotine {

namespace {

struct GlobalOptions {
    std::optional<std::string> registryFile;
    std::optional<std::string> modTitle;
    std::optional<bool> answer;
    bool help = false;
    std::string command;
    CommandArgs commandArgs;
};

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
            (arg == "--registry" ? options.registryFile : options.modTitle) = args[++i];
        } else if (!literal && (arg == "--yes" || arg == "--no")) {
            if (options.answer && *options.answer != (arg == "--yes")) {
                return "--yes and --no exclude each other";
            }
            options.answer = arg == "--yes";
        } else if (!literal && (arg == "--help" || arg == "-h")) {
            options.help = true;
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

// Selects the mod named by --mod as a user would pick it from the selector.
bool SelectRequestedMod(CliContext& context, const std::string& title) {
    Session& session = context.session;
    if (!session.selector.SelectTitle(title)) {
        context.err << "No installed mod is titled '" << title << "'. Offered:";
        for (const std::string& entry : session.selector.Entries()) {
            context.err << " '" << entry << "'";
        }
        context.err << "\n";
        return false;
    }
    SelectCurrentMod(session);
    return true;
}

} // namespace

std::string UsageText() {
    std::string text =
        "Usage: ballotine-cli [--registry FILE] [--mod TITLE] [--yes | --no] COMMAND [ARGS...]\n"
        "\n"
        "Builds and manages vote maps for Half-Life servers running TFC, without a window.\n"
        "\n"
        "Options:\n"
        "  --registry FILE  read the game's InstallPath from FILE instead of\n"
        "                   ~/.config/Ballotine/registry.conf\n"
        "  --mod TITLE      work on the mod of that title (default: the preselected one)\n"
        "  --yes, --no      answer every question; otherwise questions are asked on the\n"
        "                   terminal, and answered No when input is not a terminal\n"
        "  --help           this text; COMMAND --help describes one command\n"
        "\n"
        "Commands:\n";
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
    text += "\n"
            "Output is one record per line, fields separated by a tab. Messages and questions\n"
            "go to standard error. Exit status: 0 success, 1 failed or declined, 2 usage error.\n";
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
    ShellCommandRunner runner({ProgramFolder()});
    SteadyClock clock;
    CliContext context{out,
                       err,
                       prompter,
                       Services{prompter, runner, clock},
                       options.registryFile ? std::filesystem::path(*options.registryFile)
                                            : DefaultRegistryPath(),
                       {},
                       {}};
    context.registry = RegistryFile::Load(context.registryPath);

    if (command->needsSession) {
        if (!StartSession(context.session, context.registry, prompter)) {
            return kExitFailed;
        }
        if (options.modTitle && !SelectRequestedMod(context, *options.modTitle)) {
            return kExitUsage;
        }
    }
    return command->run(context, options.commandArgs);
}

} // namespace ballotine
