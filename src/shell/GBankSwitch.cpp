#include "shell/GBankSwitch.h"

namespace keyloom::shell {

namespace {

constexpr const char* kStyle = R"(
QPushButton {
    background: #1f2227; color: #8a9098; border: 1px solid #31353d; padding: 0;
    font-weight: bold;
}
QPushButton#first { border-top-left-radius: 4px; border-bottom-left-radius: 4px; }
QPushButton#second { border-top-right-radius: 4px; border-bottom-right-radius: 4px; }
QPushButton:hover { color: #ffffff; border-color: #ff8200; }
QPushButton:checked { background: #ff8200; color: #16181b; border-color: #ffa640; }
QPushButton:focus { border-color: #ffffff; }
)";

}  // namespace

GBankSwitch::GBankSwitch(QWidget* parent) : QWidget(parent) {
    setStyleSheet(QString::fromLatin1(kStyle));
    for (int b = 0; b < 2; ++b) {
        auto& button = buttons_[static_cast<std::size_t>(b)];
        button = std::make_unique<QPushButton>(QString::number(b + 1), this);
        button->setObjectName(b == 0 ? QStringLiteral("first") : QStringLiteral("second"));
        button->setCheckable(true);
        button->setAutoDefault(false);
        QFont small = button->font();
        small.setPixelSize(10);
        button->setFont(small);
        connect(button.get(), &QPushButton::clicked, this, [this, b] {
            // A click on the bank already shown keeps it down.
            setBank(b);
            emit bankChosen(b);
        });
    }
    setBank(0);
}

void GBankSwitch::setBank(int bank) {
    bank_ = bank == 0 ? 0 : 1;
    buttons_[0]->setChecked(bank_ == 0);
    buttons_[1]->setChecked(bank_ == 1);
}

void GBankSwitch::setTexts(const QString& tooltip, const QString& firstName,
                           const QString& secondName) {
    setToolTip(tooltip);
    for (auto& button : buttons_)
        button->setToolTip(tooltip);
    buttons_[0]->setAccessibleName(firstName);
    buttons_[1]->setAccessibleName(secondName);
}

void GBankSwitch::resizeEvent(QResizeEvent*) {
    const int half = width() / 2;
    buttons_[0]->setGeometry(0, 0, half, height());
    buttons_[1]->setGeometry(half, 0, width() - half, height());
}

}  // namespace keyloom::shell
