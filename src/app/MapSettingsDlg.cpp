#include "app/MapSettingsDlg.h"

#include "app/BusyWork.h"
#include "app/DisplayText.h"
#include "app/EnterKey.h"
#include "app/PreviewImage.h"
#include "app/UiThread.h"
#include "catalogue/Session.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace ballotine {

namespace {

constexpr int kNameColumnWidth = 300;

QString Text(std::string_view bytes) {
    return ToDisplayText(bytes);
}

} // namespace

CMapSettingsDlg::CMapSettingsDlg(MapSettingsPaths paths, std::string mapName,
                                 MapSettingsTables& tables, Services& services, QWidget* parent)
    : QDialog(parent), m_model(std::move(paths), std::move(mapName), tables), m_services(services) {
    BuildControls();
    LetEnterActOnlyOnFocusedButton(*this);
    m_model.Initialise(screen() != nullptr ? screen()->depth() : 32);
    setWindowTitle(Text(m_model.Caption()));
    m_ui.serverSizeFrame->setTitle(Text(m_model.MapName()));
    FillServerSizes();
    m_ui.preview->SetImage(ToPreviewImage(m_model.Preview()));
    ShowSetting();
}

void CMapSettingsDlg::BuildControls() {
    m_ui.preview = new PixelPicture(this);

    m_ui.serverSizeFrame = new QGroupBox(QStringLiteral("Server Size"), this);
    m_ui.serverSizes = new QTreeWidget(m_ui.serverSizeFrame);
    m_ui.serverSizes->setColumnCount(2);
    m_ui.serverSizes->setHeaderLabels({QStringLiteral("Map Sizes"), QStringLiteral("Map Ext")});
    m_ui.serverSizes->setHeaderHidden(true);
    m_ui.serverSizes->setColumnWidth(0, kNameColumnWidth);
    m_ui.serverSizes->setColumnHidden(1, true); // holds the key the update needs
    m_ui.serverSizes->setRootIsDecorated(false);
    m_ui.serverSizes->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui.serverSizes->setFixedHeight(kPreviewHeight + 20);
    m_ui.serverSizes->viewport()->installEventFilter(this);
    auto* sizesLayout = new QVBoxLayout(m_ui.serverSizeFrame);
    sizesLayout->addWidget(m_ui.serverSizes);

    m_ui.settingFrame = new QGroupBox(QStringLiteral("Setting"), this);
    m_ui.description = new QPlainTextEdit(m_ui.settingFrame);
    m_ui.description->setReadOnly(true);
    m_ui.description->setFrameShape(QFrame::NoFrame);
    m_ui.description->viewport()->setAutoFillBackground(false);
    auto* settingLayout = new QVBoxLayout(m_ui.settingFrame);
    settingLayout->addWidget(m_ui.description);

    m_ui.update = new QPushButton(QStringLiteral("Update..."), this);
    m_ui.update->setEnabled(false);
    m_ui.cancel = new QPushButton(QStringLiteral("Cancel"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_ui.preview, 0, Qt::AlignVCenter);
    top->addWidget(m_ui.serverSizeFrame, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ui.update);
    buttons->addWidget(m_ui.cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_ui.settingFrame, 1);
    layout->addLayout(buttons);
    resize(500, 390);

    // A keyboard choice of a row counts as a click, so the description always belongs to the
    // row "Update..." would apply.
    connect(m_ui.serverSizes, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_ui.serverSizes->selectedItems().isEmpty()) {
            OnServerSizesClicked();
        }
    });
    connect(m_ui.update, &QPushButton::clicked, this, &CMapSettingsDlg::OnUpdate);
    connect(m_ui.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CMapSettingsDlg::FillServerSizes() {
    for (const ServerSizeRow& row : m_model.Rows()) {
        auto* item = new QTreeWidgetItem(m_ui.serverSizes);
        item->setText(0, Text(row.displayName));
        item->setText(1, Text(row.key));
    }
}

void CMapSettingsDlg::ShowSetting() {
    m_ui.settingFrame->setTitle(Text(m_model.SettingCaption()));
    m_ui.description->setPlainText(Text(m_model.DescriptionText()));
    m_ui.update->setEnabled(m_model.UpdateEnabled());
}

std::optional<std::size_t> CMapSettingsDlg::FocusedRow() const {
    QTreeWidgetItem* item = m_ui.serverSizes->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    const int row = m_ui.serverSizes->indexOfTopLevelItem(item);
    return row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row));
}

bool CMapSettingsDlg::eventFilter(QObject* watched, QEvent* event) {
    // Any click inside the list, on a row or not, looks at the focused row.
    if (watched == m_ui.serverSizes->viewport() && event->type() == QEvent::MouseButtonRelease) {
        OnServerSizesClicked();
    }
    return QDialog::eventFilter(watched, event);
}

void CMapSettingsDlg::OnServerSizesClicked() {
    m_model.OnServerSizeClicked(FocusedRow());
    ShowSetting();
}

void CMapSettingsDlg::OnUpdate() {
    // The question, the entity tool and the messages run off the window's thread.
    const std::optional<std::size_t> row = FocusedRow();
    WorkServices services(m_services);
    bool updated = false;
    RunBusy(*this, QStringLiteral("Updating the map..."),
            [&] { updated = m_model.Update(row, services.Get()); });
    if (updated) {
        accept();
    }
}

MapSettingsOpener MakeMapSettingsOpener(const Session& session, MapSettingsTables& tables,
                                        Services& services) {
    return [&session, &tables, &services](const MapSettingsOpening& opening) {
        CMapSettingsDlg dialog(CopyMapSettingsPaths(session.paths), opening.map, tables, services,
                               opening.parent);
        dialog.exec();
    };
}

} // namespace ballotine
