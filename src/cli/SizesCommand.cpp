#include "cli/Commands.h"
#include "common/Text.h"

namespace ballotine {

namespace {

// The map as the window's lists spell it, letter case ignored: the dialog opens only for a
// map one of the lists shows.
std::optional<std::string> FindListedMap(CliContext& context, std::string_view name) {
    MainWindowModel model(context.session);
    model.RefreshMapLists();
    for (const MapListId list : {MapListId::Available, MapListId::Chosen}) {
        for (const MapEntry& entry : model.List(list).Entries()) {
            if (EqualsNoCase(entry.name, name)) {
                return entry.name;
            }
        }
    }
    return std::nullopt;
}

} // namespace

int ChooseServerSize(CliContext& context, const CommandArgs& args, std::string_view command,
                     bool withKey, ServerSizeChoice& choice) {
    const std::size_t expected = withKey ? 2 : 1;
    if (args.size() != expected) {
        context.err << command
                    << (withKey ? " takes a map name and a server size key\n"
                                : " takes one map name\n");
        return kExitUsage;
    }
    const std::optional<std::string> map = FindListedMap(context, args[0]);
    if (!map) {
        context.err << "'" << args[0] << "' is not a map of the selected mod\n";
        return kExitFailed;
    }
    choice.map = *map;
    ServerTypeTable serverTypes;
    serverTypes.LoadServerTypes(context.session.paths.modWorkDir);
    choice.rows = ListServerSizes(serverTypes, context.session.paths.modWorkDir, *map);
    if (!withKey) {
        return kExitOk;
    }
    // Only a listed size can be chosen, as in the dialog; the key keeps the file's spelling.
    for (const ServerSizeRow& row : choice.rows) {
        if (EqualsNoCase(row.key, args[1])) {
            choice.key = row.key;
            return kExitOk;
        }
    }
    context.err << "'" << *map << "' has no server size '" << args[1] << "'";
    if (!choice.rows.empty()) {
        context.err << ". Sizes:";
        for (const ServerSizeRow& row : choice.rows) {
            context.err << " " << row.key;
        }
    }
    context.err << "\n";
    return kExitFailed;
}

int RunSizesCommand(CliContext& context, const CommandArgs& args) {
    ServerSizeChoice choice;
    if (const int status = ChooseServerSize(context, args, "sizes", false, choice);
        status != kExitOk) {
        return status;
    }
    for (const ServerSizeRow& row : choice.rows) {
        context.out << row.displayName << '\t' << row.key << '\n';
    }
    return kExitOk;
}

} // namespace ballotine
