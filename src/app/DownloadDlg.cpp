#include "app/DownloadDlg.h"

#include "app/DisplayText.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <initializer_list>

namespace ballotine {

namespace {

// The window's layout is given in dialog units: a quarter of the average character width
// across, an eighth of the character height down. The font here is not the one the layout was
// drawn for, so the units widen until every caption fits its box.
class DialogUnits {
public:
    struct Caption {
        const char* text;
        int width;
    };

    DialogUnits(const QWidget& widget, std::initializer_list<Caption> captions)
        : m_across(QFontMetrics(widget.font()).averageCharWidth() / 4.0),
          m_down(QFontMetrics(widget.font()).height() / 8.0) {
        const QFontMetrics metrics(widget.font());
        for (const Caption& caption : captions) {
            const int needed = metrics.horizontalAdvance(QString::fromLatin1(caption.text)) + 6;
            m_across = std::max(m_across, static_cast<double>(needed) / caption.width);
        }
    }

    QRect Rect(int x, int y, int w, int h) const {
        return {Across(x), Down(y), Across(x + w) - Across(x), Down(y + h) - Down(y)};
    }

private:
    int Across(int units) const { return static_cast<int>(units * m_across); }
    int Down(int units) const { return static_cast<int>(units * m_down); }

    double m_across;
    double m_down;
};

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, INT_MAX));
}

} // namespace

CDownloadDlg::CDownloadDlg(DownloadQueue& queue, bool allowSkip, DownloadTransfer& transfer,
                           const Clock& clock, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_transfer(transfer),
      m_progress(queue, transfer, clock), m_allowSkip(allowSkip), m_tickTimer(new QTimer(this)),
      m_transferTimer(new QTimer(this)) {
    BuildControls();
    m_tickTimer->setInterval(DownloadProgress::kTickMs);
    m_tickTimer->setTimerType(Qt::PreciseTimer);
    connect(m_tickTimer, &QTimer::timeout, this, &CDownloadDlg::OnTimer);
    m_transferTimer->setSingleShot(true);
    connect(m_transferTimer, &QTimer::timeout, this, [this] {
        m_transfer.TimeoutExpired();
        TickIfFileArrived();
    });
    connect(m_skipButton, &QPushButton::clicked, this, &CDownloadDlg::OnSkipFile);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDownloadDlg::reject);
    m_progress.SetListener({[this] { ShowLabels(); }, nullptr});
}

CDownloadDlg::~CDownloadDlg() {
    m_transfer.SetSocketWatcher(nullptr);
}

void CDownloadDlg::BuildControls() {
    const DialogUnits units(*this, {{"Total Remaining Time:", 72},
                                    {"Bytes Received:", 55},
                                    {"Remaining Time:", 55},
                                    {"Cancel All", 40},
                                    {"Skip File", 40}});
    setFixedSize(units.Rect(0, 0, 286, 110).size());
    auto* frame = new QGroupBox(this);
    frame->setGeometry(units.Rect(3, 1, 280, 105));
    const auto label = [this, &units](const char* text, QRect place, Qt::Alignment alignment) {
        auto* made = new QLabel(QString::fromLatin1(text), this);
        made->setGeometry(place);
        made->setAlignment(alignment | Qt::AlignVCenter);
        return made;
    };
    const auto caption = [&](const char* text, int x, int y, int w, int h) {
        label(text, units.Rect(x, y, w, h), Qt::AlignLeft);
    };
    const auto rightCaption = [&](const char* text, int y) {
        label(text, units.Rect(15, y, 55, 10), Qt::AlignRight);
    };
    const auto figure = [&](const char* name, const char* text, QRect place, Qt::Alignment align) {
        QLabel* made = label(text, place, align);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };

    caption("Total Elapsed Time:", 13, 15, 72, 8);
    m_totalElapsed = figure("totalElapsed", "00:00:00", units.Rect(86, 15, 38, 8), Qt::AlignLeft);
    caption("Total Remaining Time:", 13, 26, 72, 8);
    m_totalRemaining =
        figure("totalRemaining", "00:00:00", units.Rect(86, 26, 38, 8), Qt::AlignLeft);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setGeometry(units.Rect(133, 14, 142, 10));
    m_progressBar->setTextVisible(false);
    m_progressBar->setRange(0, 1);
    m_progressBar->setValue(0);
    m_totalBytes = figure("totalBytes", "", units.Rect(133, 26, 142, 8), Qt::AlignHCenter);

    m_fileGroup = new QGroupBox(QStringLiteral("Download 1 of 17"), this);
    m_fileGroup->setObjectName(QStringLiteral("fileGroup"));
    m_fileGroup->setGeometry(units.Rect(7, 42, 272, 60));
    rightCaption("Downloading:", 54);
    m_fileName = figure("fileName", "", units.Rect(75, 54, 195, 9), Qt::AlignLeft);
    rightCaption("Bytes Received:", 65);
    m_fileBytes = figure("fileBytes", "", units.Rect(75, 65, 90, 10), Qt::AlignLeft);
    rightCaption("Elapsed Time:", 76);
    m_fileElapsed = figure("fileElapsed", "00:00:00", units.Rect(75, 76, 61, 10), Qt::AlignLeft);
    rightCaption("Remaining Time:", 87);
    m_fileRemaining =
        figure("fileRemaining", "00:00:00", units.Rect(75, 87, 58, 10), Qt::AlignLeft);

    m_skipButton = new QPushButton(QStringLiteral("Skip File"), this);
    m_skipButton->setObjectName(QStringLiteral("skipButton"));
    m_skipButton->setGeometry(units.Rect(169, 83, 50, 14));
    m_skipButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel All"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setGeometry(units.Rect(221, 83, 50, 14));
}

