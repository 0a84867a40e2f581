#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ballotine {

// Runs long work (a compile, a map update, an installation) on a thread of its own and returns
// once it has ended; an exception the work throws is thrown again here. Meanwhile the window
// repaints and shows a busy indicator saying `what`, but takes no input: mouse buttons, wheel,
// keys, shortcuts and closing are dropped, so nothing can change the data the work uses.
// Other windows (the work's questions, a download window) take their input as usual. The work
// reaches the user only through a UiThreadPrompter (app/UiThread.h).
void RunBusy(QWidget& window, const QString& what, const std::function<void()>& work);

// The indicator's object name, for whoever looks for it (tests, screenshots).
inline constexpr const char* kBusyIndicatorName = "busyIndicator";

} // namespace ballotine
