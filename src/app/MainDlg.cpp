#include "app/MainDlg.h"

#include "app/AboutDlg.h"
#include "app/Artwork.h"
#include "app/BusyWork.h"
#include "app/DisplayText.h"
#include "app/ElidedText.h"
#include "app/EnterKey.h"
#include "app/MapListWidget.h"
#include "app/PreviewImage.h"
#include "app/UiThread.h"
#include "app/WindowSize.h"
#include "catalogue/Session.h"
#include "models/CompileFlow.h"
#include "models/ListFlows.h"
#include "models/VotePictures.h"
#include "models/VotePicturesMessage.h"
#include "platform/Prompter.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace ballotine {

namespace {

constexpr const char* kAbandonQuestion =
    "You have not compiled this votemap yet.\nAbandon all changes?";
constexpr const char* kAboutMenuEntry = "&About Ballotine...";
constexpr const char* kMakePicturesEntry = "Make &Vote Pictures";
constexpr const char* kNoPicturesNotice =
    "This mod has no vote pictures (sprites/vote/*.spr), so no map can be listed or voted "
    "for.\n\nGet them from the mod's update server with \"Check For Updates\", draw them "
    "from the mod's own maps with \"ballotine-cli sprites\", or here:";
constexpr int kBannerHeight = 64;
constexpr int kValueWidth = 130;
constexpr int kModTitleCharacters = 20;

QString Text(std::string_view bytes) {
    return ToDisplayText(bytes);
}

std::array<QIcon, kMapStateCount> MarkerIcons() {
    return {MakeMarkerIcon(MapState::Installed), MakeMarkerIcon(MapState::Configurable),
            MakeMarkerIcon(MapState::NotDownloaded)};
}

QSlider* MakeSlider(int minimum, int maximum, int position, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setValue(position);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setPageStep(1);
    return slider;
}

ElidedLabel* MakeValueField(QWidget* parent) {
    auto* field = new ElidedLabel(parent);
    field->setMinimumWidth(kValueWidth);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

// What a button without words does, for its tooltip and for assistive technology.
void Describe(QPushButton* button, const char* action, const QKeySequence& shortcut) {
    const QString text = QString::fromLatin1(action);
    button->setAccessibleName(text);
    button->setToolTip(shortcut.isEmpty()
                           ? text
                           : text + QStringLiteral(" (") +
                                 shortcut.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    if (!shortcut.isEmpty()) {
        button->setShortcut(shortcut);
    }
}

QGroupBox* MakeListFrame(const QString& caption, MapListWidget* list, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(list);
    return frame;
}

} // namespace

CMainDlg::CMainDlg(Session& session, Services& services, const RegistryFile& registry,
                   QWidget* parent)
    : QDialog(parent), m_session(session), m_services(services), m_registry(registry),
      m_model(session) {
    m_model.ShowNotesWith(&services.prompter);
    setWindowTitle(Text(m_model.Title()));
    setWindowIcon(MakeAppIcon());
    // Its size does not follow what it shows (long texts are cut); the user may enlarge it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    BuildControls();
    LetEnterActOnlyOnFocusedButton(*this);
    SetTabOrder();
    m_model.OnTitleChanged([this] { setWindowTitle(Text(m_model.Title())); });
}

void CMainDlg::BuildControls() {
    const auto markers = MarkerIcons();
    m_ui.chosenMaps = new MapListWidget(QStringLiteral("Vote Map"), markers, this);
    m_ui.availableMaps = new MapListWidget(QStringLiteral("Map Name"), markers, this);

    auto* moveColumn = new QVBoxLayout;
    m_ui.remove = new QPushButton(QStringLiteral("-->"), this);
    m_ui.add = new QPushButton(QStringLiteral("<--"), this);
    m_ui.clear = new QPushButton(QStringLiteral("Cl&r"), this);
    // The arrows have no letter to underline: Alt with the arrow's direction moves too.
    Describe(m_ui.remove, "Back to Available Maps", QKeySequence(Qt::ALT | Qt::Key_Right));
    Describe(m_ui.add, "Add to Vote Map List", QKeySequence(Qt::ALT | Qt::Key_Left));
    Describe(m_ui.clear, "Clear Vote Map List", {});
    m_ui.chosenMaps->setAccessibleName(QStringLiteral("Vote Map List"));
    m_ui.availableMaps->setAccessibleName(QStringLiteral("Available Maps"));
    moveColumn->addStretch();
    for (QPushButton* button : {m_ui.remove, m_ui.add, m_ui.clear}) {
        button->setFixedWidth(44);
        moveColumn->addWidget(button);
    }
    moveColumn->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(BuildLeftColumn());
    middle->addWidget(MakeListFrame(QStringLiteral("Vote Map List"), m_ui.chosenMaps, this), 1);
    middle->addLayout(moveColumn);
    middle->addWidget(BuildAvailableFrame(), 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildDetailsFrame(), 0, Qt::AlignTop);
    bottom->addWidget(BuildDescriptionFrame(), 1);

    // The lists and the description share the height two to one (once each has its own).
    auto* body = new QVBoxLayout;
    body->addLayout(middle, 2);
    body->addWidget(BuildSettingsRow());
    body->addLayout(bottom, 1);

    // The banner spans the window whatever width the controls need.
    m_banner = new BannerWidget(kBannerHeight, this);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_banner);
    outer->addLayout(body);

    connect(m_ui.remove, &QPushButton::clicked, this, &CMainDlg::OnRemoveChosen);
    connect(m_ui.add, &QPushButton::clicked, this, &CMainDlg::OnAddChosen);
    connect(m_ui.clear, &QPushButton::clicked, this, &CMainDlg::OnClearChosen);
    for (const auto& [list, id] : {std::pair{m_ui.chosenMaps, MapListId::Chosen},
                                   std::pair{m_ui.availableMaps, MapListId::Available}}) {
        const MapListId which = id;
        // The details follow the current map, whether the mouse or the keyboard moved it.
        connect(list, &QTreeWidget::itemClicked, this, [this, which] { ShowCurrentMap(which); });
        connect(list, &QTreeWidget::currentItemChanged, this,
                [this, which](const QTreeWidgetItem* current) {
                    if (current != nullptr) {
                        ShowCurrentMap(which);
                    }
                });
        connect(list, &QTreeWidget::itemDoubleClicked, this,
                [this, which] { OnListDoubleClicked(which); });
    }
}

// Tab follows the window from left to right and top to bottom, as it is laid out.
void CMainDlg::SetTabOrder() {
    QWidget* const order[] = {
        m_ui.modSelector,   m_ui.loadList,     m_ui.saveList,    m_ui.saveListAs,
        m_ui.compile,       m_ui.about,        m_ui.exit,        m_ui.chosenMaps,
        m_ui.remove,        m_ui.add,          m_ui.clear,       m_ui.filter,
        m_ui.availableMaps, m_ui.makePictures, m_ui.wallsSlider, m_ui.playersSlider,
        m_ui.thugs,         m_ui.settings,     m_ui.description, m_ui.checkForUpdates};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

// "Available Maps" with its filter field above the list.
QWidget* CMainDlg::BuildAvailableFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Available Maps"), this);
    m_ui.filter = new QLineEdit(frame);
    m_ui.filter->setClearButtonEnabled(true);
    m_ui.filter->setPlaceholderText(QStringLiteral("part of a map name"));
    m_ui.filter->setAccessibleName(QStringLiteral("Filter Available Maps"));
    auto* caption = new QLabel(QStringLiteral("&Filter:"), frame);
    caption->setBuddy(m_ui.filter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(caption);
    filterRow->addWidget(m_ui.filter, 1);
    m_ui.availableStack = new QStackedWidget(frame);
    m_ui.availableStack->addWidget(m_ui.availableMaps);
    m_ui.availableStack->addWidget(BuildNoPicturesNotice());
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(filterRow);
    layout->addWidget(m_ui.availableStack, 1);
    connect(m_ui.filter, &QLineEdit::textChanged, m_ui.availableMaps, &MapListWidget::SetFilter);
    m_ui.availableMaps->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ui.availableMaps, &QWidget::customContextMenuRequested, this,
            &CMainDlg::OpenAvailableMapsMenu);
    return frame;
}

// Where "Available Maps" lists the maps, for a mod that has no vote picture: why the list is
// empty, and the ways to get its vote pictures.
QWidget* CMainDlg::BuildNoPicturesNotice() {
    auto* content = new QWidget(this);
    auto* text = new QLabel(QString::fromLatin1(kNoPicturesNotice), content);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // It wraps to the list's width rather than widening the window, and takes the height its
    // lines need there (a policy set by hand drops the label's own height-for-width).
    QSizePolicy wrapping(QSizePolicy::Ignored, QSizePolicy::Preferred);
    wrapping.setHeightForWidth(true);
    text->setSizePolicy(wrapping);
    m_ui.makePictures = new QPushButton(QString::fromLatin1(kMakePicturesEntry), content);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(text);
    layout->addWidget(m_ui.makePictures, 0, Qt::AlignLeft);
    layout->addStretch();
    connect(m_ui.makePictures, &QPushButton::clicked, this, &CMainDlg::OnMakeVotePictures);
    // It takes the list's room and scrolls within it: the window keeps its size (the stack
    // leaves a page's hints out where its policy is Ignored).
    auto* scroll = new QScrollArea(this);
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes to its button, not to the frame
    scroll->setWidget(content);
    m_ui.noPicturesNotice = scroll;
    return scroll;
}

QWidget* CMainDlg::BuildLeftColumn() {
    auto* frame = new QGroupBox(QStringLiteral("Ballotine"), this);
    auto* layout = new QVBoxLayout(frame);
    m_ui.modSelector = new QComboBox(frame);
    m_ui.modSelector->setAccessibleName(QStringLiteral("Mod"));
    // A long mod title is cut in the box (the list shows it whole), not the window widened.
    m_ui.modSelector->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_ui.modSelector->setMinimumContentsLength(kModTitleCharacters);
    m_ui.loadList = new QPushButton(QStringLiteral("&Load MapList..."), frame);
    m_ui.saveList = new QPushButton(QStringLiteral("&Save MapList"), frame);
    m_ui.saveListAs = new QPushButton(QStringLiteral("Save MapList &As..."), frame);
    m_ui.compile = new QPushButton(QStringLiteral("&Compile VoteMap"), frame);
    m_ui.about = new QPushButton(QStringLiteral("A&bout..."), frame);
    m_ui.exit = new QPushButton(QStringLiteral("E&xit"), frame);
    layout->addWidget(m_ui.modSelector);
    layout->addSpacing(6);
    for (QPushButton* button : {m_ui.loadList, m_ui.saveList, m_ui.saveListAs, m_ui.compile}) {
        layout->addWidget(button);
    }
    layout->addStretch();
    layout->addWidget(m_ui.about);
    layout->addWidget(m_ui.exit);

    connect(m_ui.modSelector, &QComboBox::currentIndexChanged, this, &CMainDlg::OnModSelected);
    connect(m_ui.loadList, &QPushButton::clicked, this, &CMainDlg::OnLoadList);
    connect(m_ui.saveList, &QPushButton::clicked, this, &CMainDlg::OnSaveList);
    connect(m_ui.saveListAs, &QPushButton::clicked, this, &CMainDlg::OnSaveListAs);
    connect(m_ui.compile, &QPushButton::clicked, this, &CMainDlg::OnCompile);
    connect(m_ui.about, &QPushButton::clicked, this, &CMainDlg::OpenAbout);
    // Exit is the OK command: it asks about uncompiled changes like Enter does.
    connect(m_ui.exit, &QPushButton::clicked, this, &CMainDlg::accept);
    return frame;
}

QWidget* CMainDlg::BuildSettingsRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 0, 4, 0);
    m_ui.wallsLabel = new QLabel(QStringLiteral("Normal Walls"), row);
    m_ui.wallsSlider = MakeSlider(kMinWallStrength, kMaxWallStrength, 1, row);
    m_ui.playersLabel = new QLabel(QStringLiteral("Thugs:"), row);
    m_ui.playersSlider = MakeSlider(kMinPlayers, kMaxPlayers, 12, row);
    m_ui.thugs = new QCheckBox(QStringLiteral("Thu&gs?"), row);
    m_ui.wallsSlider->setAccessibleName(QStringLiteral("Wall strength"));
    m_ui.playersSlider->setAccessibleName(QStringLiteral("Expected players"));
    m_ui.thugs->setChecked(true);
    m_ui.thugs->setLayoutDirection(Qt::RightToLeft); // the text left of the box
    // Room for the widest texts, so the row does not move as they change.
    m_ui.wallsLabel->setMinimumWidth(
        m_ui.wallsLabel->fontMetrics().horizontalAdvance(QStringLiteral("Strong Walls")) + 8);
    m_ui.playersLabel->setMinimumWidth(
        m_ui.playersLabel->fontMetrics().horizontalAdvance(QStringLiteral("3/32 (Thugs/Players)")) +
        8);
    layout->addWidget(m_ui.wallsLabel);
    layout->addWidget(m_ui.wallsSlider, 2);
    layout->addSpacing(16);
    layout->addWidget(m_ui.playersLabel);
    layout->addWidget(m_ui.playersSlider, 3);
    layout->addSpacing(16);
    layout->addWidget(m_ui.thugs);

    connect(m_ui.playersSlider, &QSlider::valueChanged, this, &CMainDlg::OnPlayersChanged);
    connect(m_ui.wallsSlider, &QSlider::valueChanged, this, &CMainDlg::OnWallsChanged);
    connect(m_ui.thugs, &QCheckBox::clicked, this, &CMainDlg::OnThugsClicked);
    return row;
}

