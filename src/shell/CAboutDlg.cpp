#include "shell/CAboutDlg.h"

#include "KeyloomVersion.h"
#include "controls/QtText.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <utility>

#include "controls/CHyperlink.h"
#include "platform/ini/Ini.h"
#include "storage/Language.h"

namespace keyloom::shell {

namespace {

// The dark skin's colours, as the main window's pictures use them.
const QColor kWindow{0x12, 0x14, 0x17};
const QColor kTitleBar{0x0c, 0x0e, 0x11};
const QColor kBottomBar{0x0e, 0x10, 0x13};
const QColor kDivider{0x22, 0x26, 0x2c};
const QColor kBorder{0x2c, 0x30, 0x37};
const QColor kText{0xdf, 0xe3, 0xe8};
const QColor kTextBright{0xff, 0xff, 0xff};
const QColor kTextMuted{0x8a, 0x90, 0x98};
const QColor kAccent{255, 130, 0};
const QColor kAccentLight{255, 166, 64};

constexpr int kWidth = 440;
constexpr int kTitleHeight = 44;
constexpr int kFooterHeight = 60;
constexpr int kCornerRadius = 10;
constexpr int kIconSize = 64;

const char* const kOkStyle =
    "QPushButton { background: #ff8200; color: #16181b; border: none; border-radius: 7px;"
    " font-weight: bold; padding: 0 22px; }"
    "QPushButton:hover { background: #ffa640; }"
    "QPushButton:pressed { background: #9c5000; }"
    "QPushButton:focus { outline: none; }";

const char* const kCloseStyle =
    "QPushButton { background: transparent; border: none; border-radius: 6px; }"
    "QPushButton:hover { background: #2a2e35; }"
    "QPushButton:pressed { background: #16181b; }";

QFont pixelFont(int pixels, bool bold = false) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette colours = widget.palette();
    colours.setColor(QPalette::WindowText, colour);
    widget.setPalette(colours);
}

// A plain-text label: the texts come from a user-editable file and must not
// be read as markup.
std::unique_ptr<QLabel> textLabel(int pixels, const QColor& colour, bool bold = false) {
    auto label = std::make_unique<QLabel>();
    label->setTextFormat(Qt::PlainText);
    label->setFont(pixelFont(pixels, bold));
    setTextColour(*label, colour);
    return label;
}

// The close cross of the title bar, drawn like the main window's.
QIcon closeCross() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kTextMuted, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    return QIcon(picture);
}

}  // namespace

QString readAboutLink(const std::string& mainSkinFile) {
    return qs(ini::readString(mainSkinFile, "SCREEN", "Link", ""));
}

std::optional<QUrl> webAddress(const QString& url) {
    const QUrl address(url, QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != "http" && scheme != "https") || address.host().isEmpty()) {
        return std::nullopt;
    }
    return address;
}

bool openWebAddress(const QString& url) {
    const std::optional<QUrl> address = webAddress(url);
    return address && QDesktopServices::openUrl(*address);
}

