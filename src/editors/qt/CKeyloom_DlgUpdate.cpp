#include "editors/qt/CKeyloom_DlgUpdate.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <chrono>

#include "controls/FileDialogLook.h"
#include "controls/SkinReaders.h"
#include "platform/text/SafeFormat.h"

namespace keyloom::editors::qt {

namespace id = update_dialog;

namespace {

struct ButtonInfo {
    int id;
    const char* skinKey;
    const char* textKey;  // empty: no caption
    const char* fallback;
    bool primary;
};

constexpr ButtonInfo kButtons[] = {
    {id::kUpdate, "CONTROL_UPButton", "KEYLOOM_UPDATE_UPDATE", "更新", true},
    {id::kCancelUpdate, "CONTROL_CUPButton", "KEYLOOM_UPDATE_CANCEL", "取消更新", false},
    {id::kOpen, "CONTROL_OPENButton", "KEYLOOM_UPDATE_OPEN", "打开", false},
    {id::kBackup, "CONTROL_BACKUPButton", "KEYLOOM_UPDATE_BACKUP", "备份", false},
    {id::kClose, "CONTROL_CLOSE", "", "", false},
};

constexpr controls::SkinFaceFiles kFaces{"update_normal.jpg", "update_over.jpg", "update_over.jpg",
                                         "update_normal.jpg", "update_normal.jpg"};

std::unique_ptr<QLabel> plainLabel(QWidget& parent, int pixels, const QColor& colour) {
    auto label = std::make_unique<QLabel>(&parent);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPixelSize(pixels);
    label->setFont(font);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
    return label;
}

bool isRunnableFile(const std::string& path) {
    const QFileInfo file(QFile::decodeName(path.c_str()));
    return file.isFile() && file.isExecutable();
}

bool startDetached(const std::string& path) {
    // The updater runs in its own folder (the Package folder), where it
    // finds the firmware image it brings along.
    const QString program = QFile::decodeName(path.c_str());
    return QProcess::startDetached(program, {}, QFileInfo(program).absolutePath());
}

}  // namespace

CKeyloom_DlgUpdate::CKeyloom_DlgUpdate(UpdateDialogSetup setup, QWidget* parent)
    : CBaseDialog(parent), setup_(std::move(setup)) {
    setModal(true);
    loadSkin(setup_.skinFile, SkinPictures::WhenNeeded);
    buildControls();
}

CKeyloom_DlgUpdate::~CKeyloom_DlgUpdate() = default;

void CKeyloom_DlgUpdate::buildControls() {
    caption_ = makeCaption(*this, setup_.skinFile, setup_.skinFolder);
    intro_ = plainLabel(*this, 13, textColour());
    intro_->setWordWrap(true);
    intro_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    controls::placeControl(*intro_, setup_.skinFile, "BUTTONINFO", "CONTROL_INTRO");
    status_ = plainLabel(*this, 12, mutedTextColour());
    status_->setProperty("controlId", id::kStatus);
    controls::placeControl(*status_, setup_.skinFile, "BUTTONINFO", "CONTROL_UPStatic");
    // Holds the chosen path as the template's drop-down did; the status
    // line shows it.
    pathField_ = std::make_unique<QComboBox>(this);
    pathField_->setProperty("controlId", id::kPathField);
    controls::placeControl(*pathField_, setup_.skinFile, "BUTTONINFO", "CONTROL_UPCombox");
    pathField_->hide();

    for (const ButtonInfo& info : kButtons)
        styleButton(skinButtons().add(info.id, setup_.skinFile, info.skinKey), info.primary);
    skinButtons().setClickHandler([this](int command) { runCommand(command); });
}

void CKeyloom_DlgUpdate::languageTexts() {
    setWindowTitle(textOr("KEYLOOM_UPDATE_CAPTION", "Firmware update"));
    caption_->setText(windowTitle());
    intro_->setText(textOr("KEYLOOM_UPDATE_INTRO", ""));
    for (const ButtonInfo& info : kButtons)
        if (*info.textKey)
            button(info.id)->setText(textOr(info.textKey, info.fallback));
    // Names for screen readers where the control shows no text.
    button(id::kClose)->setAccessibleName(textOr("MAIN_CLOSE_PROMPT", "Close"));
    pathField_->setAccessibleName(textOr("KEYLOOM_NAME_UPDATER", "Updater program"));
}

controls::CSkinButton* CKeyloom_DlgUpdate::button(int controlId) const {
    return skinButtons().find(controlId);
}

// --- Opening and closing ------------------------------------------------------------

bool CKeyloom_DlgUpdate::prepareToOpen() {
    if (!dressButtons(*this, setup_.skinFolder, kFaces, setup_.prompts))
        return false;
    languageTexts();
    showUpdater();
    return true;
}

void CKeyloom_DlgUpdate::closeDialog() {
    if (isVisible())
        reject();
}

void CKeyloom_DlgUpdate::keyPressEvent(QKeyEvent* event) {
    // Enter must not start an update.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    CBaseDialog::keyPressEvent(event);
}

void CKeyloom_DlgUpdate::showUpdater() {
    const QString path = QFile::decodeName(state_.updaterPath().c_str());
    pathField_->clear();
    if (!path.isEmpty())
        pathField_->addItem(path);
    status_->setText(path.isEmpty() ? textOr("KEYLOOM_UPDATE_NONE_CHOSEN", "") : path);
    status_->setToolTip(path);
    update();
}

// --- Commands ------------------------------------------------------------------------

void CKeyloom_DlgUpdate::runCommand(int controlId) {
    switch (controlId) {
        case id::kOpen:
            chooseUpdater();
            break;
        case id::kUpdate:
            startUpdate();
            break;
        case id::kCancelUpdate:
            state_.forgetUpdater();
            showUpdater();
            reject();
            break;
        case id::kBackup:
            backup();
            break;
        case id::kClose:
            reject();  // the chosen updater stays
            break;
        default:
            break;
    }
}

std::string askForUpdateFile(QWidget* parent, UpdateFileDialog kind, const std::string& start) {
    QFileDialog dialog(parent);
    controls::prepareFileDialog(dialog);
    dialog.setDirectory(QFile::decodeName(start.c_str()));
    if (kind == UpdateFileDialog::Open) {
        // Any program the user picks; Update checks that it can be run.
        dialog.setNameFilters(
            {QStringLiteral("Programs (*)"), QStringLiteral("MyType Files (*.exe)")});
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setNameFilters(
            {QStringLiteral("Keyloom profiles (*.klm)"), QStringLiteral("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("klm"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before overwriting
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

std::string CKeyloom_DlgUpdate::chooseFile(UpdateFileDialog kind, const std::string& start) {
    return setup_.chooseFile ? setup_.chooseFile(kind, start) : askForUpdateFile(this, kind, start);
}

void CKeyloom_DlgUpdate::chooseUpdater() {
    const std::string path = chooseFile(UpdateFileDialog::Open, setup_.packageFolder);
    if (path.empty())
        return;
    state_.chooseUpdater(path);
    showUpdater();
}

void CKeyloom_DlgUpdate::startUpdate() {
    FirmwareUpdateSteps steps;
    steps.isRunnableFile = isRunnableFile;
    steps.keyboardConnected = [this] {
        return setup_.keyboardConnected && setup_.keyboardConnected();
    };
    steps.saveBackup = [this](const std::string& path) {
        return setup_.saveWorkingStore && setup_.saveWorkingStore(path);
    };
    steps.enterBootMode = [this] {
        return setup_.enterBootMode ? setup_.enterBootMode() : DeviceResult::NoReply;
    };
    steps.startUpdater = setup_.startUpdater ? setup_.startUpdater : startDetached;
    const FirmwareUpdateResult result = state_.update(
        steps, beforeUpdateBackupPath(setup_.dataFolder, std::chrono::system_clock::now()));
    showUpdater();

    if (const FirmwareUpdateMessage* message = messageFor(result.outcome)) {
        tellMessage(*message, window::MessageIcon::Warning);
        return;
    }
    // The keyboard now leaves and the main window hides with it: the dialog
    // closes, and the box saying where the settings went has no owner.
    accept();
    if (setup_.prompts)
        tell(*setup_.prompts, kUpdateStartedMessage.key,
             text::formatString(messageText(kUpdateStartedMessage), result.backupFile),
             window::MessageIcon::Information, false);
}

void CKeyloom_DlgUpdate::backup() {
    const std::string path = chooseFile(UpdateFileDialog::Backup, setup_.dataFolder + "/");
    if (path.empty())
        return;
    const bool written = setup_.saveWorkingStore && setup_.saveWorkingStore(path);
    tellMessage(written ? kBackupWrittenMessage : kBackupFailedMessage,
                written ? window::MessageIcon::Information : window::MessageIcon::Warning);
}

void CKeyloom_DlgUpdate::tellMessage(const FirmwareUpdateMessage& message,
                                     window::MessageIcon icon) {
    if (setup_.prompts)
        tell(*setup_.prompts, message.key, messageText(message), icon);
}

}  // namespace keyloom::editors::qt
