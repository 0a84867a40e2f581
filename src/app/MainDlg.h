#pragma once

#include "app/Openers.h"
#include "models/MainWindowModel.h"

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStackedWidget;

namespace ballotine {

class PixelPicture;

class ElidedGroupBox;
class ElidedLabel;
class MapListWidget;
class RegistryFile;
struct Services;
struct Session;

// The main window: a view over MainWindowModel. Handlers copy the user's list selection into
// the model, run the model's operation and show the model again.
class CMainDlg : public QDialog {
    Q_OBJECT

public:
    // The controls, for the code that drives the window (tests, screenshots).
    struct Controls {
        QComboBox* modSelector;
        QPushButton* loadList;
        QPushButton* saveList;
        QPushButton* saveListAs;
        QPushButton* compile;
        QPushButton* about;
        QPushButton* exit;
        MapListWidget* chosenMaps;
        QLineEdit* filter; // above "Available Maps"
        MapListWidget* availableMaps;
        QStackedWidget* availableStack; // the list, or the notice for a mod without pictures
        QWidget* noPicturesNotice;
        QPushButton* makePictures; // in the notice; the list's context menu offers it too
        QPushButton* add;          // "<--"
        QPushButton* remove;       // "-->"
        QPushButton* clear;        // "Clr"
        QLabel* wallsLabel;
        QSlider* wallsSlider;
        QLabel* playersLabel;
        QSlider* playersSlider;
        QCheckBox* thugs;
        QGroupBox* detailsFrame;
        ElidedLabel* nameValue;
        ElidedLabel* sizeValue;
        ElidedLabel* downloadedValue;
        PixelPicture* preview;
        QPushButton* settings;
        ElidedGroupBox* descriptionFrame; // captioned with the map's title
        QPlainTextEdit* description;
        QPushButton* checkForUpdates;
    };

    CMainDlg(Session& session, Services& services, const RegistryFile& registry,
             QWidget* parent = nullptr);

    // The start-up sequence: finds the game and the mods and fills the window. False when
    // the program cannot go on (its message has been shown).
    bool StartUp();

    MainWindowModel& Model() { return m_model; }
    const Controls& Ui() const { return m_ui; }
    QComboBox* ModSelector() const { return m_ui.modSelector; }

    void SetMapSettingsOpener(MapSettingsOpener opener) { m_mapSettingsOpener = std::move(opener); }
    void SetUpdatesOpener(UpdatesOpener opener) { m_updatesOpener = std::move(opener); }
    // Where the window's size is kept between runs (before StartUp); none: it is not kept.
    void RememberSizeIn(QString file) { m_sizeFile = std::move(file); }

    // Shows the model again after code outside the window changed it.
    void ShowModel();
    // The title with the current list name.
    void UpdateTitle();
    // Opens the about box (the "About..." button and the window's menu).
    void OpenAbout();

    // OK ("Exit"): asks before changes that were not compiled are abandoned. Enter is no OK
    // command here: it acts only on the focused button.
    void accept() override;
    // Closing, however it closes: keeps the window's size.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void SetTabOrder();
    void SetStartingSize();
    QWidget* BuildLeftColumn();
    QWidget* BuildAvailableFrame();
    QWidget* BuildNoPicturesNotice();
    QWidget* BuildSettingsRow();
    QWidget* BuildDetailsFrame();
    QWidget* BuildDescriptionFrame();

    void FillModSelector();
    void ShowLists();
    void ShowSettings();
    void ShowDetails();
    void ShowEnabledControls();
    void CopySelections();

    void OnModSelected(int index);
    void OnPlayersChanged(int position);
    void OnWallsChanged(int position);
    void OnThugsClicked(bool checked);
    void OnAddChosen();
    void OnRemoveChosen();
    void OnClearChosen();
    void ShowCurrentMap(MapListId list);
    void OnListDoubleClicked(MapListId list);
    void OnLoadList();
    void OnSaveList();
    void OnSaveListAs();
    void OnCompile();
    void OpenMapSettings();
    void OnCheckForUpdates();
    void OpenAvailableMapsMenu(const QPoint& at);
    void OnMakeVotePictures();

    Session& m_session;
    Services& m_services;
    const RegistryFile& m_registry;
    MainWindowModel m_model;
    Controls m_ui{};
    QWidget* m_banner = nullptr;
    MapSettingsOpener m_mapSettingsOpener;
    UpdatesOpener m_updatesOpener;
    bool m_shown = false;
    QString m_sizeFile;
};

} // namespace ballotine
