#pragma once
// The switch beside the G keys that chooses which of the keyboard's two
// banks of G1-G9 the key view and the key dialog edit: two small buttons,
// one of them always down.

#include <QPushButton>
#include <QWidget>
#include <array>
#include <memory>

namespace keyloom::shell {

class GBankSwitch : public QWidget {
    Q_OBJECT

public:
    explicit GBankSwitch(QWidget* parent);

    // 0 for the first bank, 1 for the second.
    int bank() const { return bank_; }
    void setBank(int bank);
    // Captions of the two buttons, their screen-reader names and the tooltip.
    void setTexts(const QString& tooltip, const QString& firstName, const QString& secondName);
    QPushButton& button(int bank) { return *buttons_[bank == 0 ? 0 : 1]; }

protected:
    void resizeEvent(QResizeEvent* event) override;

signals:
    // The user chose a bank (not sent by setBank).
    void bankChosen(int bank);

private:
    std::array<std::unique_ptr<QPushButton>, 2> buttons_;
    int bank_ = 0;
};

}  // namespace keyloom::shell
