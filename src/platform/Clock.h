#pragma once

#include <cstdint>

namespace ballotine {

// The system tick count in milliseconds, behind an interface so tests can set the time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t TickMs() const = 0;
};

class SteadyClock final : public Clock {
public:
    std::uint64_t TickMs() const override;
};

} // namespace ballotine
