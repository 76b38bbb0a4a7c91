#include "shell/CKeyloomDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <future>

#include "controls/BackgroundDecode.h"
#include "controls/QtText.h"
#include "controls/SkinReaders.h"
#include "model/KeyTable.h"
#include "model/KeyViewKeys.h"
#include "platform/ini/Ini.h"
#include "platform/window/WindowThread.h"
#include "shell/AccessibleNames.h"
#include "shell/GBankSwitch.h"
#include "shell/KeyTooltip.h"
#include "shell/MainControls.h"
#include "shell/MainFocusRegions.h"
#include "shell/MainWindowTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/TopRowSwitch.h"
#include "storage/Language.h"
#include "storage/ProfileMenu.h"
#include "storage/SettingsKey.h"
#include "storage/SkinScreen.h"

namespace keyloom::shell {

using controls::CSkinButton;
using controls::SkinPictureSet;

CKeyloomDlg::CKeyloomDlg(DialogSetup setup, QWidget* parent)
    : CKeyloomDlg(std::move(setup), StartedCore{}, parent) {}

CKeyloomDlg::CKeyloomDlg(DialogSetup setup, StartedCore started, QWidget* parent)
    : CBaseDialog(parent), setup_(std::move(setup)) {
    // The program's own window, not a dialog of some other one: taskbars,
    // docks and Alt-Tab list it. Skinned, so the window system draws no frame.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    // Its buttons explain themselves also while another window has the focus.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    qRegisterMetaType<window::WindowMessage>();
    if (started.port && started.core) {
        port_ = std::move(started.port);
        core_ = std::move(started.core);
    } else {
        port_ = std::make_unique<MainWindowPort>();
        core_ = std::make_unique<KeyloomCore>(port_->coreWindow(), setup_.paths, setup_.core);
    }
    port_->attach(*this);
    MainMenusSetup menus;
    menus.window = this;
    menus.registry = setup_.registry;
    menus.runCommand = [this](int command) { runCommand(command); };
    menus.languageChosen = [this] {
        port_->sendMessage(window::languageMessage(currentLanguageIndex()));
    };
    menus.profileItems = [this] { return core_->profileMenu(); };
    menus_ = std::make_unique<MainMenus>(std::move(menus));
    DialogOpenerSetup dialogs;
    dialogs.window = this;
    dialogs.paths = setup_.paths;
    dialogs.registry = setup_.registry;
    dialogs.core = core_.get();
    dialogs.prompts = port_.get();
    dialogs.view = port_.get();
    dialogs.runKeyboardWork = [this](std::function<void()> work, std::function<void()> done) {
        return runKeyboardWork(std::move(work), std::move(done));
    };
    dialogs.confirm = [this](const std::string& text) { confirm(text); };
    dialogs.openHelp = [this] { openHelp(); };
    dialogs.openLink = [this](const QString& address) { openLink(address); };
    dialogs.keysApplied = [this] {
        rebuildKeyTooltips();
        redrawKeyView();
    };
    dialogs_ = std::make_unique<DialogOpener>(std::move(dialogs));
    // The busy indicator runs its frames itself.
    for (int id : {window::timer::kLightingRefresh, window::timer::kStartup,
                   window::timer::kProfileRefresh}) {
        auto timer = std::make_unique<QTimer>();
        timer->setObjectName(QStringLiteral("timer%1").arg(id));
        timer->setSingleShot(true);
        connect(timer.get(), &QTimer::timeout, this, [this, id] { onTimer(id); });
        timers_[id] = std::move(timer);
    }
    // Enter, Escape and arrow keys are filtered before any control sees them.
    qApp->installEventFilter(this);
}

CKeyloomDlg::~CKeyloomDlg() {
    qApp->removeEventFilter(this);
    focusOrder_.reset();
    shutdown();
    // The editor dialogs and the lighting panel use the core's stores and
    // link: they go first.
    afterFirstFrame_.reset();
    lighting_.reset();
    dialogs_.reset();
    core_.reset();
}

// --- Initialisation ----------------------------------------------------------

InitResult CKeyloomDlg::initialise() {
    InitResult result;
    const AppPaths& paths = setup_.paths;
    // The device threads start first (if they did not before the window)
    // so that finding and reading the keyboard overlaps building the window:
    // their messages wait for the window thread, and a start that fails
    // below stops them again (shutdown). The data folder is ready before the
    // first full read keeps its slot file there.
    prepareDataFolder(paths);
    core_->start();
    // The icon is the largest picture decoded before the window opens:
    // decoded beside the controls being built.
    std::future<QImage> icon = controls::decodeInBackground(
        controls::programIconFile(paths.skinFolder), controls::DecodePriority::Own);

    // Decoded when first painted: a start hidden in the tray needs none of it.
    // A window that will open has them decoded beside the keyboard's full
    // read, so that it shows as soon as the read ends.
    loadSkin(paths.mainSkinFile, SkinPictures::WhenNeeded);
    if (!setup_.core.startHidden)
        decodeAhead();
    setAttribute(Qt::WA_DeleteOnClose, false);

    showModified(false);
    for (int i = 0; i < 3; ++i) {
        static const char* const kLinkKeys[] = {"Link", "Link1", "Link2"};
        links_[i] = ini::readString(paths.mainSkinFile, "SCREEN", kLinkKeys[i], "");
    }
    buildControls();
    // The pictures are cut to the placed buttons' rectangles.
    if (!loadPictures(result.missingPicture))
        return result;
    buildCommandTable();
    topRow_ = readTopRowSwitch(setup_.registry.get());
    applyTopRowSwitch();
    showModified(core_->modified().isModified());
    // The first frame draws from the disabled picture the buttons disabled
    // now (Apply: nothing changed yet; D1-D6) and the selected profile and
    // report rate, which the full read decides: their parts of it are
    // decoded beside the read too.
    if (!setup_.core.startHidden) {
        std::vector<CSkinButton*> selectable;
        for (int i = 0; i < 3; ++i)
            selectable.push_back(button(control::kProfile1 + i));
        for (int id : control::kReportButtons)
            selectable.push_back(button(id));
        pictures_.decodePartsAhead(MainPictures::Disabled, selectable);
    }

    setWindowTitle(qs(lookupText("MAIN_CAPTION")));
    useProgramIcon(icon.get());
    core_->state().keyToggleMode = false;
    setSwitchText();
    // The lighting panel is not in the first frame's way: it is built once
    // that frame is on screen (a start hidden in the tray builds it when the
    // window first opens), or earlier when something uses it. The tray icon
    // neither, as asking whether there is a tray waits on the session bus:
    // a start hidden in the tray places it at once, any other once the first
    // frame is on screen, or after a while without a window (no keyboard
    // yet), the icon being how to reach the program then.
    afterFirstFrame_ = std::make_unique<controls::AfterFirstPaint>(*this, [this] {
        lightingPanel();
        placeTrayIcon();
    });
    buildTrayIcon();
    if (setup_.core.startHidden)
        placeTrayIcon();
    else
        QTimer::singleShot(setup_.trayIconLatest, this, [this] { placeTrayIcon(); });
    // The window system's window is made now, while the read runs, so that
    // opening the window at the read's end only maps it.
    if (!setup_.core.startHidden)
        create();

    port_->postMessage(window::kInitMessage);
    port_->sendMessage(window::languageMessage(currentLanguageIndex()));
    port_->startTimer(window::timer::kStartup, std::chrono::milliseconds(100));
    initialised_ = true;
    result.ok = true;
    return result;
}

bool CKeyloomDlg::loadPictures(std::string& missing) {
    const std::string& folder = setup_.paths.skinFolder;
    std::vector<MainPictures::Use> uses;
    for (const MainControl& c : mainControls())
        uses.push_back({button(c.id), c.faces, isKeyViewControl(c.id) || c.id == control::kFn});
    // The background is normally the normal picture itself: no second
    // decoding, and it is held (and dropped) with the buttons' cuts.
    backgroundIsNormal_ = readSkinScreen(setup_.paths.mainSkinFile).mainPicturePath ==
                          folder + MainPictures::kNormalFile;
    MainPictures::NormalSource normal;
    if (backgroundIsNormal_)
        normal = [this] { return takeBackground(); };
    if (!pictures_.dress(folder, std::move(normal), uses, missing))
        return false;
    return true;
}

void CKeyloomDlg::buildControls() {
    const std::string& skin = setup_.paths.mainSkinFile;
    // Placed here; their pictures follow in loadPictures, cut to these places.
    for (const MainControl& c : mainControls())
        skinButtons().add(c.id, skin, c.skinKey);
    skinButtons().setClickHandler([this](int id) { runCommand(id); });

    QFont big("Arial Unicode MS");
    big.setPointSize(10);
    QFont small("Verdana Unicode MS");
    small.setPointSize(8);
    button(control::kProfileName)->setFont(big);
    button(control::kSwitch)->setFont(big);
    button(control::kVersion)->setFont(small);
    button(control::kVersion)->setText(QString());
    button(control::kVersion)->setEnabled(false);
    // Indicators only show state.
    for (int id : {control::kLockCaps, control::kLockNum, control::kLockScroll, control::kLockAb,
                   control::kFlip0})
        button(id)->setFocusPolicy(Qt::NoFocus);
    // D1-D6 only stand for the keyboard's second top row; they have no command.
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        button(control::kFirstAltTopRowKey + i)->setFocusPolicy(Qt::NoFocus);

    leftArrow_ = std::make_unique<CSkinButton>(this);
    rightArrow_ = std::make_unique<CSkinButton>(this);
    leftArrow_->setFocusPolicy(Qt::NoFocus);
    rightArrow_->setFocusPolicy(Qt::NoFocus);
    // Each arrow shows while its flip button shows its normal face.
    connect(button(control::kFlip1), &CSkinButton::painted, this, [this](controls::SkinFace face) {
        leftArrow_->setVisible(face == controls::SkinFace::Normal);
    });
    connect(button(control::kFlip2), &CSkinButton::painted, this, [this](controls::SkinFace face) {
        rightArrow_->setVisible(face == controls::SkinFace::Normal);
    });

    busy_ = std::make_unique<BusyIndicator>(*this, skin, setup_.paths.skinFolder);
    statusNote_ = std::make_unique<StatusNote>(this);
    controls::placeControl(*statusNote_, skin, "BUTTONINFO", "KEYLOOM_STATUS");

    const auto setTip = [this](int id, const char* key) {
        button(id)->setToolTip(qs(lookupText(key)));
    };
    setTip(control::kHelp, "MAIN_HELP_PROMPT");
    setTip(control::kClose, "MAIN_CLOSE_PROMPT");
    setTip(control::kMinimize, "MAIN_MINIMIZE_PROMPT");
    setTip(control::kMenu, "MAIN_MENU_PROMPT");
    for (int id : {control::kFlip0, control::kFlip1, control::kFlip2})
        setTip(id, "KEYLOOM_FLIP_PROMPT");
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        setTip(control::kFirstAltTopRowKey + i, "KEYLOOM_TOPROW_D_PROMPT");
    for (int i = 0; i < 4; ++i)
        button(control::kLinkButtons[i])->setToolTip(qs(links_[linkAddressOf(i)]));
    // The key tooltips and the G bank follow the keyboard's full read (the
    // window opens only after one).
    buildGBankSwitch();
    // Their texts and accessible names follow with the language message at
    // the end of initialise().
    texts_ = std::make_unique<MainWindowTexts>(*this, skin, [this](int id) { return button(id); });
    focusOrder_ = std::make_unique<controls::ScreenOrderFocus>(*this, mainWindowRegions(skin));
}

void CKeyloomDlg::buildTrayIcon() {
    // The icon object exists even without a tray: its status and menu keep
    // working, and a second start still reaches the program.
    tray_ = std::make_unique<CTrayIcon>(setup_.paths.skinFolder, setup_.trayAvailable);
    tray_->prepare(
        this, [this](int command) { runCommand(command); }, qs(lookupText("KEYBOARD_TRAY_DESC")),
        window::icon::kDisconnected);
}

void CKeyloomDlg::placeTrayIcon() {
    if (trayPlaced_ || shutDown_ || !tray_)
        return;
    trayPlaced_ = true;
    tray_->place();
}

// --- Commands -----------------------------------------------------------------

CSkinButton* CKeyloomDlg::button(int controlId) const {
    return skinButtons().find(controlId);
}

void CKeyloomDlg::runCommand(int controlId) {
    // One command at a time: the keyboard work holds the stores. Showing the
    // window and ending the program (after the work) are always possible.
    const bool always = controlId == command::kOpen || controlId == command::kExit ||
                        controlId == command::kExitFromMenu || controlId == control::kClose;
    if (isBusy() && !always)
        return;
    if (ProfileMenu::isMenuCommand(controlId)) {
        chooseProfileMenuItem(controlId);
        return;
    }
    auto it = commands_.find(controlId);
    if (it != commands_.end())
        it->second();
}

// --- Messages and timers ---------------------------------------------------------

void CKeyloomDlg::handleMessage(const window::WindowMessage& msg) {
    namespace m = window::message;
    namespace w = window::word;
    if (msg.message == m::kOpen && msg.word == w::kOpen) {
        openPath();
    } else if (msg.message == m::kKill && msg.word == w::kKill) {
        exitProgram();
    } else if (msg.message == m::kInit && msg.word == w::kInit) {
        hide();
    } else if (msg.message == m::kLanguage && msg.word == w::kLanguage) {
        languageTexts(static_cast<int>(msg.argument));
    } else if (msg.message == m::kReadProfile && msg.word == w::kProfile) {
        // The core's full read has ended: the key view shows what it read.
        whenIdle([this] {
            rebuildKeyTooltips();
            redrawKeyFaces();
            refreshProfileLabel();
        });
    } else if (msg.message == m::kDeviceGone) {
        dialogs_->keyboardGone();
        // The focus goes to Profile 1.
        if (CSkinButton* b = button(control::kProfile1))
            b->setFocus();
    }
}

void CKeyloomDlg::languageTexts(int languageIndex) {
    const auto tip = [&](int id, const char* key) {
        if (CSkinButton* b = button(id))
            b->setToolTip(qs(lookupText(key, languageIndex)));
    };
    tip(control::kMinimize, "MAIN_MINIMIZE_PROMPT");
    tip(control::kMenu, "MAIN_MENU_PROMPT");
    tip(control::kClose, "MAIN_CLOSE_PROMPT");
    tip(control::kHelp, "MAIN_HELP_PROMPT");
    for (int id : {control::kFlip0, control::kFlip1, control::kFlip2})
        tip(id, "KEYLOOM_FLIP_PROMPT");
    for (int i = 0; i < control::kAltTopRowCount; ++i)
        tip(control::kFirstAltTopRowKey + i, "KEYLOOM_TOPROW_D_PROMPT");
    if (texts_)
        texts_->show(languageIndex);
    if (initialised_) {
        // A language chosen while the program runs: the rest of the texts.
        setSwitchText();
        refreshProfileLabel();
        redrawKeyView();
        if (tray_)
            tray_->setTip(qs(lookupText("KEYBOARD_TRAY_DESC", languageIndex)));
    }
    if (lighting_)
        lighting_->languageChanged();
    nameControls(languageIndex);
}

void CKeyloomDlg::onTimer(int id) {
    switch (id) {
        case window::timer::kStartup:
            // The lighting preview; it re-arms the timer while it runs.
            if (lighting_)
                lighting_->previewTick();
            break;
        default:
            queueKeyboardWork([this, id] { core_->timerWork(id); });
            break;
    }
}

QTimer& CKeyloomDlg::timer(int id) {
    return *timers_.at(id);
}

// --- Show, hide, exit --------------------------------------------------------------

void CKeyloomDlg::openPath() {
    if (core_->state().connection.state.load() == 1) {
        showNormal();
        raise();
        activateWindow();
        return;
    }
    window::MessageRequest request;
    request.key = "MAIN_NO_DEVICE_PROMPT";
    request.text = lookupText(request.key);
    request.caption = window::MessageCaption::Empty;
    request.ownedByWindow = false;
    port_->showMessage(request);
}

void CKeyloomDlg::exitProgram() {
    hide();
    if (isBusy()) {
        exitPending_ = true;  // the keyboard work ends first, then the program
        return;
    }
    shutdown();
    emit exitRequested();
}

void CKeyloomDlg::shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    for (auto& [id, t] : timers_)
        t->stop();
    if (busy_)
        busy_->stop();
    // Keyboard work still queued is released from any message it waits on,
    // then run to its end as the core stops: it uses the core.
    port_->stopMessages();
    if (core_)
        core_->stop();
    if (dialogs_)
        dialogs_->closeOnShutdown();
    if (tray_)
        tray_->remove();
    showModified(false);
}

