#!/usr/bin/env python3
"""Writes a program's manual page (troff, man macros) from its own --help text.

The help text is the one source: its "Usage:" lines become the synopsis, option lines
("  -x, --long VALUE   what it does") the options, everything else the description.
"""
import argparse
import re
import subprocess
import sys

OPTION_LINE = re.compile(r"^\s*(-\S.*?)(?:\s{2,}|\t+)(\S.*)$")
HEADING = re.compile(r"^[A-Z][A-Za-z ]*:$")


def escaped(text, option=False):
    """Text as troff prints it; dashes inside an option stay minus signs so they can be copied."""
    out = []
    in_option = option
    previous = " "
    for c in text:
        if c == "-" and (previous in " ([|,\"-" or in_option):
            in_option = True
            out.append("\\-")
            previous = c
            continue
        if c in " \t":
            in_option = option
        out.append("\\e" if c == "\\" else c)
        previous = c
    line = "".join(out)
    return "\\&" + line if line[:1] in (".", "'") else line


def synopsis_line(line, program):
    """One usage line: the program in bold, options in bold, placeholders in italics."""
    words = []
    for word in line.split():
        core = word.strip("[]|.,<>/")
        if word == program:
            words.append("\\fB" + escaped(word) + "\\fR")
        elif core.startswith("-") and core != "-":
            words.append(word.replace(core, "\\fB" + escaped(core, True) + "\\fR"))
        elif core.isupper() and core.isalpha():
            words.append(word.replace(core, "\\fI" + core + "\\fR"))
        else:
            words.append(escaped(word))
    return " ".join(words)


def parse_help(text, program):
    """(usage lines, description paragraphs, [(option, text)])."""
    lines = text.rstrip("\n").split("\n")
    usage = []
    while lines and (not usage or (lines[0].startswith(" ") and program in lines[0])):
        line = lines.pop(0)
        if not usage:
            match = re.match(r"^usage:\s*(.*)$", line, re.IGNORECASE)
            if not match:
                sys.exit(f"help_to_man: the help of {program} does not begin with 'Usage:'")
            line = match.group(1)
        usage.append(line.strip())
    paragraphs, options, current = [], [], []
    for line in lines + [""]:
        match = OPTION_LINE.match(line)
        if match:
            options.append([match.group(1).strip(), match.group(2).strip()])
        elif options and line.startswith("   ") and line.strip() and not current:
            options[-1][1] += " " + line.strip()
        elif HEADING.match(line.strip()):
            continue
        elif line.strip():
            current.append(line.strip())
        elif current:
            paragraphs.append(current)
            current = []
    return usage, paragraphs, options


def man_page(program, summary, version, help_text, see_also, notes):
    usage, paragraphs, options = parse_help(help_text, program)
    title = escaped(program.upper())
    out = [
        f".\\\" Made from {program} --help; do not edit.",
        f'.TH {title} 1 "" "Ballotine {version}" "User Commands"',
        ".nh",
        ".SH NAME",
        f"{escaped(program, True)} \\- {escaped(summary)}",
        ".SH SYNOPSIS",
    ]
    for index, line in enumerate(usage):
        if index:
            out.append(".br")
        out.append(synopsis_line(line, program))
    out.append(".SH DESCRIPTION")
    for index, paragraph in enumerate(paragraphs):
        if index:
            out.append(".PP")
        out.extend(escaped(line) for line in paragraph)
    if options:
        out.append(".SH OPTIONS")
        for option, text in options:
            out += [".TP", "\\fB" + escaped(option, True) + "\\fR", escaped(text)]
    if notes:
        out += [".SH NOTES", escaped(notes)]
    if see_also:
        pages = [re.match(r"^(.*)\((\d)\)$", page) for page in see_also]
        out += [".SH SEE ALSO", ",\n".join(f"\\fB{escaped(m.group(1), True)}\\fR({m.group(2)})"
                                           for m in pages if m)]
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True, help="the built program to ask for --help")
    parser.add_argument("--name", required=True, help="the program's installed name")
    parser.add_argument("--summary", required=True, help="the NAME line's description")
    parser.add_argument("--version", required=True)
    parser.add_argument("--see-also", action="append", default=[], help="e.g. ballotine-cli(1)")
    parser.add_argument("--notes", default="", help="a NOTES paragraph")
    parser.add_argument("--output", required=True)
    args = parser.parse_args()
    env = {"QT_QPA_PLATFORM": "offscreen", "PATH": "/usr/bin:/bin", "LANG": "C.UTF-8"}
    result = subprocess.run([args.program, "--help"], capture_output=True, text=True, env=env)
    if result.returncode != 0:
        sys.exit(f"help_to_man: {args.program} --help failed: {result.stderr}")
    page = man_page(args.name, args.summary, args.version, result.stdout, args.see_also,
                    args.notes)
    with open(args.output, "w", encoding="utf-8") as file:
        file.write(page)


if __name__ == "__main__":
    main()
