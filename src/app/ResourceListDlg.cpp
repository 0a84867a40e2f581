#include "app/ResourceListDlg.h"

#include "app/BusyWork.h"
#include "app/DisplayText.h"
#include "app/DownloadDlg.h"
#include "app/EnterKey.h"
#include "app/InstallSummaryDlg.h"
#include "app/UiThread.h"
#include "catalogue/Session.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtDebug>

namespace ballotine {

namespace {

constexpr int kRefreshMs = 100;
constexpr int kCategoryRole = Qt::UserRole;
constexpr int kChildRole = Qt::UserRole + 1;

// The rows carry their real check state, for assistive technology, but the marks are the
// tree's images: no check box is drawn, and a click cannot change the state behind the
// catalogue's back.
class MarkDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
    }
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&,
                     const QModelIndex&) override {
        return false;
    }
};

} // namespace

DownloadRunResult DialogDownloadRunner::RunQueue(DownloadQueue& queue, bool allowSkip) {
    // An installation runs off the window's thread; its download window opens on that thread.
    DownloadRunResult result = DownloadRunResult::NotRun;
    CallOnUiThread([&] {
        // Over the update list once it shows, over the main window while it opens.
        QWidget* modal = QApplication::activeModalWidget();
        CDownloadDlg dialog(queue, allowSkip, m_transfer, m_clock,
                            modal != nullptr && modal->isVisible() ? modal : m_parent);
        dialog.exec();
        result = dialog.Result();
    });
    return result;
}

CResourceListDlg::CResourceListDlg(ResourceList& list, QWidget* parent)
    : QDialog(parent), m_list(list), m_timer(new QTimer(this)) {
    setWindowTitle(QStringLiteral("TFC Resource List"));
    BuildControls();
    LetEnterActOnlyOnFocusedButton(*this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &CResourceListDlg::OnTimer);
}

void CResourceListDlg::BuildControls() {
    auto* resources = new QGroupBox(QStringLiteral("Available Resources"), this);
    m_ui.tree = new QTreeWidget(resources);
    m_ui.tree->setObjectName(QStringLiteral("catalogue"));
    m_ui.tree->setHeaderHidden(true);
    m_ui.tree->setRootIsDecorated(false); // no lines or buttons: the categories stay open
    m_ui.tree->setItemsExpandable(false);
    m_ui.tree->setExpandsOnDoubleClick(false);
    m_ui.tree->setMouseTracking(true); // hot tracking
    m_ui.tree->setDragEnabled(false);
    m_ui.tree->setIconSize(QSize(kCatalogueImageSize, kCatalogueImageSize));
    m_ui.tree->setMinimumSize(440, 380);
    m_ui.tree->setItemDelegate(new MarkDelegate(m_ui.tree));
    m_ui.tree->setAccessibleName(QStringLiteral("Available Resources"));
    m_ui.tree->installEventFilter(this);
    auto* resourcesLayout = new QVBoxLayout(resources);
    resourcesLayout->addWidget(m_ui.tree);

    m_ui.detailsFrame = new QGroupBox(QStringLiteral("Details"), this);
    m_ui.details = new QLabel(m_ui.detailsFrame);
    m_ui.details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ui.details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_ui.details->setMinimumHeight(m_ui.details->fontMetrics().lineSpacing() * 4);
    m_ui.details->setAccessibleName(QStringLiteral("Details"));
    auto* detailsLayout = new QVBoxLayout(m_ui.detailsFrame);
    detailsLayout->addWidget(m_ui.details);

    m_ui.download = new QPushButton(QStringLiteral("&Download..."), this);
    m_ui.download->setEnabled(false);
    m_ui.cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ui.download);
    buttons->addStretch();
    buttons->addWidget(m_ui.cancel);

    auto* lower = new QHBoxLayout;
    lower->addWidget(m_ui.detailsFrame, 1);
    lower->addLayout(buttons);

    m_ui.status = new QLabel(QStringLiteral("Status:"), this);
    m_ui.status->setFrameShape(QFrame::Box);
    m_ui.status->setFrameShadow(QFrame::Sunken);
    m_ui.status->setAccessibleName(QStringLiteral("Status"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(resources, 1);
    layout->addLayout(lower);
    layout->addWidget(m_ui.status);

    connect(m_ui.tree, &QTreeWidget::itemDoubleClicked, this, &CResourceListDlg::OnDoubleClicked);
    connect(m_ui.tree, &QTreeWidget::currentItemChanged, this,
            &CResourceListDlg::OnCurrentItemChanged);
    connect(m_ui.download, &QPushButton::clicked, this, &CResourceListDlg::OnDownload);
    connect(m_ui.cancel, &QPushButton::clicked, this, &CResourceListDlg::reject);
}

int CResourceListDlg::exec() {
    setWindowTitle(ToDisplayText(m_list.Caption()));
    // The lists are fetched and the vote pictures installed off the window's thread, over the
    // window this list opens from.
    ResourceList::Opening opening = ResourceList::Opening::Cancelled;
    RunBusy(parentWidget() != nullptr ? *parentWidget() : *this,
            QStringLiteral("Fetching the update lists..."), [&] { opening = m_list.Open(); });
    if (opening == ResourceList::Opening::Cancelled) {
        setResult(Rejected);
        return Rejected;
    }
    FillTree();
    ShowTotals();
    m_ui.tree->scrollToItem(m_categoryItems[0]);
    if (opening == ResourceList::Opening::Listed) {
        m_timer->start();
    }
    return QDialog::exec();
}

const QIcon& CResourceListDlg::Icon(NodeId id) {
    const MarkImages images = MarkImagesOf(id, m_list.Tree().Node(id));
    auto [slot, added] = m_icons.try_emplace(images);
    if (added) {
        slot->second = MakeMarkIcon(images);
    }
    return slot->second;
}

void CResourceListDlg::FillTree() {
    const CatalogueTree& tree = m_list.Tree();
    m_ui.tree->clear();
    QFont bold = m_ui.tree->font();
    bold.setBold(true);
    for (const Category category : kCategories) {
        const auto index = static_cast<std::size_t>(category);
        const NodeId id{category, -1};
        auto* item = new QTreeWidgetItem(m_ui.tree, {ToDisplayText(tree.Node(id).label)});
        item->setFont(0, bold);
        ShowMark(item, id);
        item->setData(0, kCategoryRole, static_cast<int>(category));
        item->setData(0, kChildRole, -1);
        m_categoryItems[index] = item;

        const auto& packages = tree.Packages(category);
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(packages.size()));
        for (std::size_t child = 0; child < packages.size(); ++child) {
            auto* package = new QTreeWidgetItem({ToDisplayText(packages[child].label)});
            ShowMark(package, {category, static_cast<std::int32_t>(child)});
            package->setData(0, kCategoryRole, static_cast<int>(category));
            package->setData(0, kChildRole, static_cast<int>(child));
            children.append(package);
        }
        item->addChildren(children);
        m_packageItems[index].assign(children.begin(), children.end());
    }
    m_ui.tree->expandAll();
}

