#include "cli/Commands.h"
#include "mapsettings/SettingDescription.h"

namespace ballotine {

int RunDescribeCommand(CliContext& context, const CommandArgs& args) {
    ServerSizeChoice choice;
    if (const int status = ChooseServerSize(context, args, "describe", true, choice);
        status != kExitOk) {
        return status;
    }
    const SettingDescription setting =
        ReadSettingDescription(context.session.paths.modWorkDir, choice.map, choice.key);
    switch (setting.result) {
    case SettingDescription::Result::Found:
        context.out << setting.title << '\n' << setting.description;
        return kExitOk;
    case SettingDescription::Result::NoDescription:
        context.err << kNoSettingDescriptionText << '\n';
        return kExitFailed;
    case SettingDescription::Result::NothingToShow:
        break;
    }
    context.err << "The setting's \"#INFO#\" section ends before its title\n";
    return kExitFailed;
}

} // namespace ballotine
