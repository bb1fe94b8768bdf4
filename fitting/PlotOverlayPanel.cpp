// A panel of the fitting window shown over its plot.
#include "fitting/PlotOverlayPanel.h"

#include "lesson/ControlFactory.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace kurvex {

PlotOverlayPanel::PlotOverlayPanel(const QString& objectName, const QString& captionName,
                                   const QString& caption, QWidget* plot)
    : QFrame(plot)
{
    setObjectName(objectName);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    column_ = new QVBoxLayout(this);
    column_->setContentsMargins(6, 6, 6, 6);
    column_->addWidget(MakeBoldLabel(captionName, caption, this));
    hide();
}

void PlotOverlayPanel::showCentredOnPlot()
{
    if (const QWidget* plot = parentWidget()) {
        resize(std::min(width(), plot->width()), std::min(height(), plot->height()));
        // Integer halves, rounded toward zero.
        move((plot->width() - width()) / 2, (plot->height() - height()) / 2);
    }
    show();
    raise();
}

} // namespace kurvex
