#pragma once
// The About box: the program icon, a short description, the copyright line,
// the program's web address and OK. It is modeless; AboutBox creates it,
// keeps at most one open and destroys it when it is closed.

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/CBaseDialog.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace keyloom::controls {
class CHyperlink;
}

namespace keyloom::shell {

namespace about {
inline constexpr int kOk = 1;  // the dialog's OK button
inline constexpr int kLink = 1124;
inline constexpr int kCopyright = 1205;
inline constexpr int kDescription = 1206;
}  // namespace about

struct AboutSetup {
    std::string skinFolder;          // holds the program icon "keyloom.png"; '/' at the end
    QString link;                    // the web address shown; empty: none
    std::function<void()> openHelp;  // F1; empty: F1 does nothing
    std::function<void(const QString& url)> openUrl;  // empty: the desktop's browser
};

// The main skin file's web address ([SCREEN] "Link"); empty when it has none.
QString readAboutLink(const std::string& mainSkinFile);

// `url` when it is a web address (http or https with a host); anything else
// from the user-editable skin file is refused.
std::optional<QUrl> webAddress(const QString& url);
// Opens `url` in the desktop's browser when it is a web address; false when
// refused or when no browser took it.
bool openWebAddress(const QString& url);

class CAboutDlg : public controls::CBaseDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(AboutSetup setup, QWidget* parent = nullptr);
    ~CAboutDlg() override;

    // Puts the language's texts on the caption, the two texts and OK.
    void languageTexts(int languageIndex);

    // The control with this id (about::...), nullptr for an unknown id.
    QWidget* control(int id) const;
    QString text(int id) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildTitleBar();
    void buildBody();
    void buildFooter();
    void fitHeight();

    AboutSetup setup_;
    QPixmap programIcon_;  // the title bar's and the body's
    // Declared parents first: members go in reverse order, so every child
    // and layout is gone before the widget it belongs to.
    std::unique_ptr<QWidget> titleBar_;
    std::unique_ptr<QWidget> body_;
    std::unique_ptr<QWidget> footer_;
    std::unique_ptr<QLabel> smallIcon_;
    std::unique_ptr<QLabel> caption_;
    std::unique_ptr<QPushButton> closeButton_;
    std::unique_ptr<QLabel> icon_;
    std::unique_ptr<QLabel> description_;
    std::unique_ptr<QLabel> version_;  // "Keyloom 0.1.0"
    std::unique_ptr<QLabel> copyright_;
    std::unique_ptr<controls::CHyperlink> link_;
    std::unique_ptr<QPushButton> ok_;
    std::unique_ptr<QHBoxLayout> titleLayout_;
    std::unique_ptr<QHBoxLayout> bodyLayout_;
    std::unique_ptr<QVBoxLayout> textLayout_;  // inside bodyLayout_
    std::unique_ptr<QHBoxLayout> footerLayout_;
    std::unique_ptr<QVBoxLayout> layout_;
};

// The main window's About box: opening it twice gives one window, and after
// it was closed the next open creates it anew. The box is a window of its
// own (the main window is hidden most of the time); it opens centred on
// `anchor` when that is shown.
class AboutBox {
public:
    explicit AboutBox(AboutSetup setup, QWidget* anchor = nullptr);
    ~AboutBox();
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Creates and shows the box, or brings the open one to the front.
    void open();
    // Closes and destroys the open box (shutdown, keyboard gone).
    void close();
    // The open box; nullptr when none is open.
    CAboutDlg* dialog() const { return dialog_.get(); }

private:
    void closed();

    AboutSetup setup_;
    QPointer<QWidget> anchor_;
    std::unique_ptr<CAboutDlg> dialog_;
};

}  // namespace keyloom::shell