CAboutDlg::CAboutDlg(AboutSetup setup, QWidget* parent)
    : CBaseDialog(parent), setup_(std::move(setup)) {
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kTitleBar);
    setPalette(colours);

    programIcon_ = useProgramIcon(setup_.skinFolder);
    layout_ = std::make_unique<QVBoxLayout>();
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    buildTitleBar();
    buildBody();
    buildFooter();
    setLayout(layout_.get());

    fitHeight();
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::buildTitleBar() {
    titleBar_ = std::make_unique<QWidget>();
    titleBar_->setFixedHeight(kTitleHeight);
    titleLayout_ = std::make_unique<QHBoxLayout>();
    titleLayout_->setContentsMargins(16, 0, 10, 0);
    titleLayout_->setSpacing(10);

    smallIcon_ = std::make_unique<QLabel>();
    if (!programIcon_.isNull()) {
        smallIcon_->setPixmap(
            programIcon_.scaled(20, 20, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    smallIcon_->setFixedSize(20, 20);
    caption_ = textLabel(14, kTextBright, true);
    closeButton_ = std::make_unique<QPushButton>();
    closeButton_->setIcon(closeCross());
    closeButton_->setIconSize(QSize(16, 16));
    closeButton_->setFixedSize(28, 28);
    closeButton_->setFocusPolicy(Qt::NoFocus);
    closeButton_->setAutoDefault(false);
    closeButton_->setStyleSheet(kCloseStyle);
    connect(closeButton_.get(), &QPushButton::clicked, this, &QDialog::reject);

    titleLayout_->addWidget(smallIcon_.get());
    titleLayout_->addWidget(caption_.get(), 1);
    titleLayout_->addWidget(closeButton_.get());
    titleBar_->setLayout(titleLayout_.get());
    layout_->addWidget(titleBar_.get());
}

void CAboutDlg::buildBody() {
    body_ = std::make_unique<QWidget>();
    bodyLayout_ = std::make_unique<QHBoxLayout>();
    bodyLayout_->setContentsMargins(24, 22, 26, 20);
    bodyLayout_->setSpacing(20);

    icon_ = std::make_unique<QLabel>();
    if (!programIcon_.isNull()) {
        icon_->setPixmap(programIcon_.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio,
                                             Qt::SmoothTransformation));
    }
    icon_->setFixedSize(kIconSize, kIconSize);
    icon_->setVisible(!programIcon_.isNull());

    description_ = textLabel(13, kText);
    description_->setWordWrap(true);
    version_ = textLabel(12, kTextMuted);
    version_->setText(QStringLiteral("Keyloom ") + qs(std::string(kKeyloomVersion)));
    copyright_ = textLabel(12, kTextMuted);
    copyright_->setWordWrap(true);
    link_ = std::make_unique<controls::CHyperlink>();
    link_->setFont(pixelFont(12));
    link_->setColours(kAccent, kAccentLight);
    link_->setOpensUrl(false);  // opened below, through the injectable opener
    link_->setUrl(setup_.link);
    link_->setVisible(!setup_.link.isEmpty());
    link_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    connect(link_.get(), &controls::CHyperlink::activated, this, [this](const QString& url) {
        if (setup_.openUrl) {
            setup_.openUrl(url);
        } else {
            openWebAddress(url);
        }
    });

    textLayout_ = std::make_unique<QVBoxLayout>();
    textLayout_->setContentsMargins(0, 2, 0, 0);
    textLayout_->setSpacing(0);
    textLayout_->addWidget(description_.get());
    textLayout_->addSpacing(12);
    textLayout_->addWidget(version_.get());
    textLayout_->addWidget(copyright_.get());
    textLayout_->addSpacing(8);
    textLayout_->addWidget(link_.get(), 0, Qt::AlignLeft);
    textLayout_->addStretch(1);

    bodyLayout_->addWidget(icon_.get(), 0, Qt::AlignTop);
    bodyLayout_->addLayout(textLayout_.get(), 1);
    body_->setLayout(bodyLayout_.get());
    layout_->addWidget(body_.get());
}

void CAboutDlg::buildFooter() {
    footer_ = std::make_unique<QWidget>();
    footer_->setFixedHeight(kFooterHeight);
    footerLayout_ = std::make_unique<QHBoxLayout>();
    footerLayout_->setContentsMargins(20, 0, 20, 0);

    ok_ = std::make_unique<QPushButton>();
    ok_->setStyleSheet(kOkStyle);
    ok_->setFont(pixelFont(13, true));
    ok_->setMinimumSize(96, 34);
    ok_->setCursor(Qt::PointingHandCursor);
    ok_->setDefault(true);
    connect(ok_.get(), &QPushButton::clicked, this, &QDialog::accept);

    footerLayout_->addStretch(1);
    footerLayout_->addWidget(ok_.get());
    footer_->setLayout(footerLayout_.get());
    layout_->addWidget(footer_.get());
}

void CAboutDlg::languageTexts(int languageIndex) {
    const QString title = qs(lookupText("LANG_ABOUT_TITLE", languageIndex));
    setWindowTitle(title);
    caption_->setText(title);
    description_->setText(qs(lookupText("GUANYU_JIESHAO", languageIndex)));
    copyright_->setText(qs(lookupText("GUANYU_BANQUAN", languageIndex)));
    ok_->setText(qs(lookupText("LANG_ABOUT_OK", languageIndex)));
    fitHeight();
    update();
}

void CAboutDlg::fitHeight() {
    // The width is fixed; the height follows the (wrapped) texts. The
    // layouts cache their sizes until the next event loop round, so drop
    // what they knew about the old texts first.
    textLayout_->invalidate();
    bodyLayout_->invalidate();
    layout_->invalidate();
    const int height = layout_->hasHeightForWidth() ? layout_->totalHeightForWidth(kWidth)
                                                    : layout_->totalSizeHint().height();
    setFixedSize(kWidth, height);
}

QWidget* CAboutDlg::control(int id) const {
    switch (id) {
        case about::kOk:
            return ok_.get();
        case about::kLink:
            return link_.get();
        case about::kCopyright:
            return copyright_.get();
        case about::kDescription:
            return description_.get();
        default:
            return nullptr;
    }
}

QString CAboutDlg::text(int id) const {
    if (const auto* label = qobject_cast<const QLabel*>(control(id))) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control(id))) {
        return button->text();
    }
    return {};
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        if (setup_.openHelp) {
            setup_.openHelp();
        }
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);  // Escape cancels, Enter presses OK
}

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath outline;
    outline.addRoundedRect(frame, kCornerRadius, kCornerRadius);
    painter.fillPath(outline, kWindow);

    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(titleBar_->geometry(), kTitleBar);
    painter.fillRect(footer_->geometry(), kBottomBar);
    painter.setPen(kDivider);
    painter.drawLine(QPointF(0, titleBar_->geometry().bottom() + 0.5),
                     QPointF(width(), titleBar_->geometry().bottom() + 0.5));
    painter.drawLine(QPointF(0, footer_->geometry().top() + 0.5),
                     QPointF(width(), footer_->geometry().top() + 0.5));
    painter.restore();

    painter.setPen(QPen(kBorder, 1));
    painter.drawPath(outline);
}

