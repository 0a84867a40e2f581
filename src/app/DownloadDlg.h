#pragma once

#include "download/DownloadProgress.h"
#include "download/DownloadQueue.h"
#include "download/DownloadTransfer.h"
#include "download/SocketWatcher.h"
#include "platform/Clock.h"

#include <QDialog>
#include <map>

class QGridLayout;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSocketNotifier;
class QTimer;

namespace ballotine {

class DialogUnits;

// The window in which a queue is downloaded: per-file and total progress, times and rate,
// "Skip File" and "Cancel All". A view over DownloadProgress: the data arrives through socket
// notifiers as soon as it is there, and the next file starts as soon as one ends; the 100 ms
// timer only redraws the figures.
//
// Use: construct over the queue (its items to fetch marked pending), exec(), then read
// Result() and the items' statuses. The transfer outlives the window.
class CDownloadDlg : public QDialog, private SocketWatcher {
    Q_OBJECT

public:
    CDownloadDlg(DownloadQueue& queue, bool allowSkip, DownloadTransfer& transfer,
                 const Clock& clock, QWidget* parent = nullptr);
    ~CDownloadDlg() override;

    // Opens the connection and runs the window modally: Accepted once the queue was worked
    // through, Rejected when cancelled or when no connection could be made (the window then
    // closes at once).
    int exec() override;
    DownloadRunResult Result() const { return m_progress.Result(); }
    const DownloadProgress& Progress() const { return m_progress; }

public slots:
    // "Cancel All", the Escape key and closing the window.
    void reject() override;

private:
    struct Notifiers {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
    };

    void BuildControls();
    QGridLayout* BuildTotals(const DialogUnits& units, QWidget* frame);
    QGroupBox* BuildFileGroup(const DialogUnits& units, QWidget* frame);
    void OnTimer();
    void AdvanceRun();
    void EndRunIfFinished();
    void OnSkipFile();
    void ShowChangedLabels();
    void ShowLabels();
    void EndRun(int outcome);

    void WatchSocket(int fd, bool read, bool write) override;
    void ForgetSocket(int fd) override;
    void SetTimeout(long ms) override;
    void SetNotifier(QSocketNotifier*& notifier, int fd, bool wanted, bool forReading);

    DownloadTransfer& m_transfer;
    DownloadProgress m_progress;
    bool m_allowSkip;
    QTimer* m_tickTimer;
    QTimer* m_transferTimer;
    std::map<int, Notifiers> m_notifiers;
    bool m_labelsChanged = false;

    QProgressBar* m_progressBar = nullptr;
    QGroupBox* m_fileGroup = nullptr;
    QLabel* m_fileName = nullptr;
    QLabel* m_fileBytes = nullptr;
    QLabel* m_fileElapsed = nullptr;
    QLabel* m_fileRemaining = nullptr;
    QLabel* m_totalBytes = nullptr;
    QLabel* m_totalElapsed = nullptr;
    QLabel* m_totalRemaining = nullptr;
    QPushButton* m_skipButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace ballotine
