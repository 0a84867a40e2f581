#pragma once

#include "LargeMod.h"
#include "app/QtPrompter.h"
#include "platform/Clock.h"
#include "platform/CommandRunner.h"
#include "platform/Registry.h"
#include "platform/Services.h"

namespace ballotine::bench {

// What the main window is given to start on the large mod, as the program gives it.
struct WindowServices {
    RegistryFile registry = RegistryFile::Load(LargeMod::Shared().RegistryFile());
    QtPrompter prompter;
    ShellCommandRunner runner;
    SteadyClock clock;
    Services services{prompter, runner, clock};
};

} // namespace ballotine::bench