void CAboutDlg::resizeEvent(QResizeEvent* event) {
    CBaseDialog::resizeEvent(event);
    // Round the corners like the main window: pure white is cut out.
    QImage mask(size(), QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRoundedRect(QRectF(rect()), kCornerRadius, kCornerRadius);
    painter.end();
    setMaskPicture(mask);
}

AboutBox::AboutBox(AboutSetup setup, QWidget* anchor) : setup_(std::move(setup)), anchor_(anchor) {}

AboutBox::~AboutBox() {
    close();
}

void AboutBox::open() {
    if (!dialog_) {
        dialog_ = std::make_unique<CAboutDlg>(setup_);
        dialog_->languageTexts(currentLanguageIndex());
        QObject::connect(dialog_.get(), &QDialog::finished, dialog_.get(), [this] { closed(); });
        const QRect area = anchor_ && anchor_->isVisible() ? anchor_->frameGeometry()
                           : dialog_->screen() != nullptr  ? dialog_->screen()->availableGeometry()
                                                           : QRect();
        if (area.isValid()) {
            dialog_->move(area.center() - dialog_->rect().center());
        }
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void AboutBox::closed() {
    // Called from the box's own OK or Cancel: it is deleted once that
    // handler has returned.
    if (dialog_) {
        dialog_.release()->deleteLater();
    }
}

void AboutBox::close() {
    if (dialog_) {
        dialog_->hide();
        dialog_.reset();
    }
}

}  // namespace keyloom::shell