QWidget* CMainDlg::BuildDetailsFrame() {
    m_ui.detailsFrame = new QGroupBox(QStringLiteral("Map Details"), this);
    auto* layout = new QGridLayout(m_ui.detailsFrame);
    m_ui.nameValue = MakeValueField(m_ui.detailsFrame);
    m_ui.sizeValue = MakeValueField(m_ui.detailsFrame);
    m_ui.downloadedValue = MakeValueField(m_ui.detailsFrame);
    const std::pair<const char*, QLabel*> rows[] = {{"Map Name:", m_ui.nameValue},
                                                    {"Map Size:", m_ui.sizeValue},
                                                    {"Map Downloaded?", m_ui.downloadedValue}};
    int row = 0;
    for (const auto& [caption, value] : rows) {
        value->setAccessibleName(QString::fromLatin1(caption).remove(QLatin1Char(':')));
        layout->addWidget(new QLabel(QString::fromLatin1(caption), m_ui.detailsFrame), row, 0);
        layout->addWidget(value, row, 1);
        ++row;
    }
    m_ui.preview = new PixelPicture(m_ui.detailsFrame);
    m_ui.preview->setAccessibleName(QStringLiteral("Vote picture"));
    m_ui.settings = new QPushButton(QStringLiteral("Se&ttings..."), m_ui.detailsFrame);
    m_ui.settings->setEnabled(false);
    layout->addWidget(m_ui.preview, 0, 2, 3, 1, Qt::AlignCenter);
    layout->addWidget(m_ui.settings, 3, 2);
    layout->setRowStretch(4, 1);
    connect(m_ui.settings, &QPushButton::clicked, this, &CMainDlg::OpenMapSettings);
    return m_ui.detailsFrame;
}

