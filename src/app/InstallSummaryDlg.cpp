#include "app/InstallSummaryDlg.h"

#include "app/DisplayText.h"
#include "app/EnterKey.h"
#include "platform/ToolRunner.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ballotine {

namespace {

constexpr QSize kSummarySize(460, 320);
constexpr QSize kLogSize(640, 480);

QPlainTextEdit* ReadOnlyText(const QString& text, const QString& name, QWidget* parent) {
    auto* edit = new QPlainTextEdit(text, parent);
    edit->setReadOnly(true);
    edit->setAccessibleName(name);
    return edit;
}

} // namespace

CInstallSummaryDlg::CInstallSummaryDlg(const InstallSummary& summary, std::string logPath,
                                       ToolRunner& runner, QWidget* parent)
    : QDialog(parent), m_logPath(std::move(logPath)), m_runner(runner) {
    setWindowTitle(QStringLiteral("Download Summary"));
    m_ui.headline = new QLabel(ToDisplayText(SummaryHeadline(summary)), this);
    m_ui.headline->setAccessibleName(QStringLiteral("Summary"));
    QFont bold = m_ui.headline->font();
    bold.setBold(true);
    m_ui.headline->setFont(bold);
    m_ui.details =
        ReadOnlyText(ToDisplayText(SummaryDetails(summary)), QStringLiteral("Packages"), this);

    auto* buttons = new QDialogButtonBox(this);
    m_ui.showLog = buttons->addButton(QStringLiteral("Show &Log"), QDialogButtonBox::ActionRole);
    m_ui.ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ui.showLog->setEnabled(QFileInfo::exists(QString::fromStdString(m_logPath)));
    connect(m_ui.showLog, &QPushButton::clicked, this, &CInstallSummaryDlg::OnShowLog);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_ui.headline);
    layout->addWidget(m_ui.details, 1);
    layout->addWidget(buttons);
    resize(kSummarySize);
    LetEnterActOnlyOnFocusedButton(*this);
    m_ui.ok->setFocus();
}

void CInstallSummaryDlg::OnShowLog() {
    // The desktop's viewer when one starts; else our own window, so the log is never out of
    // reach (a desktop without xdg-open, or a runner that cannot start it).
    if (m_runner.StartDetached("xdg-open", {m_logPath})) {
        return;
    }
    CLogViewerDlg viewer(m_logPath, this);
    viewer.exec();
}

CLogViewerDlg::CLogViewerDlg(const std::string& path, QWidget* parent) : QDialog(parent) {
    const QString file = QString::fromStdString(path);
    setWindowTitle(QFileInfo(file).fileName());
    QFile log(file);
    const QString text = log.open(QIODevice::ReadOnly)
                             ? ToDisplayText(log.readAll().toStdString())
                             : QStringLiteral("Cannot read %1: %2").arg(file, log.errorString());
    m_text = ReadOnlyText(text, QStringLiteral("Log"), this);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(buttons);
    resize(kLogSize);
}

} // namespace ballotine
