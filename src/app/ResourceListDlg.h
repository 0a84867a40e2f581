#pragma once

#include "app/CatalogueImages.h"
#include "app/Openers.h"
#include "models/ResourceList.h"
#include "platform/Clock.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <map>
#include <utility>
#include <vector>

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace ballotine {

class DownloadTransfer;
struct Services;

// The update list window ("TFC Resource List"): a view over ResourceList. exec() runs the
// opening sequence first (its download windows appear over the parent) and shows the window
// only when the lists arrived; a 100 ms timer redraws the check marks after double clicks
// (or Space).
class CResourceListDlg : public QDialog {
    Q_OBJECT

public:
    struct Controls {
        QTreeWidget* tree;
        QGroupBox* detailsFrame;
        QLabel* details;
        QPushButton* download;
        QPushButton* cancel;
        QLabel* status;
    };

    explicit CResourceListDlg(ResourceList& list, QWidget* parent = nullptr);

    // Rejected at once, without showing the window, when the lists could not be fetched.
    int exec() override;

    const Controls& Ui() const { return m_ui; }
    QTreeWidgetItem* Item(NodeId id) const;
    bool TimerRunning() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillTree();
    void Redraw(NodeId id);
    // The item's image and check state, as the catalogue marks it.
    void ShowMark(QTreeWidgetItem* item, NodeId id);
    void ShowTotals();
    NodeId IdOf(const QTreeWidgetItem* item) const;
    const QIcon& Icon(NodeId id);

    void OnTimer();
    void OnDoubleClicked();
    void OnCurrentItemChanged(QTreeWidgetItem* current);
    void OnDownload();

    ResourceList& m_list;
    Controls m_ui{};
    QTimer* m_timer;
    std::map<MarkImages, QIcon> m_icons;
    std::array<QTreeWidgetItem*, 5> m_categoryItems{};
    std::array<std::vector<QTreeWidgetItem*>, 5> m_packageItems;
};

// Runs a queue in the download window, over the visible modal window or else over `parent`.
class DialogDownloadRunner final : public DownloadRunner {
public:
    DialogDownloadRunner(DownloadTransfer& transfer, const Clock& clock, QWidget* parent)
        : m_transfer(transfer), m_clock(clock), m_parent(parent) {}
    DownloadRunResult RunQueue(DownloadQueue& queue, bool allowSkip) override;

private:
    DownloadTransfer& m_transfer;
    const Clock& m_clock;
    QWidget* m_parent;
};

// What "Check For Updates" opens: the update list over the main window, on the program's
// tables and transfer.
UpdatesOpener MakeUpdatesOpener(Session& session, UpdateTables& tables, DownloadTransfer& transfer,
                                Services& services);

} // namespace ballotine