QWidget* CMainDlg::BuildDescriptionFrame() {
    m_ui.descriptionFrame = new ElidedGroupBox(QStringLiteral("Map Description"), this);
    auto* layout = new QVBoxLayout(m_ui.descriptionFrame);
    m_ui.description = new QPlainTextEdit(m_ui.descriptionFrame);
    m_ui.description->setReadOnly(true);
    m_ui.description->setMinimumWidth(220);
    m_ui.description->setMinimumHeight(120);
    m_ui.description->setAccessibleName(QStringLiteral("Map Description"));
    m_ui.checkForUpdates =
        new QPushButton(QStringLiteral("Check For &Updates"), m_ui.descriptionFrame);
    layout->addWidget(m_ui.description);
    layout->addWidget(m_ui.checkForUpdates, 0, Qt::AlignRight);
    connect(m_ui.checkForUpdates, &QPushButton::clicked, this, &CMainDlg::OnCheckForUpdates);
    return m_ui.descriptionFrame;
}

bool CMainDlg::StartUp() {
    PreparePreview(m_model.Preview(), screen() != nullptr ? screen()->depth() : 32);
    const bool started = StartSession(m_session, m_registry, m_services.prompter);
    if (started) {
        m_model.RefreshMapLists();
    }
    FillModSelector();
    ShowModel();
    SetStartingSize();
    return started;
}

