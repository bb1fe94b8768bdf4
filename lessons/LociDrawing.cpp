// Loci window (TForm16): the trace of the fixed states, the frame with the locus term, the current
// member and its special points, and the spectrum preview.
#include "lessons/LociWindow.h"

#include "controls/ColorButton.h"
#include "controls/StyleComboBoxes.h"
#include "core/FunctionGraph.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/CurvePointRows.h"
#include "lesson/TermField.h"
#include "platform/QtCanvas.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace kurvex {

std::optional<double> LociWindow::curveValue(double x)
{
    return FamilyValue(familyTerm_->tree(), x, ParamT, CurrentParams());
}

void LociWindow::drawMember(double t, bool curve, bool points, TColor color, int width)
{
    if (DrawCanvas == nullptr) {
        return;
    }
    const TermTree& f = familyTerm_->tree();
    const CurveParams params = CurrentParams();
    if (curve) {
        drawCurve([&f, t, &params](double x) { return FamilyValue(f, x, t, params); }, XMin, XMax, color,
                  width);
    }
    if (points && pointRows_->anyShown()) {
        DrawSpecialPointMarkers(MemberSpecialPoints(f, t, params, XMin, XMax, pointRows_->shown()),
                                pointRows_->style());
    }
}

void LociWindow::drawLocusCurve()
{
    const TermTree& locus = locus_.field->tree();
    const CurveParams params = CurrentParams();
    const double t = ParamT;
    drawCurve([&locus, t, &params](double x) { return FamilyValue(locus, x, t, params); }, XMin, XMax,
              locus_.colour->SelectionColor(), locus_.width->LineWidth());
}

void LociWindow::paintBackground(int)
{
    // Newest first, as the list holds them.
    for (const ListNode* node = ObjectList.Head.get(); node != nullptr; node = node->Next.get()) {
        const LociObject object = ReadLociRecord(node->record);
        drawMember(object.t, object.curve, object.points, object.color, object.width);
    }
}

void LociWindow::paintForeground(int)
{
    if (showLocus_) {
        drawLocusCurve();
    }
    drawMember(ParamT, true, true, memberColor_, LineWidth);
    if (!tracing_ || Printing || backgroundCanvas() == nullptr) {
        return;
    }
    // The fixed state goes into the trace at once; its record draws it again after a rebuild.
    DrawCanvas = backgroundCanvas();
    drawMember(ParamT, fixCurve_, fixPoints_, memberColor_, LineWidth);
    DrawCanvas = foregroundCanvas();
}

void LociWindow::showSpectrumPreview()
{
    QPixmap preview(spectrum_.preview->size());
    QPainter painter(&preview);
    for (int i = 0; i < kSpectrumPreviewColumns; ++i) {
        const TColor c = SpectrumPreviewColor(SpectrumIndex, i);
        painter.setPen(QColor(colorRed(c), colorGreen(c), colorBlue(c)));
        painter.drawLine(i, 0, i, preview.height());
    }
    painter.end();
    spectrum_.preview->setPixmap(preview);
}

} // namespace kurvex
