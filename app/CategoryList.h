// A list of gradient buttons under one category header, as the launcher shows its lessons.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace kurvex {

class CategoryList : public QWidget {
    Q_OBJECT
public:
    struct Style {
        QColor categoryColor;       // header, left end
        QColor categoryGradient;    // header, right end
        QColor buttonColor;         // regular button
        QColor selectedButtonColor; // button under the mouse or pressed
        int buttonWidth = 180;
    };

    CategoryList(const QString& category, const Style& style, QWidget* parent = nullptr);

    void addItem(const QString& caption, int imageIndex);
    int count() const { return static_cast<int>(items_.size()); }
    QString caption(int row) const { return items_.at(static_cast<std::size_t>(row)).caption; }
    int imageIndex(int row) const { return items_.at(static_cast<std::size_t>(row)).imageIndex; }
    QString category() const { return category_; }
    // Where the item's button lies; the buttons flow left to right, then down.
    QRect itemRect(int row) const;
    int itemAt(const QPoint& pos) const;

signals:
    void buttonClicked(int imageIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Item {
        QString caption;
        int imageIndex;
    };
    static constexpr int kHeaderHeight = 20;
    static constexpr int kButtonHeight = 25;

    QString category_;
    Style style_;
    std::vector<Item> items_;
    int hot_ = -1;
    int pressed_ = -1;
};

} // namespace kurvex
