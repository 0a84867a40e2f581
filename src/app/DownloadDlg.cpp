#include "app/DownloadDlg.h"

#include "app/DisplayText.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <initializer_list>

namespace ballotine {

// Sizes and gaps are given in dialog units: a quarter of the average character width across,
// an eighth of the character height down, so the window grows with its font (and so with the
// screen's resolution). The units widen until every caption fits the width given to it.
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

    int Across(int units) const { return static_cast<int>(units * m_across); }
    int Down(int units) const { return static_cast<int>(units * m_down); }
    QMargins Margins(int left, int top, int right, int bottom) const {
        return {Across(left), Down(top), Across(right), Down(bottom)};
    }

private:
    double m_across;
    double m_down;
};

namespace {

// A label whose text never changes the window's size: it gets the width given and clips a
// longer text.
QLabel* FigureLabel(const char* name, const char* text, int width, Qt::Alignment alignment,
                    QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setMinimumWidth(width);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

QLabel* CaptionLabel(const char* text, Qt::Alignment alignment, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

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
        AdvanceRun();
    });
    connect(m_skipButton, &QPushButton::clicked, this, &CDownloadDlg::OnSkipFile);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDownloadDlg::reject);
    // Redrawing the figures for every file that starts cost more than fetching a small one:
    // they are drawn on the tick (and for the first file).
    m_progress.SetListener({[this] { m_labelsChanged = true; }, nullptr});
}

CDownloadDlg::~CDownloadDlg() {
    m_transfer.SetSocketWatcher(nullptr);
}