// The window as laid out is the smallest it gets; it opens at the size it last had.
void CMainDlg::SetStartingSize() {
    setMinimumSize(sizeHint());
    QSize size = LoadWindowSize(m_sizeFile).value_or(sizeHint()).expandedTo(minimumSize());
    if (const QScreen* shownOn = screen()) {
        size = size.boundedTo(shownOn->availableSize()).expandedTo(minimumSize());
    }
    resize(size);
}

void CMainDlg::ShowModel() {
    setWindowTitle(Text(m_model.Title()));
    ShowLists();
    ShowSettings();
    ShowDetails();
    ShowEnabledControls();
}

void CMainDlg::UpdateTitle() {
    m_model.UpdateTitle(); // the title listener shows it
}

void CMainDlg::FillModSelector() {
    const QSignalBlocker blocker(m_ui.modSelector);
    m_ui.modSelector->clear();
    for (const std::string& title : m_session.selector.Entries()) {
        m_ui.modSelector->addItem(Text(title));
    }
    m_ui.modSelector->setCurrentIndex(m_session.selector.SelectedIndex());
}

void CMainDlg::ShowLists() {
    m_ui.chosenMaps->ShowList(m_model.ChosenMaps());
    m_ui.availableMaps->ShowList(m_model.AvailableMaps());
}

