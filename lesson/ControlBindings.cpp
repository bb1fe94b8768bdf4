// Connections the lesson windows share: controls that set a variable and redraw, term examples.
#include "lesson/ControlBindings.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "core/ExampleFile.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QLineEdit>

namespace kurvex {

RedrawBinding::RedrawBinding(QObject* context, std::function<void()> redraw)
    : context_(context), redraw_(std::move(redraw))
{
}

void RedrawBinding::flag(BitCheckBox* box, bool& flag) const
{
    QObject::connect(box, &BitCheckBox::clicked, context_, [box, &flag, redraw = redraw_] {
        flag = box->Checked();
        redraw();
    });
}

void RedrawBinding::colour(ColorButton* button, TColor& colour) const
{
    QObject::connect(button, &ColorButton::changed, context_, [button, &colour, redraw = redraw_] {
        colour = button->SelectionColor();
        redraw();
    });
}

void RedrawBinding::lineWidth(LineWidthComboBox* box, int& width) const
{
    QObject::connect(box, &LineWidthComboBox::changed, context_, [box, &width, redraw = redraw_] {
        width = box->LineWidth();
        redraw();
    });
}

void RedrawBinding::row(ValueRow* row) const
{
    for (auto signal : {&ValueRow::barMoved, &ValueRow::valueEntered, &ValueRow::resetDone}) {
        QObject::connect(row, signal, context_, redraw_);
    }
}

void BindTermExamples(ExampleListPanel* panel, TermField* term,
                      std::function<void(const std::string& text)> take)
{
    QObject::connect(panel, &ExampleListPanel::addRequested, panel, [panel, term] {
        panel->add({TermFromDisplay(term->edit()->text()), {}});
    });
    QObject::connect(
        panel, &ExampleListPanel::fetchRequested, panel, [panel, term, take = std::move(take)](int index) {
            const std::string text = panel->examples().entry(static_cast<std::size_t>(index)).text;
            if (take) {
                take(text);
            } else {
                term->enter(text);
            }
            term->edit()->setFocus();
        });
    QObject::connect(panel, &ExampleListPanel::entryRemoved, panel, [term] { term->edit()->setFocus(); });
}

} // namespace kurvex
