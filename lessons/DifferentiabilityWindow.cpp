// Differentiability window (TForm20): the two pieces' term rows, the pieced-together function, its
// graph in two runs and the "f1;f2" example lines.
#include "lessons/DifferentiabilityWindow.h"

#include "controls/EditRoutines.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kurvex {

namespace {

const char* const kPiecesExampleFile = "Bsp9.txt";
const char* const kPiecesDefaultExample = "1/4x^2;1/x";
// The graph's right piece starts this far right of P.
constexpr double kRightPieceGap = 0.00001;

} // namespace

DifferentiabilityWindow::DifferentiabilityWindow(QWidget* owner)
    : TangentProblemWindow(
          WindowTexts{QStringLiteral("Differenzierbarkeit"), kPiecesExampleFile, kPiecesDefaultExample},
          owner)
{
    buildPieceRows();
    examplePanel().setEntriesAreTerms(true);
}

void DifferentiabilityWindow::buildPieceRows()
{
    QWidget* panel = rightPanel();
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    row->addWidget(MakeLabel(QStringLiteral("Label23"), QStringLiteral("f(x) ="), panel));
    auto* brace = MakeLabel(QStringLiteral("Label22"), QStringLiteral("{"), panel);
    QFont braceFont(QStringLiteral("Courier New"));
    braceFont.setPixelSize(48);
    brace->setFont(braceFont);
    row->addWidget(brace);

    auto* pieces = new QGridLayout;
    pieces->setHorizontalSpacing(3);
    pieces->setVerticalSpacing(2);
    struct PieceRow {
        const char* edit;
        std::string* term;
        TermTree* shared;
        const char* names[4]; // "für   x", the relation, "x", the low "P"
        const char* relation;
    };
    const PieceRow rows[2] = {
        {"Edit1", &TermPiece1, &ParsedTerm, {"Label20", "Label16", "Label19", "Label9"}, "\u2264"},
        {"Edit3", &TermPiece2, &ParsedTerm2, {"Label21", "Label17", "Label18", "Label4"}, ">"},
    };
    for (int i = 0; i < 2; ++i) {
        const PieceRow& r = rows[i];
        // Only a term that compiled redraws: a wrong one keeps the picture until it is mended.
        TermField* field = addTermField(r.edit, *r.term, *r.shared, false, panel);
        // The edits start empty whatever the pieces were: the window opens with f = 0.
        field->edit()->clear();
        field->edit()->setModified(false);
        field->use(*r.shared);
        (i == 0 ? termField_ : secondPiece_) = field;
        pieces->addWidget(field, i, 0);
        pieces->addWidget(MakeLabel(QString::fromLatin1(r.names[0]), QStringLiteral("für   x"), panel), i, 1);
        pieces->addWidget(MakeLabel(QString::fromLatin1(r.names[1]), QString::fromUtf8(r.relation), panel), i,
                          2);
        auto* x = MakeLabel(QString::fromLatin1(r.names[2]), QStringLiteral("x"), panel);
        attachSubscript(x, 1, r.names[3], QStringLiteral("P"));
        pieces->addWidget(x, i, 3);
    }
    pieces->setColumnStretch(0, 1);
    row->addLayout(pieces, 1);
    termArea()->addLayout(row);
}

std::optional<double> DifferentiabilityWindow::functionValue(double x) const
{
    return PiecewiseValueAt(termField_->tree(), secondPiece_->tree(), PointXP, x, CurrentTermSlots());
}

void DifferentiabilityWindow::drawGraph()
{
    drawCurve(XMin, PointXP);
    // Far out a gap this small no longer moves x; the next double still keeps the runs apart.
    const double rightStart =
        std::max(PointXP + kRightPieceGap, std::nextafter(PointXP, std::numeric_limits<double>::infinity()));
    drawCurve(rightStart, XMax);
}

std::string DifferentiabilityWindow::exampleText() const
{
    return JoinPieces(TermFromDisplay(termField_->edit()->text()),
                      TermFromDisplay(secondPiece_->edit()->text()));
}

void DifferentiabilityWindow::applyExampleText(const std::string& text)
{
    const TermPieces pieces = SplitPieces(text);
    termField_->enter(pieces.first);
    secondPiece_->enter(pieces.second);
}

} // namespace kurvex