void CMainDlg::ShowSettings() {
    const VoteMapSettings& settings = m_model.Settings();
    {
        const QSignalBlocker players(m_ui.playersSlider);
        const QSignalBlocker walls(m_ui.wallsSlider);
        const QSignalBlocker thugs(m_ui.thugs);
        m_ui.playersSlider->setValue(settings.playerCount);
        m_ui.wallsSlider->setValue(settings.wallStrength);
        m_ui.thugs->setChecked(settings.thugsEnabled);
    }
    // The players label reads "Thugs:" until the slider has first been shown.
    if (m_shown) {
        m_ui.playersLabel->setText(Text(settings.PlayersLabel()));
    }
    m_ui.wallsLabel->setText(Text(settings.WallsLabel()));
}

void CMainDlg::ShowDetails() {
    const MapDetails& details = m_model.Details();
    m_ui.nameValue->SetText(Text(details.name));
    m_ui.sizeValue->SetText(Text(details.sizeText));
    m_ui.downloadedValue->SetText(Text(details.downloadedText));
    m_ui.descriptionFrame->SetWholeTitle(details.caption.empty() && details.name.empty()
                                             ? QStringLiteral("Map Description")
                                             : Text(details.caption));
    m_ui.description->setPlainText(Text(details.description));
    m_ui.preview->SetImage(ToPreviewImage(m_model.Preview()));
}

void CMainDlg::ShowEnabledControls() {
    const bool enabled = m_model.WorkingControlsEnabled();
    // A mod without vote pictures says so where its maps would be listed.
    m_ui.availableStack->setCurrentWidget(!enabled && m_session.paths.HasMod()
                                              ? m_ui.noPicturesNotice
                                              : static_cast<QWidget*>(m_ui.availableMaps));
    m_ui.filter->setEnabled(enabled);
    QWidget* const working[] = {m_ui.add,           m_ui.remove,          m_ui.clear,
                                m_ui.compile,       m_ui.loadList,        m_ui.saveList,
                                m_ui.saveListAs,    m_ui.chosenMaps,      m_ui.availableMaps,
                                m_ui.wallsLabel,    m_ui.wallsSlider,     m_ui.playersLabel,
                                m_ui.playersSlider, m_ui.thugs,           m_ui.nameValue,
                                m_ui.sizeValue,     m_ui.downloadedValue, m_ui.description};
    for (QWidget* control : working) {
        control->setEnabled(enabled);
    }
    // The frames' own labels follow; the preview picture is never disabled.
    for (QLabel* label : m_ui.detailsFrame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        label->setEnabled(enabled);
    }
    m_ui.settings->setEnabled(m_model.SettingsEnabled());
}

void CMainDlg::CopySelections() {
    m_ui.chosenMaps->CopySelectionTo(m_model.ChosenMaps());
    m_ui.availableMaps->CopySelectionTo(m_model.AvailableMaps());
}

void CMainDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) {
        return;
    }
    // The sliders act once when the window first appears, as they do on every change.
    m_shown = true;
    m_model.Settings().OnPlayersChanged(m_ui.playersSlider->value());
    m_model.Settings().OnWallsChanged(m_ui.wallsSlider->value());
    ShowSettings();
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The desktop gives no window menu to add to; the window's own context menu offers it.
    QMenu menu(this);
    menu.addAction(QString::fromLatin1(kAboutMenuEntry), this, &CMainDlg::OpenAbout);
    menu.exec(event->globalPos());
}

