// A panel of the fitting window shown over its plot (the value table, the report): a raised frame
// with a bold caption above its content, hidden until called and then centred on the plot.
#pragma once

#include <QFrame>

class QVBoxLayout;

namespace kurvex {

class PlotOverlayPanel : public QFrame {
    Q_OBJECT
public:
    // plot: the plot box the panel lies over; the names are the form's component names.
    PlotOverlayPanel(const QString& objectName, const QString& captionName, const QString& caption,
                     QWidget* plot);

protected:
    // The column under the caption, for the panel's content.
    QVBoxLayout* column() const { return column_; }
    // No larger than the plot, in its middle, on top of it, shown.
    void showCentredOnPlot();

private:
    QVBoxLayout* column_ = nullptr;
};

} // namespace kurvex
