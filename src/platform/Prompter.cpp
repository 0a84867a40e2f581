#include "platform/Prompter.h"

#include "common/Text.h"

namespace ballotine {

bool Prompter::RetryWhileGameBusy(std::string_view holder, std::chrono::milliseconds waited) {
    (void)waited;
    return AskYesNo(Format(kGameBusyQuestion, std::string(holder).c_str()));
}

} // namespace ballotine
