#include "cli/CliMain.h"
#include "cli/Commands.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace ballotine {

namespace {

// An option word of a help text and the placeholder of its value ("--list FILE"), if any.
struct OptionWord {
    std::string name;
    std::string value;
};

// The words of a synopsis or an option list: brackets, bars and punctuation only separate.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() ||
            std::string_view(" \n,;|[]()").find(text[i]) != std::string_view::npos) {
            if (i > start) {
                words.push_back(text.substr(start, i - start));
            }
            start = i + 1;
        }
    }
    return words;
}

bool IsOptionWord(std::string_view word) {
    const std::size_t dashes = word.starts_with("--") ? 2 : word.starts_with('-') ? 1 : 0;
    return dashes > 0 && word.size() > dashes && word[dashes] >= 'a' && word[dashes] <= 'z' &&
           std::all_of(word.begin() + static_cast<std::ptrdiff_t>(dashes), word.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
           });
}

// "FILE", "N", "MAP..." name what a user types; "OPTIONS" stands for the options.
bool IsPlaceholder(std::string_view word) {
    if (word.ends_with("...")) {
        word.remove_suffix(3);
    }
    return !word.empty() && word != "OPTIONS" &&
           std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

std::vector<OptionWord> OptionsIn(std::string_view text) {
    std::vector<OptionWord> options;
    const std::vector<std::string_view> words = Words(text);
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!IsOptionWord(words[i])) {
            continue;
        }
        OptionWord option{std::string(words[i]), {}};
        if (i + 1 < words.size() && IsPlaceholder(words[i + 1])) {
            option.value = words[++i];
            if (option.value.ends_with("...")) {
                option.value.resize(option.value.size() - 3);
            }
        }
        if (std::none_of(options.begin(), options.end(),
                         [&](const OptionWord& known) { return known.name == option.name; })) {
            options.push_back(option);
        }
    }
    return options;
}

// A command's options: those of its synopsis, and those its help lists first ("Options: ...").
std::vector<OptionWord> CommandOptions(const CommandInfo& command) {
    std::string text(command.synopsis);
    if (command.help.starts_with("Options:")) {
        text += " " + std::string(command.help.substr(0, command.help.find("\n\n")));
    }
    std::vector<OptionWord> options = OptionsIn(text);
    options.push_back({"--help", {}});
    return options;
}

// The arguments of a synopsis that are not options or option values, in order ("MAP...").
std::vector<std::string_view> Positionals(std::string_view synopsis) {
    std::vector<std::string_view> positionals;
    bool optionValue = false;
    for (const std::string_view word : Words(synopsis)) {
        if (IsOptionWord(word)) {
            optionValue = true;
        } else if (IsPlaceholder(word) && !std::exchange(optionValue, false)) {
            positionals.push_back(word);
        } else {
            optionValue = false;
        }
    }
    return positionals;
}

std::string Names(const std::vector<OptionWord>& options) {
    std::string names;
    for (const OptionWord& option : options) {
        names += (names.empty() ? "" : " ") + option.name;
    }
    return names;
}

// "--list:FILE --players:N": the options that take a value, and what the value names.
std::string ValuedOptions(const std::vector<OptionWord>& options) {
    std::string pairs;
    for (const OptionWord& option : options) {
        if (!option.value.empty()) {
            pairs += (pairs.empty() ? "" : " ") + option.name + ":" + option.value;
        }
    }
    return pairs;
}

std::vector<OptionWord> GlobalOptions() {
    std::vector<OptionWord> options;
    for (const OptionHelp& help : GlobalOptionsHelp()) {
        for (const OptionWord& option : OptionsIn(help.option)) {
            options.push_back(option);
        }
    }
    return options;
}

std::string CommandCases() {
    std::string cases;
    for (const CommandInfo& command : AllCommands()) {
        const std::vector<OptionWord> options = CommandOptions(command);
        std::string kinds;
        for (const std::string_view positional : Positionals(command.synopsis)) {
            kinds += (kinds.empty() ? "" : " ") + std::string(positional);
        }
        cases += "    " + std::string(command.name) + ")\n        options=\"" + Names(options) +
                 "\" valued=\"" + ValuedOptions(options) + "\" kinds=(" + kinds + ") ;;\n";
    }
    return cases;
}

// The script; @NAME@ marks where the texts go.
constexpr const char* kScript =
    R"sh(# bash completion for ballotine-cli, made by "ballotine-cli --bash-completion" from its help texts.