// The window in dialog units: a frame 280 wide with the totals 10 in from its left edge and
// the file group 4 in; the file group holds four rows 11 apart, captions 55 wide, values from
// 5 after them, the two buttons (50 by 14) at its lower right.
void CDownloadDlg::BuildControls() {
    const DialogUnits units(*this, {{"Total Remaining Time:", 72},
                                    {"Bytes Received:", 55},
                                    {"Remaining Time:", 55},
                                    {"Cancel All", 40},
                                    {"Skip File", 40}});
    auto* frame = new QGroupBox(this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(units.Margins(3, 1, 3, 4));
    outer->setSizeConstraint(QLayout::SetFixedSize); // the window keeps the size it opens with
    outer->addWidget(frame);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(units.Margins(4, 11, 4, 3));
    inner->setSpacing(units.Down(8));
    inner->addLayout(BuildTotals(units, frame));
    inner->addWidget(BuildFileGroup(units, frame));
}

QGridLayout* CDownloadDlg::BuildTotals(const DialogUnits& units, QWidget* frame) {
    auto* totals = new QGridLayout;
    totals->setContentsMargins(units.Margins(6, 0, 4, 0));
    totals->setHorizontalSpacing(0);
    totals->setVerticalSpacing(units.Down(2));
    totals->setColumnMinimumWidth(0, units.Across(73));
    totals->setColumnMinimumWidth(1, units.Across(47));
    totals->setRowMinimumHeight(0, units.Down(10));
    totals->setRowMinimumHeight(1, units.Down(8));
    totals->addWidget(CaptionLabel("Total Elapsed Time:", Qt::AlignLeft, frame), 0, 0);
    totals->addWidget(CaptionLabel("Total Remaining Time:", Qt::AlignLeft, frame), 1, 0);
    m_totalElapsed =
        FigureLabel("totalElapsed", "00:00:00", units.Across(38), Qt::AlignLeft, frame);
    m_totalRemaining =
        FigureLabel("totalRemaining", "00:00:00", units.Across(38), Qt::AlignLeft, frame);
    totals->addWidget(m_totalElapsed, 0, 1);
    totals->addWidget(m_totalRemaining, 1, 1);

    m_progressBar = new QProgressBar(frame);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setFixedSize(units.Across(142), units.Down(10));
    m_progressBar->setTextVisible(false);
    m_progressBar->setRange(0, 1);
    m_progressBar->setValue(0);
    totals->addWidget(m_progressBar, 0, 2);
    m_totalBytes = FigureLabel("totalBytes", "", units.Across(142), Qt::AlignHCenter, frame);
    totals->addWidget(m_totalBytes, 1, 2);
    return totals;
}

QGroupBox* CDownloadDlg::BuildFileGroup(const DialogUnits& units, QWidget* frame) {
    m_fileGroup = new QGroupBox(QStringLiteral("Download 1 of 17"), frame);
    m_fileGroup->setObjectName(QStringLiteral("fileGroup"));
    auto* rows = new QGridLayout(m_fileGroup);
    rows->setContentsMargins(units.Margins(7, 0, 7, 4)); // the group's border adds about 1
    rows->setHorizontalSpacing(units.Across(5));
    rows->setVerticalSpacing(units.Down(11) - units.Down(10));
    rows->setColumnMinimumWidth(0, units.Across(55));
    rows->setColumnMinimumWidth(1, units.Across(89));
    rows->setColumnStretch(1, 1);
    const char* captions[] = {
        "Downloading:", "Bytes Received:", "Elapsed Time:", "Remaining Time:"};
    for (int row = 0; row < 4; ++row) {
        rows->addWidget(CaptionLabel(captions[row], Qt::AlignRight, m_fileGroup), row, 0);
        rows->setRowMinimumHeight(row, units.Down(10));
    }
    m_fileName = FigureLabel("fileName", "", units.Across(195), Qt::AlignLeft, m_fileGroup);
    m_fileBytes = FigureLabel("fileBytes", "", units.Across(89), Qt::AlignLeft, m_fileGroup);
    m_fileElapsed =
        FigureLabel("fileElapsed", "00:00:00", units.Across(61), Qt::AlignLeft, m_fileGroup);
    m_fileRemaining =
        FigureLabel("fileRemaining", "00:00:00", units.Across(58), Qt::AlignLeft, m_fileGroup);
    rows->addWidget(m_fileName, 0, 1, 1, 2);
    rows->addWidget(m_fileBytes, 1, 1);
    rows->addWidget(m_fileElapsed, 2, 1);
    rows->addWidget(m_fileRemaining, 3, 1);

    m_skipButton = new QPushButton(QStringLiteral("Skip File"), m_fileGroup);
    m_skipButton->setObjectName(QStringLiteral("skipButton"));
    m_skipButton->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel All"), m_fileGroup);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(units.Across(2));
    for (QPushButton* button : {m_skipButton, m_cancelButton}) {
        button->setFixedSize(units.Across(50), units.Down(14));
        buttons->addWidget(button);
    }
    rows->addLayout(buttons, 2, 2, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    return m_fileGroup;
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
    QTimer::singleShot(0, this, [this] { // the first file starts at once
        AdvanceRun();
        ShowChangedLabels();
    });
    return QDialog::exec();
}

void CDownloadDlg::OnTimer() {
    if (m_progress.IsRunning()) {
        m_progress.Tick();
        ShowChangedLabels();
        EndRunIfFinished();
    }
}

void CDownloadDlg::AdvanceRun() {
    // The next file starts, or the window closes, as soon as a file has ended, not at the next
    // tick: waiting cost every file up to 100 ms. The tick only measures and redraws.
    if (m_progress.IsRunning()) {
        m_progress.Advance();
        // A request just begun is sent now, not after another turn of the event loop: that
        // turn cost each small file as much again as its transfer.
        if (m_transfer.IsOpening() && m_transfer.TimeoutMs() == 0) {
            m_transfer.TimeoutExpired();
            m_progress.Advance();
        }
        EndRunIfFinished();
    }
}

void CDownloadDlg::EndRunIfFinished() {
    if (m_progress.GetState() == DownloadProgress::State::Finished) {
        EndRun(QDialog::Accepted);
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

void CDownloadDlg::ShowChangedLabels() {
    if (m_labelsChanged) {
        m_labelsChanged = false;
        ShowLabels();
    }
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
        AdvanceRun();
    });
}

} // namespace ballotine
