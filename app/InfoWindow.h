// Info window: product name, subtitle, makers and the two contact links.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QUrl>

#include <functional>

class QLabel;
class QToolButton;

namespace kurvex {

class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(QWidget* owner);

    QLabel* mailLabel() const { return label9_; }
    QLabel* webLabel() const { return label10_; }
    QToolButton* okButton() const { return speedButton1_; }

    // Hands a link to the desktop ("open" on the shell); false when nothing opened it. Tests
    // replace it.
    static std::function<bool(const QUrl&)>& UrlOpener();

private:
    void Label9Click();
    void Label10Click();
    void openLink(const QUrl& url);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QLabel* label9_ = nullptr;
    QLabel* label10_ = nullptr;
    QToolButton* speedButton1_ = nullptr;
};

inline QPointer<InfoWindow> OpenedInfoWindow;

// Subtitle shared by the application title and the info window.
inline constexpr const char* kSubtitle = "Analysis interaktiv";

} // namespace kurvex
