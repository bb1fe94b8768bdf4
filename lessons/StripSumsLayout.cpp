// Upper-and-lower-sums window (TForm21): its controls, their layout and their connections.
#include "lessons/StripSumsWindow.h"

#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kurvex {

void StripSumsWindow::buildCurveRows()
{
    rightPanel()->setMinimumWidth(338);
    auto* style = new QHBoxLayout;
    lineWidthBox_ = new LineWidthComboBox(rightPanel());
    lineWidthBox_->setObjectName(QStringLiteral("LineWidthComboBox1"));
    lineWidthBox_->setToolTip(QStringLiteral("Linienbreite"));
    lineWidthBox_->setFixedWidth(80);
    curveColourButton_ =
        MakeColorButton(QStringLiteral("ColorButton1"), QStringLiteral("Linienfarbe"), rightPanel());
    style->addWidget(lineWidthBox_);
    style->addWidget(curveColourButton_);
    style->addStretch(1);
    lessonArea()->addLayout(style);

    auto* term = new QHBoxLayout;
    termField_ = new TermField(QStringLiteral("f (x) ="), "Label4", "Edit1", TermGeneral, rightPanel());
    term->addWidget(termField_, 1);
    helpButton()->setFixedSize(kGlyphButtonSize);
    term->addWidget(helpButton());
    lessonArea()->addLayout(term);
}

void StripSumsWindow::buildIntervalRow()
{
    auto* row = new QHBoxLayout;
    aEdit_ = MakeNumberEdit(QStringLiteral("Edit2"), rightPanel());
    bEdit_ = MakeNumberEdit(QStringLiteral("Edit3"), rightPanel());
    row->addWidget(MakeLabel(QStringLiteral("Label5"), QStringLiteral("a  ="), rightPanel()));
    row->addWidget(aEdit_);
    row->addSpacing(12);
    row->addWidget(MakeLabel(QStringLiteral("Label7"), QStringLiteral("b  ="), rightPanel()));
    row->addWidget(bEdit_);
    row->addStretch(1);
    lessonArea()->addLayout(row);
}

void StripSumsWindow::buildStripRow()
{
    ValueRowBinding binding;
    binding.value = &stripCount_;
    binding.min = &stripMin_;
    binding.max = &stripMax_;
    binding.startValue = [] { return 4.0; };
    // One position per strip count.
    binding.barGrid = [](double, double max) { return ValueBar{0.0, max, 1, static_cast<int>(max)}; };
    binding.wholeStep = 1.0;
    ValueRowNames names;
    names.caption = "Label11";
    names.value = "Edit13";
    names.reset = "SpeedButton16";
    names.bar = "ScrollBar4";
    names.toggle = "Switch5";
    names.direction = "SpeedButton29";
    stripRow_ = new ValueRow(*this, QStringLiteral("n ="), names, std::move(binding), rightPanel());
    lessonArea()->addWidget(stripRow_);
}

void StripSumsWindow::buildKindRows()
{
    struct KindRow {
        const char* radio;
        const char* caption;
        const char* colour;
        const char* style;
    };
    static constexpr KindRow kRows[4] = {
        {"RadioButton1", "Obersumme", "ColorButton2", "FillStyleComboBox1"},
        {"RadioButton2", "Untersumme", "ColorButton3", "FillStyleComboBox2"},
        {"RadioButton3", "Ober- u. Untersumme", nullptr, nullptr},
        {"RadioButton4", "Fehlerintervall  O - U", "ColorButton4", "FillStyleComboBox3"},
    };
    static constexpr TColor kColours[3] = {clGreen, clBlue, clRed};
    static constexpr BrushStyle kStyles[3] = {BrushStyle::FDiagonal, BrushStyle::BDiagonal,
                                              BrushStyle::DiagCross};
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 6);
    grid->setHorizontalSpacing(6);
    std::size_t fill = 0;
    for (int i = 0; i < 4; ++i) {
        const KindRow& r = kRows[i];
        auto* radio = new QRadioButton(QString::fromUtf8(r.caption), rightPanel());
        radio->setObjectName(QString::fromLatin1(r.radio));
        kindButtons_[static_cast<std::size_t>(i)] = radio;
        grid->addWidget(radio, i, 0);
        if (r.colour == nullptr) {
            continue;
        }
        auto* colour = MakeColorButton(QString::fromLatin1(r.colour), {}, rightPanel());
        colour->setSelectionColor(kColours[fill]);
        auto* style = new FillStyleComboBox(rightPanel());
        style->setObjectName(QString::fromLatin1(r.style));
        style->setFillStyle(FillStyleIndex(kStyles[fill]));
        style->setFixedWidth(80);
        fillColourButtons_[fill] = colour;
        fillStyleBoxes_[fill] = style;
        grid->addWidget(colour, i, 1);
        grid->addWidget(style, i, 2);
        ++fill;
    }
    kindButtons_[0]->setChecked(true);
    grid->setColumnStretch(0, 1);
    lessonArea()->addLayout(grid);
}

void StripSumsWindow::buildResultLabels()
{
    const char* names[4] = {"Label1", "Label3", "Label6", "Label8"};
    for (std::size_t i = 0; i < resultLabels_.size(); ++i) {
        resultLabels_[i] = MakeLabel(QString::fromLatin1(names[i]), {}, rightPanel());
        lessonArea()->addWidget(resultLabels_[i]);
    }
}

void StripSumsWindow::connectControls()
{
    connect(termField_, &TermField::termChanged, this, [this] {
        rememberTerm();
        drawPicture();
    });
    // Leaving the term edit stops the animation, whether or not the term changed.
    ConnectEditExit(termField_->edit(), this, [this] { stripRow_->toggle()->setChecked(false); });
    ConnectEditExit(aEdit_, this, [this] { onIntervalEntered(aEdit_, intervalA_); });
    ConnectEditExit(bEdit_, this, [this] { onIntervalEntered(bEdit_, intervalB_); });
    connect(stripRow_, &ValueRow::valueEntered, this, [this] { onStripCountEntered(); });
    connect(stripRow_, &ValueRow::barMoved, this, [this] { drawPicture(); });
    connect(stripRow_, &ValueRow::resetDone, this, [this] { drawPicture(); });
    stripRow_->afterAnimationStep = [this] { drawPicture(); };
    // Checked by a click or by the arrow keys within the group.
    for (QRadioButton* radio : kindButtons_) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                drawPicture();
            }
        });
    }
    // Colours and styles repaint the window, which also gives the style samples their colours.
    for (ColorButton* colour : fillColourButtons_) {
        connect(colour, &ColorButton::changed, this, [this] { refresh(); });
    }
    for (FillStyleComboBox* style : fillStyleBoxes_) {
        connect(style, &FillStyleComboBox::changed, this, [this] { refresh(); });
    }
    const RedrawBinding draw(this, [this] { drawPicture(); });
    draw.colour(curveColourButton_, GraphColor);
    draw.lineWidth(lineWidthBox_, LineWidth);
}

} // namespace kurvex
