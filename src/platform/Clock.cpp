#include "platform/Clock.h"

#include <chrono>

namespace ballotine {

std::uint64_t SteadyClock::TickMs() const {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace ballotine
