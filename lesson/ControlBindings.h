// Connections the lesson windows share: a control that sets one variable and redraws, a value row
// whose every change redraws, and an example list of plain terms bound to a term field.
#pragma once

#include "platform/Canvas.h"

#include <functional>
#include <string>

class QObject;

namespace kurvex {

class BitCheckBox;
class ColorButton;
class ExampleListPanel;
class LineWidthComboBox;
class TermField;
class ValueRow;

// Binds controls to the variables they set, each change followed by the same redraw. The variables
// live as long as the context (members of the window, or shared variables).
class RedrawBinding {
public:
    RedrawBinding(QObject* context, std::function<void()> redraw);

    // The box's state into flag.
    void flag(BitCheckBox* box, bool& flag) const;
    // The button's colour into colour.
    void colour(ColorButton* button, TColor& colour) const;
    // The box's pen width into width.
    void lineWidth(LineWidthComboBox* box, int& width) const;
    // The row keeps its variable itself: a bar moved, a value typed or a reset redraws.
    void row(ValueRow* row) const;

private:
    QObject* context_;
    std::function<void()> redraw_;
};

// The example list of a window whose entries are plain terms: "In Liste übernehmen" adds the term
// edit's text; a fetched entry is entered into the field as if typed and left, or handed to take
// where the window does more with it; the focus returns to the term edit after a fetch and after a
// deletion.
void BindTermExamples(ExampleListPanel* panel, TermField* term,
                      std::function<void(const std::string& text)> take = {});

} // namespace kurvex
