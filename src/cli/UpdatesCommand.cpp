#include "catalogue/ModListFile.h"
#include "cli/Commands.h"
#include "cli/InterruptCancel.h"
#include "cli/TerminalPrompter.h"
#include "cli/TerminalStream.h"
#include "common/Text.h"
#include "download/DownloadTransfer.h"
#include "download/HeadlessDownload.h"
#include "install/InstallQueue.h"
#include "models/InstallSummary.h"
#include "models/ResourceList.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <optional>

namespace ballotine {

namespace {

TextProgressLine::Style ProgressStyle(const std::ostream& stream, bool quiet) {
    if (quiet) {
        return TextProgressLine::Style::Quiet;
    }
    return IsTerminal(stream) ? TextProgressLine::Style::InPlace : TextProgressLine::Style::Records;
}

// Runs each queue with the text progress line (in place on a terminal, one record per file
// elsewhere, nothing with --quiet): the lists' downloads on the error stream, the packages' on
// the output once the command asks for it. Why a file failed is said on the error stream.
class HeadlessRunner final : public DownloadRunner {
public:
    HeadlessRunner(DownloadTransfer& transfer, const Clock& clock, std::ostream& out,
                   std::ostream& err, const InterruptCancel& interrupt, bool quiet)
        : m_transfer(transfer), m_clock(clock), m_outLine(out, ProgressStyle(out, quiet), &err),
          m_errLine(err, ProgressStyle(err, quiet), &err), m_err(err) {
        m_options.cancelRequested = [&interrupt] { return interrupt.Requested(); };
    }
    void ReportOnOutput() { m_line = &m_outLine; }
    DownloadRunResult RunQueue(DownloadQueue& queue, bool /*allowSkip*/) override {
        const DownloadRunResult result =
            RunDownloadQueue(queue, m_transfer, m_clock, m_line, m_options);
        if (m_options.cancelRequested()) {
            m_err << "Interrupted: the downloads were cancelled.\n";
        }
        return result;
    }

private:
    DownloadTransfer& m_transfer;
    const Clock& m_clock;
    TextProgressLine m_outLine;
    TextProgressLine m_errLine;
    TextProgressLine* m_line = &m_errLine;
    std::ostream& m_err;
    HeadlessDownloadOptions m_options;
};

struct UpdatesRequest {
    bool install = false;
    bool all = false;
    bool quiet = false;
    std::vector<std::string> titles;
};

std::optional<UpdatesRequest> ParseUpdatesArgs(const CommandArgs& args, std::ostream& err) {
    UpdatesRequest request;
    for (const std::string& arg : args) {
        if (arg == "--all") {
            request.install = request.all = true;
        } else if (arg == "--quiet") {
            request.quiet = true;
        } else if (arg == "--install") {
            request.install = true;
        } else if (request.install && !(arg.size() > 1 && arg.starts_with("--"))) {
            request.titles.push_back(arg);
        } else {
            err << "updates: unexpected argument '" << arg << "'\n";
            return std::nullopt;
        }
    }
    if (request.install && request.all == !request.titles.empty()) {
        err << "updates: --install needs package titles, or --all alone\n";
        return std::nullopt;
    }
    return request;
}

std::string SizeText(std::int64_t size) {
    return size > 0 ? std::to_string(size) : std::string("N/A");
}

void PrintCatalogue(const CatalogueTree& tree, const AvailableDownloads& downloads,
                    std::ostream& out) {
    for (const Category category : kCategories) {
        for (const CatalogueNode& package : tree.Packages(category)) {
            if (!package.queueIndex) {
                continue;
            }
            const DownloadItem& item = downloads.At(*package.queueIndex);
            out << CategoryLabel(category) << '\t' << package.label << '\t' << item.version << '\t'
                << SizeText(item.size) << '\n';
        }
    }
}

// The packages an argument names: the one it labels, else every one it is the title of
// (packages that share a title are labelled with their keys too), letter case ignored.
std::vector<NodeId> PackagesNamed(const CatalogueTree& tree, const AvailableDownloads& downloads,
                                  const std::string& title) {
    std::vector<NodeId> labelled;
    std::vector<NodeId> titled;
    for (const Category category : kCategories) {
        const auto& packages = tree.Packages(category);
        for (std::size_t child = 0; child < packages.size(); ++child) {
            const NodeId id{category, static_cast<std::int32_t>(child)};
            if (EqualsNoCase(packages[child].label, title)) {
                labelled.push_back(id);
            } else if (EqualsNoCase(downloads.At(*packages[child].queueIndex).name, title)) {
                titled.push_back(id);
            }
        }
    }
    return labelled.empty() ? titled : labelled;
}

// Ticks the packages to install and returns their queue items; nothing, after a message, when
// a title names none of them or more than one.
std::optional<std::vector<std::size_t>> TickPackages(CatalogueTree& tree,
                                                     const AvailableDownloads& downloads,
                                                     const UpdatesRequest& request,
                                                     Prompter& prompter) {
    std::vector<NodeId> ticked;
    for (const Category category : kCategories) {
        const auto& packages = tree.Packages(category);
        for (std::size_t child = 0; child < packages.size() && request.all; ++child) {
            ticked.push_back({category, static_cast<std::int32_t>(child)});
        }
    }
    for (const std::string& title : request.titles) {
        const std::vector<NodeId> named = PackagesNamed(tree, downloads, title);
        if (named.empty()) {
            prompter.ShowMessage("No package titled '" + title +
                                 "' is offered; nothing was "
                                 "downloaded. 'updates' lists the packages.");
            return std::nullopt;
        }
        if (named.size() > 1) {
            std::string message = Format("'%s' names %zu packages; nothing was downloaded. Name "
                                         "one of them:",
                                         title.c_str(), named.size());
            for (const NodeId id : named) {
                message += "\n  " + tree.Node(id).label;
            }
            prompter.ShowMessage(message);
            return std::nullopt;
        }
        ticked.push_back(named.front());
    }
    std::vector<std::size_t> items;
    for (const NodeId id : ticked) {
        tree.SetChecked(id, true);
        items.push_back(*tree.Node(id).queueIndex);
    }
    return items;
}

// Whether every package that was to be installed was (a declined one was not).
bool AllInstalled(const AvailableDownloads& downloads, const std::vector<std::size_t>& items) {
    return std::ranges::all_of(items, [&downloads](std::size_t index) {
        return downloads.At(index).status == DownloadStatus::Installed;
    });
}

int InstallTicked(CliContext& context, ResourceList& list, HeadlessRunner& runner,
                  const UpdatesRequest& request, const AvailableDownloads& downloads) {
    if (request.all && list.Tree().PackageCount() == 0) {
        context.prompter.ShowMessage("Nothing to install: every package is up to date.");
        return kExitOk;
    }
    const auto ticked = TickPackages(list.Tree(), downloads, request, context.prompter);
    if (!ticked) {
        return kExitFailed;
    }
    runner.ReportOnOutput();
    if (!list.Download()) {
        context.prompter.ShowMessage("Nothing was installed.");
        return kExitFailed; // nothing was left to download
    }
    for (const SummaryEntry& failure : InstallationFailures(downloads.Queue())) {
        context.err << failure.title << ": " << failure.reason << '\n';
    }
    const std::string log = list.Request().paths.modWorkDir + kUpdateLogName;
    if (FileExists(log)) {
        context.out << "Log\t" << log << '\n';
    }
    return AllInstalled(downloads, *ticked) && list.FailedCount() == 0 ? kExitOk : kExitFailed;
}

} // namespace

int RunUpdatesCommand(CliContext& context, const CommandArgs& args) {
    const auto request = ParseUpdatesArgs(args, context.err);
    if (!request) {
        return kExitUsage;
    }
    const auto opened = MakeResourceListRequest(context.session);
    if (!opened) {
        context.prompter.ShowMessage("No mod is selected: there is no update server to ask.");
        return kExitFailed;
    }
    DownloadTransfer transfer(context.services.clock);
    const InterruptCancel interrupt;
    HeadlessRunner runner(transfer, context.services.clock, context.out, context.err, interrupt,
                          request->quiet);
    UpdateTables tables;
    UpdateRoad road{
        tables.downloads,
        tables.versions,
        tables.mappings,
        tables.log,
        context.prompter,
        context.services.runner,
        runner,
        [&context](const std::string& note) { context.err << "note: " << note << '\n'; },
        false};
    ResourceList list(*opened, context.session.mods, road);

    int status = kExitOk;
    const ResourceList::Opening opening = list.Open();
    if (opening == ResourceList::Opening::Cancelled) {
        status = kExitFailed;
    } else if (opening == ResourceList::Opening::CategoriesOnly) {
        context.prompter.ShowMessage("Cannot read " + opened->paths.modWorkDir + kVersionFileName +
                                     ": without a version record no map packages are offered.");
        if (request->install) {
            status = kExitFailed;
        } else {
            PrintCatalogue(list.Tree(), tables.downloads, context.out);
        }
    } else if (request->install) {
        status = InstallTicked(context, list, runner, *request, tables.downloads);
    } else {
        PrintCatalogue(list.Tree(), tables.downloads, context.out);
    }
    // As after the window's update list, whatever happened: new addresses, learnt mods and
    // installed versions are kept.
    if (!SaveModList(context.session, context.prompter)) {
        status = kExitFailed;
    }
    return status;
}

} // namespace ballotine
