#include "cli/CliMain.h"
#include "cli/Commands.h"

namespace ballotine {

namespace {

// Text as troff prints it: backslashes escaped, option dashes as real hyphen-minus signs (so
// a reader can copy them; inside an option such as --no-thugs too), and no line taken for a
// request. `name` marks a command's name, all of whose dashes are typed as they are.
std::string Escaped(std::string_view text, bool name = false) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    bool lineStart = true;
    bool inOption = name;
    char previous = ' ';
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        const bool wordStart = previous == ' ' || previous == '-' || previous == '[' ||
                               previous == '(' || previous == '\n' || previous == '|' ||
                               previous == '"';
        if (c == '-' && wordStart) {
            inOption = true;
        } else if (c == ' ' || c == '\n') {
            inOption = name;
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-' && inOption) {
            out += "\\-";
        } else {
            out += c;
        }
        lineStart = c == '\n';
        previous = c;
    }
    return out;
}

// A help text's paragraphs, each after `request` (the first too), lines kept as written.
std::string Paragraphs(std::string_view text, std::string_view request) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\n\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        out += std::string(request) + "\n" + Escaped(text.substr(start, end - start)) + "\n";
        start = end + 2;
    }
    return out;
}

std::string CommandsSection() {
    std::string out = ".SH COMMANDS\n";
    for (const CommandInfo& command : AllCommands()) {
        out += ".TP\n\\fB" + Escaped(command.name, true) + "\\fR";
        if (!command.synopsis.empty()) {
            out += " " + Escaped(command.synopsis);
        }
        out += "\n" + Escaped(command.summary) + ".\n";
        out += Paragraphs(command.help, ".IP");
    }
    return out;
}

std::string OptionsSection() {
    std::string out = ".SH OPTIONS\n";
    for (const OptionHelp& option : GlobalOptionsHelp()) {
        out += ".TP\n\\fB" + Escaped(option.option) + "\\fR\n" + Escaped(option.text) + "\n";
    }
    return out;
}

} // namespace

std::string ManPageText() {
    std::string out =
        ".\\\" Made by ballotine-cli --man from its help texts; do not edit.\n"
        ".TH BALLOTINE\\-CLI 1 \"\" \"Ballotine\" \"User Commands\"\n"
        ".nh\n"
        ".SH NAME\n"
        "ballotine\\-cli \\- vote maps for Half\\-Life TFC servers, without a window\n"
        ".SH SYNOPSIS\n"
        ".B ballotine\\-cli\n"
        "[\\fB\\-\\-registry\\fR \\fIFILE\\fR] [\\fB\\-\\-mod\\fR \\fIMOD\\fR] "
        "[\\fB\\-\\-yes\\fR | \\fB\\-\\-no\\fR] [\\fB\\-\\-wait\\fR \\fISECONDS\\fR] "
        "\\fICOMMAND\\fR [\\fIARGS\\fR...]\n"
        ".br\n"
        ".B ballotine\\-cli\n"
        "\\fICOMMAND\\fR \\fB\\-\\-help\\fR\n"
        ".SH DESCRIPTION\n";
    out += Escaped(kProgramPurpose) + "\n";
    out += OptionsSection();
    out += CommandsSection();
    out += ".SH OUTPUT AND EXIT STATUS\n" + Escaped(kOutputRules) + "\n";
    out += ".SH FILES\n"
           ".TP\n"
           ".I ~/.config/Ballotine/registry.conf\n"
           "where the game is installed (\\fB$XDG_CONFIG_HOME\\fR is used when set); "
           "\\fBlocate\\fR writes it\n"
           ".TP\n"
           ".I GAME/Ballotine/mods.cfg\n"
           "the mods the program knows, with their update server addresses; \\fBinit\\fR "
           "makes it\n"
           ".TP\n"
           ".I GAME/Ballotine/MOD/\n"
           "the working folder of a mod: \\fIEntities/\\fR, \\fIVoteMapLists/\\fR, "
           "\\fIservertypes.conf\\fR, \\fIconfig.conf\\fR, \\fImappings.conf\\fR; \\fBinit\\fR "
           "makes what is missing\n"
           ".TP\n"
           ".I GAME/Ballotine/ripent\n"
           "the entity tool the compile and the entity update run; \\fBinit\\fR puts the "
           "installed one there, every command replaces it when it is older, and "
           "\\fBinstall\\-tools\\fR replaces it whatever its version\n";
    return out;
}

} // namespace ballotine
