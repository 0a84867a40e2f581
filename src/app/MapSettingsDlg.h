#pragma once

#include "app/Openers.h"
#include "models/MapSettingsModel.h"

#include <QDialog>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace ballotine {

class PixelPicture;

struct Services;
struct Session;

// The map settings window: the server sizes one map has entity settings for, the map's vote
// sprite, the description of the clicked size and "Update...", which rewrites the map's
// entities for it. A view over MapSettingsModel; a failed update leaves it open, a successful
// one closes it.
class CMapSettingsDlg : public QDialog {
    Q_OBJECT

public:
    // The controls, for the code that drives the window (tests, screenshots).
    struct Controls {
        PixelPicture* preview;
        QGroupBox* serverSizeFrame; // captioned with the map name
        QTreeWidget* serverSizes;   // display name; the key in a hidden second column
        QGroupBox* settingFrame;
        QPlainTextEdit* description;
        QPushButton* update;
        QPushButton* cancel;
    };

    CMapSettingsDlg(MapSettingsPaths paths, std::string mapName, MapSettingsTables& tables,
                    Services& services, QWidget* parent = nullptr);

    const Controls& Ui() const { return m_ui; }
    const MapSettingsModel& Model() const { return m_model; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void FillServerSizes();
    void ShowSetting();
    std::optional<std::size_t> FocusedRow() const;
    void OnServerSizesClicked();
    void OnUpdate();

    MapSettingsModel m_model;
    Services& m_services;
    Controls m_ui{};
};

// The opener the application gives the main window: runs the dialog modally over the window
// for the map, with copies of the session's working paths. Its result is not used.
MapSettingsOpener MakeMapSettingsOpener(const Session& session, MapSettingsTables& tables,
                                        Services& services);

} // namespace ballotine