void CKeyloomDlg::reject() {
    hide();  // closing only hides: the program stays in the tray
}

void CKeyloomDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

void CKeyloomDlg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return;  // never closes or hides the window
    if (key == Qt::Key_F1) {
        openHelp();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

void CKeyloomDlg::paintBackground(QPainter& painter) {
    if (!backgroundIsNormal_) {
        CBaseDialog::paintBackground(painter);
        return;
    }
    // Held with the buttons' cuts, which share its pixels: a paint keeps it
    // held, and a settled window drops it.
    const QImage& picture = pictures_.normalPicture();
    if (!picture.isNull())
        painter.drawImage(0, 0, picture);
}

bool CKeyloomDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return CBaseDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return CBaseDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Escape && widget->property(lighting::qt::kTakesReturnProperty).toBool())
        return CBaseDialog::eventFilter(watched, event);  // a box that Return commits
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)
        return true;
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (arrow && widget->property("controlId").toInt() == control::kEffectList)
        return true;
    return CBaseDialog::eventFilter(watched, event);
}

// --- What the port runs on the window thread ---------------------------------------

void CKeyloomDlg::startWindowTimer(int id, std::chrono::milliseconds delay) {
    if (auto it = timers_.find(id); it != timers_.end())
        it->second->start(delay);
}