QTreeWidgetItem* CResourceListDlg::Item(NodeId id) const {
    const auto index = static_cast<std::size_t>(id.category);
    return id.IsCategory() ? m_categoryItems[index]
                           : m_packageItems[index][static_cast<std::size_t>(id.child)];
}

NodeId CResourceListDlg::IdOf(const QTreeWidgetItem* item) const {
    return {static_cast<Category>(item->data(0, kCategoryRole).toInt()),
            item->data(0, kChildRole).toInt()};
}

bool CResourceListDlg::TimerRunning() const {
    return m_timer->isActive();
}

void CResourceListDlg::Redraw(NodeId id) {
    ShowMark(Item(id), id);
}

void CResourceListDlg::ShowMark(QTreeWidgetItem* item, NodeId id) {
    item->setIcon(0, Icon(id));
    item->setCheckState(0, m_list.Tree().Node(id).markedChecked ? Qt::Checked : Qt::Unchecked);
}

bool CResourceListDlg::eventFilter(QObject* watched, QEvent* event) {
    // Space ticks the current package or category, as a double click does.
    if (watched == m_ui.tree && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            OnDoubleClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CResourceListDlg::ShowTotals() {
    const CatalogueTree& tree = m_list.Tree();
    if (!tree.StatusText().empty()) {
        m_ui.status->setText(ToDisplayText(tree.StatusText()));
    }
    m_ui.download->setEnabled(tree.DownloadEnabled());
}

void CResourceListDlg::OnTimer() {
    if (!m_list.Tree().RefreshCheckMarks()) {
        return;
    }
    for (const NodeId id : m_list.Tree().TakeRedrawn()) {
        Redraw(id);
    }
    m_ui.tree->expandAll();
    ShowTotals();
}

void CResourceListDlg::OnDoubleClicked() {
    if (QTreeWidgetItem* current = m_ui.tree->currentItem()) {
        m_list.Tree().ToggleCheck(IdOf(current));
    }
}

void CResourceListDlg::OnCurrentItemChanged(QTreeWidgetItem* current) {
    if (current == nullptr) {
        return;
    }
    const ItemDetails details = m_list.Tree().Details(IdOf(current));
    m_ui.detailsFrame->setTitle(ToDisplayText(details.caption));
    m_ui.details->setText(ToDisplayText(details.text));
}

void CResourceListDlg::OnDownload() {
    const bool refreshing = m_timer->isActive();
    m_timer->stop();
    // Downloads, then unpacks and places the packages off the window's thread.
    bool started = false;
    RunBusy(*this, QStringLiteral("Installing the packages..."),
            [this, &started] { started = m_list.Download(); });
    if (!started) {
        for (const NodeId id : m_list.Tree().TakeRedrawn()) {
            Redraw(id);
        }
        ShowTotals();
        if (refreshing) {
            m_timer->start();
        }
        return;
    }
    accept();
}

UpdatesOpener MakeUpdatesOpener(Session& session, UpdateTables& tables, DownloadTransfer& transfer,
                                Services& services) {
    return [&session, &tables, &transfer, &services](const UpdatesOpening& opening) {
        DialogDownloadRunner downloader(transfer, services.clock, opening.parent);
        UiThreadPrompter prompter(services.prompter); // the installation runs off its thread
        UpdateRoad road{
            tables.downloads, tables.versions,
            tables.mappings,  tables.log,
            prompter,         services.runner,
            downloader,       [](const std::string& note) { qDebug("%s", note.c_str()); }};
        road.showLog = false; // the summary offers it
        ResourceList list(opening.request, session.mods, road);
        CResourceListDlg dialog(list, opening.parent);
        if (dialog.exec() == QDialog::Accepted) {
            CInstallSummaryDlg summary(SummarizeInstallation(tables.downloads.Queue()),
                                       opening.request.paths.modWorkDir + kUpdateLogName,
                                       services.runner, opening.parent);
            summary.exec();
        }
        return UpdatesOutcome{list.ModInstalled()};
    };
}

} // namespace ballotine
