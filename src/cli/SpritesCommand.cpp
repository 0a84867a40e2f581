#include "cli/Commands.h"
#include "models/VotePictures.h"

namespace ballotine {

int RunSpritesCommand(CliContext& context, const CommandArgs& args) {
    bool force = false;
    std::vector<std::string> maps;
    bool literal = false;
    for (const std::string& arg : args) {
        if (!literal && arg == "--") {
            literal = true;
        } else if (!literal && arg == "--force") {
            force = true;
        } else if (!literal && arg.size() > 1 && arg[0] == '-') {
            context.err << "sprites: unknown option " << arg << "\n";
            return kExitUsage;
        } else {
            maps.push_back(arg);
        }
    }
    const WorkingPaths& paths = context.session.paths;
    if (!paths.HasMod()) {
        context.err << "sprites: no mod is selected\n";
        return kExitFailed;
    }
    const bool named = !maps.empty();
    const PictureReport report = MakeVotePictures(paths, std::move(maps), force);
    for (const PictureWritten& written : report.written) {
        context.out << written.map << '\t' << (written.withPlan ? "plan" : "title") << '\t'
                    << written.file.string() << '\n';
    }
    // A picture that could not be written fails the run, and so does a named map that got
    // none or a maps folder that cannot be read; a title card or a kept picture does not.
    bool failed = false;
    for (const PictureNote& note : report.notes) {
        context.err << note.text << "\n";
        failed = failed || note.kind == PictureNote::Kind::NotWritten ||
                 (note.kind == PictureNote::Kind::Skipped && (named || note.map.empty()));
    }
    return failed ? kExitFailed : kExitOk;
}

} // namespace ballotine
