#include "BuildInfo.h"
#include "pkzip25/EntryPath.h"
#include "pkzip25/ExpansionLimit.h"
#include "pkzip25/Extractor.h"
#include "pkzip25/ToolArguments.h"

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <langinfo.h>
#include <string>
#include <string_view>
#include <vector>

namespace {

// libarchive hands out entry names in the locale's character set; names are written as
// UTF-8 whatever locale the command runs under.
void UseUtf8Names() {
    if (std::setlocale(LC_CTYPE, "") == nullptr ||
        std::string_view(nl_langinfo(CODESET)) != "UTF-8") {
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
}

void PrintHelp() {
    using namespace ballotine::pkzip25;
    std::printf("%s\n"
                "       pkzip25 --help | --version\n"
                "\n"
                "Unpacks a zip archive into the target folder, keeping its folders and\n"
                "overwriting existing files, all or nothing: when any entry cannot be written,\n"
                "the target is left as it was.\n"
                "\n"
                "-extract       unpack (the one job the tool does)\n"
                "-direct        keep the archive's folders below TARGET/\n"
                "-over=all      overwrite files that are already there\n"
                "-nofix         do not try to repair a damaged archive (never done)\n"
                "-maxsize=SIZE  the most the archive may expand to (see below)\n"
                "-protect=FOLDER  refuse an archive that writes into FOLDER (below TARGET/)\n"
                "-allow=PATTERN   but for files matching PATTERN (\"Tools/*.ref\"); both may\n"
                "                 be given more than once\n"
                "\n"
                "Options may come in any order, in any letter case.\n"
                "\n"
                "Refused archives (exit status 1, nothing changed):\n"
                "  - entries that would land outside the target folder: absolute paths, drive\n"
                "    letters, '..', links, paths through a link or a file in the target;\n"
                "  - names no file system holds: a component over 255 bytes, a path over 4095;\n"
                "  - entries in a protected folder that no -allow pattern lets through;\n"
                "  - entries that clash with each other or with the target: a file where a\n"
                "    folder is, one name twice (letter case aside);\n"
                "  - archives that expand to more than %s, or past %s to more than %llu\n"
                "    times their own size: game files deflate 2 to 10 times, decompression\n"
                "    bombs a thousand. Each entry counts %s more. The sizes the archive\n"
                "    declares are checked before anything is written, and no entry may write\n"
                "    more than it declared. -maxsize=SIZE (bytes, or a number and K, M or G)\n"
                "    or the variable %s sets another cap than %s.\n"
                "\n"
                "A run that is killed leaves a record in the target folder; the next run into\n"
                "that folder puts back what it replaced and removes what it made, first.\n"
                "\n"
                "Exit status: 0 extracted, 1 refused or failed (one line on standard error\n"
                "says why), 2 bad command line.\n",
                kUsage, ShownSize(kDefaultMaxTotal).c_str(), ShownSize(kRatioFloor).c_str(),
                static_cast<unsigned long long>(kMaxRatio), ShownSize(kEntryCost).c_str(),
                kMaxSizeVariable, ShownSize(kDefaultMaxTotal).c_str());
}

} // namespace

// pkzip25 -extract -nofix -direct -over=all [-maxsize=SIZE] [-protect=F] [-allow=P] ARCHIVE TARGET/
// (or --help, --version) Exit status: 0 extracted, 1 failed (nothing changed), 2 bad command line.
int main(int argc, char** argv) {
    using namespace ballotine::pkzip25;
    UseUtf8Names();
    // A file size limit (ulimit -f) then fails a write, which is undone, instead of killing
    // the tool halfway.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments == std::vector<std::string_view>{"--version"}) {
        std::printf("pkzip25 %s\n", ballotine::kVersion);
        return 0;
    }
    const char* maxSize = std::getenv(kMaxSizeVariable);
    const ParsedArguments parsed = ParseArguments(arguments, maxSize != nullptr ? maxSize : "");
    if (parsed.helpWanted) {
        PrintHelp();
        return 0;
    }
    if (!parsed.request) {
        std::fprintf(stderr, "pkzip25: %s (%s)\n", Printable(parsed.error).c_str(), kUsage);
        return 2;
    }
    ExtractOptions options;
    options.note = [](const std::string& note) {
        std::fprintf(stderr, "pkzip25: %s\n", Printable(note).c_str());
    };
    std::string reason;
    if (!ExtractArchive(*parsed.request, options, reason)) {
        std::fprintf(stderr, "pkzip25: %s\n", Printable(reason).c_str());
        return 1;
    }
    return 0;
}
