#include "cli/VoteListArguments.h"

#include "cli/TerminalPrompter.h"
#include "models/ListFlows.h"
#include "models/MainWindowModel.h"

#include <charconv>

namespace ballotine {

namespace {

std::optional<int> ParseNumber(const std::string& text, int minimum, int maximum) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < minimum || value > maximum) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool ParseVoteListArguments(CliContext& context, std::string_view command, const CommandArgs& args,
                            bool listAllowed, VoteListArguments& parsed) {
    bool literal = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue =
            arg == "--players" || arg == "--walls" || (listAllowed && arg == "--list");
        if (literal || arg.empty() || arg[0] != '-') {
            parsed.words.push_back(arg);
        } else if (arg == "--") {
            literal = true;
        } else if (arg == "--no-thugs") {
            parsed.noThugs = true;
        } else if (!takesValue) {
            context.err << command << ": unknown option " << arg << "\n";
            return false;
        } else if (i + 1 >= args.size()) {
            context.err << command << ": " << arg << " needs a value\n";
            return false;
        } else if (arg == "--list") {
            parsed.listFile = args[++i];
        } else {
            const bool players = arg == "--players";
            auto& target = players ? parsed.players : parsed.walls;
            target = players ? ParseNumber(args[++i], kMinPlayers, kMaxPlayers)
                             : ParseNumber(args[++i], kMinWallStrength, kMaxWallStrength);
            if (!target) {
                context.err << command << ": " << arg << " takes "
                            << (players ? "4 to 32" : "0 to 3") << ", not '" << args[i] << "'\n";
                return false;
            }
        }
    }
    return true;
}

int BuildVoteList(CliContext& context, std::string_view command, MainWindowModel& model,
                  const VoteListArguments& arguments, const std::vector<std::string>& maps) {
    model.ScanAvailableMaps();
    VoteMapSettings& settings = model.Settings();
    settings.OnThugsToggled(!arguments.noThugs);
    if (arguments.listFile) {
        context.prompter.SetNextFile(*arguments.listFile);
        if (!LoadVoteMapList(model, context.prompter)) {
            return kExitFailed;
        }
    }
    settings.OnPlayersChanged(arguments.players.value_or(settings.playerCount));
    if (arguments.walls) {
        settings.OnWallsChanged(*arguments.walls);
    }
    MapList& available = model.AvailableMaps();
    available.ClearSelection();
    for (const std::string& name : maps) {
        if (model.ChosenMaps().FindNoCase(name)) {
            continue; // the list file brought it already
        }
        const auto match = available.FindNoCase(name);
        if (!match) {
            context.err << command << ": '" << name << "' is not in Available Maps\n";
            return kExitFailed;
        }
        available.SetSelected(*match, true);
    }
    model.AddChosenMaps();
    return kExitOk;
}

} // namespace ballotine
