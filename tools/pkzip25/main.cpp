#include "BuildInfo.h"
#include "pkzip25/Extractor.h"
#include "pkzip25/ToolArguments.h"

#include <clocale>
#include <cstdio>
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

} // namespace

// pkzip25 -extract -nofix -direct -over=all ARCHIVE TARGET/, or --help, or --version
// Exit status: 0 extracted, 1 failed (nothing changed), 2 bad command line.
int main(int argc, char** argv) {
    using namespace ballotine::pkzip25;
    UseUtf8Names();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (arguments == std::vector<std::string_view>{"--version"}) {
        std::printf("pkzip25 %s\n", ballotine::kVersion);
        return 0;
    }
    const ParsedArguments parsed = ParseArguments(arguments);
    if (parsed.helpWanted) {
        std::printf("%s\n       pkzip25 --help | --version\n\n"
                    "Unpacks a zip archive into the target folder, keeping its folders and\n"
                    "overwriting existing files. Refuses archives with entries that would land\n"
                    "outside the target folder.\n\n"
                    "-extract   unpack (the one job the tool does)\n"
                    "-direct    keep the archive's folders below TARGET/\n"
                    "-over=all  overwrite files that are already there\n"
                    "-nofix     do not try to repair a damaged archive (never done)\n\n"
                    "Options may come in any order, in any letter case. Exit status: 0 unpacked,\n"
                    "1 failed (nothing changed), 2 bad command line.\n",
                    kUsage);
        return 0;
    }
    if (!parsed.request) {
        std::fprintf(stderr, "pkzip25: %s (%s)\n", parsed.error.c_str(), kUsage);
        return 2;
    }
    std::string reason;
    if (!ExtractArchive(*parsed.request, reason)) {
        std::fprintf(stderr, "pkzip25: %s\n", reason.c_str());
        return 1;
    }
    return 0;
}
