#pragma once
// A text that opens a web address when clicked, underlined under the mouse
// like a link in a browser.

#include <QColor>
#include <QLabel>
#include <QString>

namespace keyloom::controls {

class CHyperlink : public QLabel {
    Q_OBJECT

public:
    explicit CHyperlink(QWidget* parent = nullptr);

    void setUrl(const QString& url);
    const QString& url() const { return url_; }
    // Shows the address itself when no text is set.
    void setLinkText(const QString& text);

    void setColours(const QColor& normal, const QColor& hover);
    // When off, a click only emits `activated` (for callers that open the
    // address themselves).
    void setOpensUrl(bool opens) { opensUrl_ = opens; }
    bool hovered() const { return hovered_; }

signals:
    void activated(const QString& url);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyLook();

    QString url_;
    QString linkText_;
    QColor normal_{255, 255, 255};
    QColor hover_{255, 130, 0};
    bool hovered_ = false;
    bool pressedInside_ = false;
    bool opensUrl_ = true;
};

}  // namespace keyloom::controls