void CKeyloomDlg::stopWindowTimer(int id) {
    if (auto it = timers_.find(id); it != timers_.end())
        it->second->stop();
}

void CKeyloomDlg::showTrayPicture(int iconId) {
    if (tray_)
        tray_->setIcon(iconId);
}

window::MessageAnswer CKeyloomDlg::showMessageBox(const window::MessageRequest& request) {
    {
        std::lock_guard lock(shownMutex_);
        shownKeys_.push_back(request.key);
    }
    // The busy indicator stays away while the box is open.
    if (busy_)
        busy_->messageBoxOpened();
    window::MessageAnswer answer = window::MessageAnswer::Ok;
    if (responder_) {
        answer = responder_(request);
    } else {
        const std::unique_ptr<QMessageBox> box =
            buildMessageBox(request, request.ownedByWindow ? this : nullptr);
        answer = runMessageBox(*box, request);
    }
    if (busy_)
        busy_->messageBoxClosed();
    return answer;
}

std::vector<std::string> CKeyloomDlg::messageKeysShown() const {
    std::lock_guard lock(shownMutex_);
    return shownKeys_;
}

bool CKeyloomDlg::isModified() const {
    return core_->modified().isModified();
}

void CKeyloomDlg::showModified(bool modified) {
    if (CSkinButton* apply = button(control::kApply))
        apply->setEnabled(modified);
}

void CKeyloomDlg::showProfileButtons(int activeProfile) {
    for (int p = 0; p < 3; ++p)
        if (CSkinButton* b = button(control::kProfile1 + p))
            b->setSelected(p == activeProfile);
    refreshProfileLabel();
}

void CKeyloomDlg::showReportRateButtons(int step) {
    for (int i = 0; i < 4; ++i)
        if (CSkinButton* b = button(control::kReportButtons[i]))
            b->setSelected(i == step);
}

}  // namespace keyloom::shell
