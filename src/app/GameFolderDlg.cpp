#include "app/GameFolderDlg.h"

#include "app/Artwork.h"
#include "catalogue/GameRegistration.h"
#include "platform/Prompter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ballotine {

namespace {

QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::string PathOf(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

std::optional<std::string> PickWithFileDialog(QWidget* parent, const std::string& start) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("Where is Half-Life?"), QFile::decodeName(start.c_str()));
    return folder.isEmpty() ? std::nullopt : std::optional(PathOf(folder));
}

QString IntroText(bool anyFound) {
    const QString what =
        QStringLiteral("Ballotine works on the Half-Life folder that holds Team Fortress "
                       "Classic: the folder with valve and tfc in it, of the game or of a "
                       "dedicated server.");
    return what + QStringLiteral("\n\n") +
           (anyFound ? QStringLiteral("These game folders were found:")
                     : QStringLiteral("No game folder was found in the usual Steam, SteamCMD "
                                      "and server places. Browse to it:"));
}

} // namespace

CGameFolderDlg::CGameFolderDlg(const std::vector<std::filesystem::path>& found, Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent), m_prompter(prompter), m_pickFolder(PickWithFileDialog) {
    setWindowTitle(QStringLiteral("Ballotine - Where is Half-Life?"));
    setWindowIcon(MakeAppIcon());
    m_ui.intro = new QLabel(IntroText(!found.empty()), this);
    m_ui.intro->setWordWrap(true);
    m_ui.folders = new QListWidget(this);
    for (const std::filesystem::path& folder : found) {
        m_ui.folders->addItem(PathText(folder));
    }
    m_ui.folders->setCurrentRow(found.empty() ? -1 : 0);

    auto* buttons = new QDialogButtonBox(this);
    m_ui.browse = buttons->addButton(QStringLiteral("Browse..."), QDialogButtonBox::ActionRole);
    m_ui.use = buttons->addButton(QStringLiteral("Use This Folder"), QDialogButtonBox::AcceptRole);
    m_ui.cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_ui.use->setDefault(true);
    connect(m_ui.browse, &QPushButton::clicked, this, &CGameFolderDlg::Browse);
    connect(m_ui.use, &QPushButton::clicked, this, &CGameFolderDlg::UseSelected);
    connect(m_ui.cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_ui.folders, &QListWidget::itemDoubleClicked, this, &CGameFolderDlg::UseSelected);
    connect(m_ui.folders, &QListWidget::currentRowChanged, this, &CGameFolderDlg::ShowEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_ui.intro);
    layout->addWidget(m_ui.folders, 1);
    layout->addWidget(buttons);
    resize(560, 320);
    ShowEnabled();
}

void CGameFolderDlg::ShowEnabled() {
    m_ui.use->setEnabled(m_ui.folders->currentRow() >= 0);
}

void CGameFolderDlg::ShowFolder(const std::filesystem::path& folder) {
    const QString text = PathText(folder);
    const QList<QListWidgetItem*> shown = m_ui.folders->findItems(text, Qt::MatchExactly);
    if (shown.isEmpty()) {
        m_ui.folders->addItem(text);
        m_ui.folders->setCurrentRow(m_ui.folders->count() - 1);
    } else {
        m_ui.folders->setCurrentItem(shown.constFirst());
    }
}

void CGameFolderDlg::Browse() {
    const QListWidgetItem* current = m_ui.folders->currentItem();
    const std::string start =
        current != nullptr ? PathOf(current->text()) : PathOf(QDir::homePath());
    const std::optional<std::string> picked = m_pickFolder(this, start);
    if (!picked) {
        return;
    }
    const GameFolderCheck check = CheckGameFolder(*picked);
    if (!check.problem.empty()) {
        m_prompter.ShowMessage(check.problem);
        return;
    }
    ShowFolder(check.folder);
}

void CGameFolderDlg::UseSelected() {
    const QListWidgetItem* current = m_ui.folders->currentItem();
    if (current == nullptr) {
        return;
    }
    const GameFolderCheck check = CheckGameFolder(PathOf(current->text()));
    if (!check.problem.empty()) {
        m_prompter.ShowMessage(check.problem);
        return;
    }
    m_chosen = check.folder;
    accept();
}

} // namespace ballotine
