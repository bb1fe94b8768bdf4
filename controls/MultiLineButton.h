// Push button whose caption wraps over several lines.
#pragma once

#include <QPushButton>

namespace kurvex {

class MultiLineButton : public QPushButton {
    Q_OBJECT
public:
    explicit MultiLineButton(QWidget* parent = nullptr);
    explicit MultiLineButton(const QString& text, QWidget* parent = nullptr);

    bool WordWrap() const { return wordWrap_; }
    void setWordWrap(bool on);
    // Lines the caption takes at the button's present width.
    int captionLineCount() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QRect captionRect() const;
    int textFlags() const;

    bool wordWrap_ = true;
};

} // namespace kurvex
