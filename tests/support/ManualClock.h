#pragma once

#include "platform/Clock.h"

#include <cstdint>

namespace ballotine::test {

// A clock the test moves by hand.
class ManualClock final : public Clock {
public:
    std::uint64_t TickMs() const override { return m_now; }
    void Advance(std::uint64_t ms) { m_now += ms; }

private:
    std::uint64_t m_now = 1000;
};

} // namespace ballotine::test