int CDownloadDlg::exec() {
    m_transfer.SetSocketWatcher(this);
    if (!m_progress.Start()) {
        m_transfer.SetSocketWatcher(nullptr);
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    m_skipButton->setEnabled(m_allowSkip);
    m_progressBar->setRange(0, std::max(1, ClampToInt(m_progress.Labels().progressMaximum)));
    m_tickTimer->start();
    return QDialog::exec();
}

void CDownloadDlg::OnTimer() {
    m_progress.Tick();
    if (m_progress.GetState() == DownloadProgress::State::Finished) {
        EndRun(QDialog::Accepted);
    }
}

void CDownloadDlg::TickIfFileArrived() {
    // The next file starts, or the window closes, as soon as a file has arrived whole, not at
    // the next tick: waiting cost every file up to 100 ms.
    if (m_transfer.IsComplete() && m_progress.IsRunning()) {
        OnTimer();
    }
}

void CDownloadDlg::OnSkipFile() {
    if (m_allowSkip) {
        m_progress.SkipFile();
    }
}

void CDownloadDlg::reject() {
    m_progress.Cancel();
    EndRun(QDialog::Rejected);
}

void CDownloadDlg::EndRun(int outcome) {
    m_tickTimer->stop();
    m_transferTimer->stop();
    m_transfer.SetSocketWatcher(nullptr);
    for (auto& [fd, notifiers] : m_notifiers) {
        SetNotifier(notifiers.read, fd, false, true);
        SetNotifier(notifiers.write, fd, false, false);
    }
    m_notifiers.clear();
    done(outcome);
}

void CDownloadDlg::ShowLabels() {
    const DownloadLabels& labels = m_progress.Labels();
    m_fileGroup->setTitle(ToDisplayText(labels.fileGroup));
    m_fileName->setText(ToDisplayText(labels.fileName));
    m_fileBytes->setText(ToDisplayText(labels.fileBytes));
    m_fileElapsed->setText(ToDisplayText(labels.fileElapsed));
    m_fileRemaining->setText(ToDisplayText(labels.fileRemaining));
    m_totalBytes->setText(ToDisplayText(labels.totalBytes));
    m_totalElapsed->setText(ToDisplayText(labels.totalElapsed));
    m_totalRemaining->setText(ToDisplayText(labels.totalRemaining));
    // the full range, however large the total: no 16-bit wrap
    const int maximum = std::max(1, ClampToInt(labels.progressMaximum));
    m_progressBar->setRange(0, maximum);
    m_progressBar->setValue(std::min(maximum, ClampToInt(labels.progressPosition)));
}

void CDownloadDlg::WatchSocket(int fd, bool read, bool write) {
    Notifiers& notifiers = m_notifiers[fd];
    SetNotifier(notifiers.read, fd, read, true);
    SetNotifier(notifiers.write, fd, write, false);
}

void CDownloadDlg::ForgetSocket(int fd) {
    const auto found = m_notifiers.find(fd);
    if (found == m_notifiers.end()) {
        return;
    }
    SetNotifier(found->second.read, fd, false, true);
    SetNotifier(found->second.write, fd, false, false);
    m_notifiers.erase(found);
}

void CDownloadDlg::SetTimeout(long ms) {
    if (ms < 0) {
        m_transferTimer->stop();
    } else {
        m_transferTimer->start(static_cast<int>(std::min<long>(ms, INT_MAX)));
    }
}

void CDownloadDlg::SetNotifier(QSocketNotifier*& notifier, int fd, bool wanted, bool forReading) {
    if (!wanted) {
        if (notifier != nullptr) {
            // it may be the one whose signal is being handled
            notifier->setEnabled(false);
            notifier->deleteLater();
            notifier = nullptr;
        }
        return;
    }
    if (notifier != nullptr) {
        notifier->setEnabled(true);
        return;
    }
    notifier =
        new QSocketNotifier(fd, forReading ? QSocketNotifier::Read : QSocketNotifier::Write, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, fd, forReading] {
        m_transfer.SocketReady(fd, forReading, !forReading);
        TickIfFileArrived();
    });
}

} // namespace ballotine
