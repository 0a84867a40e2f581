#include "app/ResourceListDlg.h"

#include "app/DisplayText.h"
#include "app/DownloadDlg.h"
#include "catalogue/Session.h"
#include "platform/Services.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtDebug>

namespace ballotine {

namespace {

constexpr int kImageSize = 16;
constexpr int kRefreshMs = 100;
constexpr int kCategoryRole = Qt::UserRole;
constexpr int kChildRole = Qt::UserRole + 1;

void DrawBox(QPainter& painter, bool selected) {
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(selected ? QColor(190, 190, 190) : QColor(Qt::white));
    painter.drawRect(QRectF(1.5, 1.5, 12, 12));
}

void DrawTick(QPainter& painter) {
    painter.setPen(QPen(QColor(0, 150, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF tick[] = {{4.0, 8.0}, {6.8, 11.0}, {12.0, 4.5}};
    painter.drawPolyline(tick, 3);
}

void DrawCross(QPainter& painter) {
    painter.setPen(QPen(QColor(205, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
    painter.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
}

void DrawChevrons(QPainter& painter, bool right, const QColor& colour) {
    painter.setPen(QPen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const double x : {2.5, 8.0}) {
        const double tip = right ? x + 4.5 : x;
        const double tail = right ? x : x + 4.5;
        const QPointF chevron[] = {{tail, 3.5}, {tip, 8.0}, {tail, 12.5}};
        painter.drawPolyline(chevron, 3);
    }
}

QPixmap DrawImage(int image) {
    QPixmap pixmap(kImageSize, kImageSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool selected = image >= ImageTickSelected;
    switch (image % ImageTickSelected) {
    case ImageTick:
        DrawBox(painter, selected);
        DrawTick(painter);
        break;
    case ImageCross:
        DrawBox(painter, selected);
        DrawCross(painter);
        break;
    case ImageChevronRight:
        DrawChevrons(painter, true, selected ? QColor(40, 220, 40) : QColor(0, 100, 0));
        break;
    default:
        DrawChevrons(painter, false, selected ? QColor(255, 50, 50) : QColor(140, 0, 0));
        break;
    }
    return pixmap;
}

} // namespace

std::array<QPixmap, kCatalogueImageCount> MakeCatalogueImages() {
    std::array<QPixmap, kCatalogueImageCount> images;
    for (int image = 0; image < kCatalogueImageCount; ++image) {
        images[static_cast<std::size_t>(image)] = DrawImage(image);
    }
    return images;
}

int DialogDownloadRunner::RunQueue(DownloadQueue& queue, bool allowSkip) {
    // Over the update list once it shows, over the main window while it opens.
    QWidget* modal = QApplication::activeModalWidget();
    CDownloadDlg dialog(queue, allowSkip, m_transfer, m_clock,
                        modal != nullptr && modal->isVisible() ? modal : m_parent);
    dialog.exec();
    return dialog.Result();
}

CResourceListDlg::CResourceListDlg(ResourceList& list, QWidget* parent)
    : QDialog(parent), m_list(list), m_timer(new QTimer(this)), m_images(MakeCatalogueImages()) {
    setWindowTitle(QStringLiteral("TFC Resource List"));
    BuildControls();
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
    m_ui.tree->setIconSize(QSize(kImageSize, kImageSize));
    m_ui.tree->setMinimumSize(440, 380);
    auto* resourcesLayout = new QVBoxLayout(resources);
    resourcesLayout->addWidget(m_ui.tree);

    m_ui.detailsFrame = new QGroupBox(QStringLiteral("Details"), this);
    m_ui.details = new QLabel(m_ui.detailsFrame);
    m_ui.details->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ui.details->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_ui.details->setMinimumHeight(m_ui.details->fontMetrics().lineSpacing() * 4);
    auto* detailsLayout = new QVBoxLayout(m_ui.detailsFrame);
    detailsLayout->addWidget(m_ui.details);

    m_ui.download = new QPushButton(QStringLiteral("Download..."), this);
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
    const ResourceList::Opening opening = m_list.Open();
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

const QIcon& CResourceListDlg::Icon(const CatalogueNode& node) {
    auto [slot, added] = m_icons.try_emplace({node.image, node.selectedImage});
    if (added) {
        slot->second.addPixmap(m_images[static_cast<std::size_t>(node.image)], QIcon::Normal);
        slot->second.addPixmap(m_images[static_cast<std::size_t>(node.selectedImage)],
                               QIcon::Selected);
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
        item->setIcon(0, Icon(tree.Node(id)));
        item->setData(0, kCategoryRole, static_cast<int>(category));
        item->setData(0, kChildRole, -1);
        m_categoryItems[index] = item;

        const auto& packages = tree.Packages(category);
        QList<QTreeWidgetItem*> children;
        children.reserve(static_cast<qsizetype>(packages.size()));
        for (std::size_t child = 0; child < packages.size(); ++child) {
            auto* package = new QTreeWidgetItem({ToDisplayText(packages[child].label)});
            package->setIcon(0, Icon(packages[child]));
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
    Item(id)->setIcon(0, Icon(m_list.Tree().Node(id)));
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
    const bool started = m_list.Download();
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

CMainDlg::UpdatesOpener MakeUpdatesOpener(Session& session, UpdateTables& tables,
                                          DownloadTransfer& transfer, Services& services) {
    return [&session, &tables, &transfer, &services](CMainDlg& window,
                                                     const ResourceListRequest& request) {
        DialogDownloadRunner downloader(transfer, services.clock, &window);
        UpdateRoad road{
            tables.downloads,  tables.versions,
            tables.mappings,   tables.log,
            services.prompter, services.runner,
            downloader,        [](const std::string& note) { qDebug("%s", note.c_str()); }};
        ResourceList list(request, session.mods, road);
        CResourceListDlg dialog(list, &window);
        dialog.exec();
        return list.ModInstalled();
    };
}

} // namespace ballotine
