#include "app/BusyWork.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <exception>
#include <thread>

namespace ballotine {

namespace {

// Work that ends sooner shows no indicator, so a quick step does not flicker.
constexpr int kIndicatorDelayMs = 150;

bool IsInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Drops the window's input and its closing while installed; other windows (the work's
// questions, a download window) take theirs as usual.
class InputHold final : public QObject {
public:
    explicit InputHold(QWidget& window) : m_window(window) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~InputHold() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != &m_window) {
            return false;
        }
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return IsInput(event->type());
    }

private:
    QWidget& m_window;
};

// A small panel in the middle of the window: what is being done, and a bar that moves.
QFrame* MakeIndicator(QWidget& window, const QString& what) {
    auto* panel = new QFrame(&window);
    panel->setObjectName(QString::fromLatin1(kBusyIndicatorName));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    auto* bar = new QProgressBar(panel);
    bar->setRange(0, 0); // no end known: the bar shows that work goes on
    bar->setTextVisible(false);
    bar->setAccessibleName(what);
    auto* layout = new QHBoxLayout(panel);
    layout->addWidget(new QLabel(what, panel));
    layout->addWidget(bar);
    panel->adjustSize();
    panel->move((window.width() - panel->width()) / 2, (window.height() - panel->height()) / 2);
    panel->hide();
    return panel;
}

} // namespace

void RunBusy(QWidget& window, const QString& what, const std::function<void()>& work) {
    const InputHold hold(window);
    window.setCursor(Qt::BusyCursor);
    const QPointer<QFrame> indicator = MakeIndicator(window, what);
    QTimer::singleShot(kIndicatorDelayMs, indicator, [indicator] {
        indicator->show();
        indicator->raise();
    });

    QEventLoop loop;
    std::atomic<bool> ended = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        ended = true;
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    while (!ended) {
        loop.exec();
    }
    worker.join();

    delete indicator.data();
    window.unsetCursor();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace ballotine
