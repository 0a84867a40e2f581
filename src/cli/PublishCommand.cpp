#include "cli/Commands.h"
#include "publish/Publisher.h"

#include <optional>

namespace ballotine {

namespace {

// publish's own arguments: SOURCE, DEST and --base-url URL (the mod folders come as --mod).
std::optional<PublishRequest> ParsePublishArgs(const CommandArgs& args, std::ostream& err) {
    PublishRequest request;
    std::vector<std::string> folders;
    bool literal = false;
    bool haveBase = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!literal && arg == "--") {
            literal = true;
        } else if (!literal && arg == "--base-url") {
            if (i + 1 >= args.size() || haveBase) {
                err << "publish: --base-url takes one address, once\n";
                return std::nullopt;
            }
            request.baseUrl = args[++i];
            haveBase = true;
        } else if (!literal && arg.size() > 1 && arg.starts_with('-')) {
            err << "publish: unknown option " << arg << "\n";
            return std::nullopt;
        } else {
            folders.push_back(arg);
        }
    }
    if (folders.size() != 2 || !haveBase) {
        err << "publish: needs SOURCE, DEST and --base-url URL\n";
        return std::nullopt;
    }
    request.source = folders[0];
    request.dest = folders[1];
    return request;
}

const char* ChangeText(PackageChange change) {
    switch (change) {
    case PackageChange::New:
        return "new";
    case PackageChange::Changed:
        return "changed";
    case PackageChange::Unchanged:
        break;
    }
    return "unchanged";
}

void PrintReport(const PublishReport& report, std::ostream& out) {
    for (const PackageOutcome& package : report.packages) {
        out << "package\t" << package.path << '\t' << package.kind << '\t' << package.version
            << '\t' << package.size << '\t' << ChangeText(package.change) << '\n';
    }
    for (const ListOutcome& list : report.lists) {
        out << "list\t" << list.path << '\t' << (list.changed ? "changed" : "unchanged") << '\n';
    }
    for (const std::string& removed : report.removed) {
        out << "removed\t" << removed << '\n';
    }
    for (const MissingFile& missing : report.missing) {
        out << "missing\t" << missing.mod << '\t' << missing.key << '\t' << missing.path << '\n';
    }
}

} // namespace

int RunPublishCommand(CliContext& context, const CommandArgs& args) {
    std::optional<PublishRequest> request = ParsePublishArgs(args, context.err);
    if (!request) {
        return kExitUsage;
    }
    request->mods = context.modChoices;
    const PublishReport report = Publish(*request);
    for (const std::string& warning : report.warnings) {
        context.err << "warning: " << warning << '\n';
    }
    if (!report.Succeeded()) {
        context.err << "publish: " << report.error << "\nNothing was changed in "
                    << request->dest.string() << ".\n";
        return kExitFailed;
    }
    PrintReport(report, context.out);
    std::size_t written = 0;
    for (const PackageOutcome& package : report.packages) {
        written += package.change != PackageChange::Unchanged ? 1 : 0;
    }
    context.err << "Published " << report.maps << " maps: " << written << " of "
                << report.packages.size() << " packages written, " << report.removed.size()
                << " files removed";
    if (!report.missing.empty()) {
        context.err << "; " << report.missing.size()
                    << " files the maps name are not in SOURCE (the missing lines)";
    }
    context.err << ".\n";
    return kExitOk;
}

} // namespace ballotine
