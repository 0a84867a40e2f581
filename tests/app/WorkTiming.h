#pragma once

#include "platform/ToolRunner.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ballotine::test {

using WorkClock = std::chrono::steady_clock;
using Span = std::pair<WorkClock::time_point, WorkClock::time_point>;

// How long the window's thread goes without handling its events: a timer that should fire
// every 10 ms notes when it did.
class EventLoopGaps {
public:
    EventLoopGaps() {
        m_timer.setInterval(10);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_firings.push_back(WorkClock::now()); });
        m_firings.push_back(WorkClock::now());
        m_timer.start();
    }
    // The longest wait between two firings (or before the first, or since the last) that
    // overlaps one of `spans`, in milliseconds.
    double LongestOver(const std::vector<Span>& spans) const {
        std::vector<WorkClock::time_point> firings = m_firings;
        firings.push_back(WorkClock::now());
        double longest = 0;
        for (std::size_t i = 1; i < firings.size(); ++i) {
            const bool overlaps = std::any_of(spans.begin(), spans.end(), [&](const Span& span) {
                return firings[i - 1] < span.second && span.first < firings[i];
            });
            if (overlaps) {
                longest = std::max(
                    longest,
                    std::chrono::duration<double, std::milli>(firings[i] - firings[i - 1]).count());
            }
        }
        return longest;
    }

private:
    QTimer m_timer;
    std::vector<WorkClock::time_point> m_firings;
};

// A runner that takes `delay` longer for every tool, as a large package or a slow disk does,
// then lets `real` run it; notes when each run went on and whether it ran on the window's
// thread.
class SlowRunner final : public ToolRunner {
public:
    SlowRunner(ToolRunner& real, std::chrono::milliseconds delay) : m_real(real), m_delay(delay) {}

    ToolRun RunTool(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                    const std::filesystem::path& workingFolder) override {
        const auto started = WorkClock::now();
        std::this_thread::sleep_for(m_delay);
        ToolRun run = m_real.RunTool(program, arguments, workingFolder);
        const std::lock_guard lock(m_mutex);
        m_runs.emplace_back(started, WorkClock::now());
        m_onUiThread.push_back(QThread::currentThread() == QCoreApplication::instance()->thread());
        return run;
    }
    bool StartDetached(const std::filesystem::path& program,
                       const std::vector<std::string>& arguments) override {
        return m_real.StartDetached(program, arguments);
    }

    // The runs from the `from`th on.
    std::vector<Span> Runs(std::size_t from = 0) const {
        const std::lock_guard lock(m_mutex);
        return {m_runs.begin() + static_cast<std::ptrdiff_t>(std::min(from, m_runs.size())),
                m_runs.end()};
    }
    bool AnyOnUiThread() const {
        const std::lock_guard lock(m_mutex);
        return std::find(m_onUiThread.begin(), m_onUiThread.end(), true) != m_onUiThread.end();
    }

private:
    ToolRunner& m_real;
    std::chrono::milliseconds m_delay;
    mutable std::mutex m_mutex;
    std::vector<Span> m_runs;
    std::vector<bool> m_onUiThread;
};

} // namespace ballotine::test