# A word as typed, without its quotes and with ~ expanded, as the program would get it.
_ballotine_cli_word() {
    local word=$1
    case $word in
    \'*\' | \"*\") word=${word:1:${#word}-2} ;;
    \~/*) word=$HOME/${word:2} ;;
    esac
    printf '%s' "$word"
}

# Completes the current word as what a placeholder names.
_ballotine_cli_fill() {
    local kind=$1 cur=$2 program=$3 map=$4
    shift 4
    case $kind in
    FILE)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur") ;;
    DIR | SOURCE | DEST)
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -d -- "$cur") ;;
    MAP)
        mapfile -t COMPREPLY < <(compgen -W "$("$program" "$@" maps 2>/dev/null </dev/null | cut -f1)" -- "$cur") ;;
    KEY)
        mapfile -t COMPREPLY < <(compgen -W "$("$program" "$@" sizes "$map" 2>/dev/null </dev/null | cut -f2)" -- "$cur") ;;
    esac
}

# The placeholder an option's value stands for, from "--list:FILE" pairs; nothing for others.
_ballotine_cli_value_of() {
    local option=$1 pair
    shift
    for pair in "$@"; do
        if [[ $option == "${pair%%:*}" ]]; then
            printf '%s' "${pair#*:}"
        fi
    done
}

_ballotine_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local program command="" i j word kind="" skip="" last=""
    local global_valued="@GLOBAL_VALUED@"
    local -a global=() args=() kinds=()
    program=$(_ballotine_cli_word "${COMP_WORDS[0]}")
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -n $(_ballotine_cli_value_of "$word" $global_valued) ]]; then
            ((i + 1 < COMP_CWORD)) && global+=("$word" "$(_ballotine_cli_word "${COMP_WORDS[i+1]}")")
            ((i++))
        elif [[ $word == -- ]]; then
            ((i + 1 < COMP_CWORD)) && command=${COMP_WORDS[i+1]} && ((i++))
            break
        elif [[ $word != -* ]]; then
            command=$word
            break
        fi
    done
    if [[ -z $command ]]; then
        kind=$(_ballotine_cli_value_of "$prev" $global_valued)
        if [[ -n $kind ]]; then
            _ballotine_cli_fill "$kind" "$cur" "$program" ""
        elif [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W "@GLOBAL_OPTIONS@" -- "$cur")
        else
            mapfile -t COMPREPLY < <(compgen -W "@COMMANDS@" -- "$cur")
        fi
        return
    fi
    local options="" valued=""
    case $command in
@COMMAND_CASES@    *) return ;;
    esac
    kind=$(_ballotine_cli_value_of "$prev" $valued $global_valued)
    if [[ -z $kind && $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi
    for ((j = i + 1; j < COMP_CWORD; j++)); do
        word=${COMP_WORDS[j]}
        if [[ -n $skip ]]; then
            skip=""
        elif [[ -n $(_ballotine_cli_value_of "$word" $valued $global_valued) ]]; then
            skip=1
        elif [[ $word != -* ]]; then
            args+=("$(_ballotine_cli_word "$word")")
        fi
    done
    if [[ -z $kind ]]; then
        if ((${#args[@]} < ${#kinds[@]})); then
            kind=${kinds[${#args[@]}]}
        elif ((${#kinds[@]} > 0)) && [[ ${kinds[${#kinds[@]}-1]} == *... ]]; then
            kind=${kinds[${#kinds[@]}-1]}
        fi
    fi
    ((${#args[@]} > 0)) && last=${args[${#args[@]}-1]}
    _ballotine_cli_fill "${kind%...}" "$cur" "$program" "$last" "${global[@]}"
}

complete -F _ballotine_cli ballotine-cli
)sh";

void Fill(std::string& script, std::string_view mark, const std::string& text) {
    const std::size_t at = script.find(mark);
    script.replace(at, mark.size(), text);
}

} // namespace

std::string BashCompletionScript() {
    const std::vector<OptionWord> global = GlobalOptions();
    std::string commands;
    for (const CommandInfo& command : AllCommands()) {
        commands += (commands.empty() ? "" : " ") + std::string(command.name);
    }
    std::string script = kScript;
    Fill(script, "@GLOBAL_VALUED@", ValuedOptions(global));
    Fill(script, "@GLOBAL_OPTIONS@", Names(global));
    Fill(script, "@COMMANDS@", commands);
    Fill(script, "@COMMAND_CASES@", CommandCases());
    return script;
}

} // namespace ballotine
