#pragma once

#include "models/InstallSummary.h"

#include <QDialog>
#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace ballotine {

class ToolRunner;

// The summary after "Download...": how many packages were installed, skipped and failed, each
// by name with its reason, and "Show Log", which opens update.log in the desktop's viewer, or
// in a window of our own when no viewer can be started.
class CInstallSummaryDlg : public QDialog {
    Q_OBJECT

public:
    struct Controls {
        QLabel* headline;
        QPlainTextEdit* details;
        QPushButton* showLog;
        QPushButton* ok;
    };

    CInstallSummaryDlg(const InstallSummary& summary, std::string logPath, ToolRunner& runner,
                       QWidget* parent = nullptr);

    const Controls& Ui() const { return m_ui; }

private:
    void OnShowLog();

    std::string m_logPath;
    ToolRunner& m_runner;
    Controls m_ui{};
};

// A text file (update.log) in a window of our own: read-only, in a fixed-width font.
class CLogViewerDlg : public QDialog {
    Q_OBJECT

public:
    explicit CLogViewerDlg(const std::string& path, QWidget* parent = nullptr);

    QPlainTextEdit* Text() const { return m_text; }

private:
    QPlainTextEdit* m_text;
};

} // namespace ballotine
