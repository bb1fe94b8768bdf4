// Plot paint box of the lesson windows: shows the finished picture and the rubber-band overlay.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <optional>

namespace kurvex {

// Paints nothing of its own: paintEvent copies the picture the window finished and, while a zoom
// rectangle is dragged, draws it dotted on top. Mouse input goes out as signals.
class PlotBox : public QWidget {
    Q_OBJECT
public:
    explicit PlotBox(QWidget* parent = nullptr);

    // The picture to show, owned by the window; it must outlive this box or be replaced first.
    void setPicture(const QImage* picture);
    const QImage* picture() const { return picture_; }
    // Shows the picture again after the window drew into it.
    void showPicture() { update(); }

    // The rubber band between two corners, or none.
    void setBand(std::optional<QRect> band);
    std::optional<QRect> band() const { return band_; }

    QSize sizeHint() const override { return {600, 600}; }

signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);
    void resized(QSize size);
    // The box moved in the window without changing its size (centred in a new room).
    void moved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    const QImage* picture_ = nullptr;
    std::optional<QRect> band_;
};

} // namespace kurvex
