#pragma once
// A combo box in the skin's dark look: the style sheet of LightingStyle for
// the box and its list, and an orange chevron drawn in place of the
// platform's arrow (style sheets cannot draw one without a picture file).

#include <QComboBox>

namespace keyloom::lighting::qt {

class DarkComboBox final : public QComboBox {
    Q_OBJECT

public:
    explicit DarkComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace keyloom::lighting::qt