void CMainDlg::OpenAvailableMapsMenu(const QPoint& at) {
    QMenu menu(this);
    menu.addAction(QString::fromLatin1(kMakePicturesEntry), this, &CMainDlg::OnMakeVotePictures);
    menu.exec(m_ui.availableMaps->viewport()->mapToGlobal(at));
}

void CMainDlg::OnMakeVotePictures() {
    if (!m_session.paths.HasMod()) {
        return;
    }
    // Pictures for every map that has none, drawn off the window's thread (a mod may have
    // thousands of maps); then the lists are read anew and the notes shown.
    PictureReport report;
    RunBusy(*this, QStringLiteral("Drawing vote pictures..."),
            [this, &report] { report = MakeVotePictures(m_session.paths, {}, false); });
    CopySelections();
    m_model.RefreshAfterNewPictures();
    ShowModel();
    m_services.prompter.ShowMessage(VotePicturesMessage(report));
}

void CMainDlg::accept() {
    if (m_model.Settings().uncompiledChanges &&
        !m_services.prompter.AskBeforeAbandoning(kAbandonQuestion)) {
        return;
    }
    QDialog::accept();
}

void CMainDlg::done(int result) {
    SaveWindowSize(m_sizeFile, isMaximized() ? normalGeometry().size() : size());
    QDialog::done(result);
}

void CMainDlg::OpenAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainDlg::OnModSelected(int index) {
    CopySelections();
    m_model.SelectMod(index);
    ShowModel();
}

void CMainDlg::OnPlayersChanged(int position) {
    m_model.Settings().OnPlayersChanged(position);
    ShowSettings();
}

void CMainDlg::OnWallsChanged(int position) {
    m_model.Settings().OnWallsChanged(position);
    ShowSettings();
}

void CMainDlg::OnThugsClicked(bool checked) {
    m_model.Settings().OnThugsToggled(checked);
    ShowSettings();
}

void CMainDlg::OnAddChosen() {
    CopySelections();
    m_model.AddChosenMaps();
    ShowLists();
}

void CMainDlg::OnRemoveChosen() {
    CopySelections();
    m_model.RemoveChosenMaps();
    ShowLists();
}

void CMainDlg::OnClearChosen() {
    CopySelections();
    m_model.ClearChosenMaps();
    ShowLists();
}

void CMainDlg::ShowCurrentMap(MapListId list) {
    CopySelections();
    if (m_model.ShowFocusedMap(list)) {
        ShowDetails();
        m_ui.settings->setEnabled(m_model.SettingsEnabled());
    }
}

void CMainDlg::OnListDoubleClicked(MapListId list) {
    CopySelections();
    if (m_model.CanOpenFocusedMapSettings(list)) {
        OpenMapSettings();
    }
}

void CMainDlg::OnLoadList() {
    CopySelections();
    if (LoadVoteMapList(m_model, m_services.prompter)) {
        ShowModel();
    }
}

void CMainDlg::OnSaveList() {
    SaveVoteMapList(m_model, m_services.prompter);
}

void CMainDlg::OnSaveListAs() {
    SaveVoteMapListAs(m_model, m_services.prompter);
}

void CMainDlg::OnCompile() {
    // The questions, the entity tool and the message run off the window's thread; the window
    // stays drawn and takes no input until the compile has ended.
    WorkServices services(m_services);
    RunBusy(*this, QStringLiteral("Compiling the vote map..."),
            [&] { CompileVoteMap(m_model, services.Get()); });
}

void CMainDlg::OpenMapSettings() {
    if (m_mapSettingsOpener) {
        m_mapSettingsOpener({this, m_model.SelectedMap()});
    }
}

void CMainDlg::OnCheckForUpdates() {
    // Without a selected mod there is no address to fetch the lists from.
    const auto request = MakeResourceListRequest(m_session);
    if (!request || !m_updatesOpener) {
        return;
    }
    CopySelections();
    const UpdatesOutcome outcome = m_updatesOpener({this, *request});
    m_model.RefreshAfterUpdates(m_services.prompter, outcome.modInstalled);
    FillModSelector();
    ShowModel();
}

} // namespace ballotine
