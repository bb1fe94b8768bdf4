// Info window (TForm10): product name, subtitle, makers and the two contact links.
#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QToolButton;

namespace kurvex {

class InfoWindow : public QDialog {
    Q_OBJECT
public:
    explicit InfoWindow(QWidget* owner);

    QLabel* mailLabel() const { return mailLabel_; }
    QLabel* webLabel() const { return webLabel_; }
    QToolButton* okButton() const { return okButton_; }

    // Hands a link to the desktop ("open" on the shell); false when nothing opened it. Tests
    // replace it.
    static std::function<bool(const QUrl&)>& urlOpener();

private:
    void onMailClicked();
    void onWebClicked();
    void openLink(const QUrl& url);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QLabel* mailLabel_ = nullptr;
    QLabel* webLabel_ = nullptr;
    QToolButton* okButton_ = nullptr;
};

// Subtitle shared by the application title and the info window.
inline constexpr const char* kSubtitle = "Analysis interaktiv";

} // namespace kurvex
