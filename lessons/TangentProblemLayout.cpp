// Tangent-problem window (TForm8): its controls, their layout and their connections.
#include "lessons/TangentProblemWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "core/RecordList.h"
#include "core/Settings.h"
#include "lesson/ControlBindings.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/FixedObjectButtons.h"
#include "lesson/TermField.h"
#include "lesson/ValueRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace kurvex {

QLabel* TangentProblemWindow::attachSubscript(QLabel* caption, int chars, const char* name,
                                              const QString& letter)
{
    // The caption keeps blanks where the letter goes; the letter sits on it, dropped below the line.
    caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* sub = MakeLabel(QString::fromLatin1(name), letter, caption);
    QFont small = caption->font();
    if (small.pixelSize() > 0) {
        small.setPixelSize(std::max(7, small.pixelSize() * 3 / 4));
    } else {
        small.setPointSizeF(std::max(6.0, small.pointSizeF() * 0.75));
    }
    sub->setFont(small);
    sub->adjustSize();
    const QFontMetrics big(caption->font());
    const QFontMetrics little(small);
    const int x = big.horizontalAdvance(caption->text().left(chars));
    const int y = big.ascent() + big.descent() - little.ascent();
    sub->move(x + caption->contentsMargins().left(), y + caption->contentsMargins().top());
    // A fixed height keeps the caption's text where the letter was placed: the layout centres the
    // caption in its row instead of stretching it.
    caption->setFixedHeight(y + sub->height());
    caption->setMinimumWidth(std::max(caption->minimumWidth(), x + sub->width() + 2));
    return sub;
}

TermField* TangentProblemWindow::addTermField(const char* editName, std::string& term, TermTree& shared,
                                              bool redrawAfterError, QWidget* parent)
{
    auto* field = new TermField({}, nullptr, editName, term, parent);
    connect(field, &TermField::termChanged, this, [this, field, &shared, redrawAfterError] {
        field->use(shared);
        if (field->valid() || redrawAfterError) {
            drawPicture();
        }
    });
    return field;
}

void TangentProblemWindow::buildTermRow()
{
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(MakeLabel(QStringLiteral("Label4"), QStringLiteral("f(x) ="), rightPanel()));
    termField_ = addTermField("Edit1", TermText, ParsedTerm, true, rightPanel());
    row->addWidget(termField_, 1);
    termArea()->addLayout(row);
    // A wrong term from the settings file shows its message here, once.
    termField_->load();
    termField_->use(ParsedTerm);
}

void TangentProblemWindow::buildExamples(const WindowTexts& texts)
{
    rightPanel()->setMinimumWidth(300);
    termArea_ = new QVBoxLayout;
    termArea_->setContentsMargins(0, 0, 0, 0);
    lessonArea()->addLayout(termArea_);
    examplePanel_ =
        new ExampleListPanel(texts.exampleFile, TangentExampleFormat(texts.defaultExample), rightPanel());
    examplePanel_->listBox()->setFont(TermFont());
    examplePanel_->listBox()->setMaximumHeight(104);
    lessonArea()->addWidget(examplePanel_);
}

void TangentProblemWindow::buildPointRows()
{
    const auto grid = [](double lo, double hi) {
        return ValueBar{lo, hi, 1, PointBarMaximum(hi - lo, XTickStep)};
    };
    const auto binding = [&grid](double* value, double IniSettingsRecord::*start) {
        ValueRowBinding b;
        b.value = value;
        b.min = &XMin;
        b.max = &XMax;
        b.startValue = [start] { return IniSettings.*start; };
        b.barGrid = grid;
        b.snapTypedValue = true;
        return b;
    };
    rowP_ = new ValueRow(*this, QStringLiteral("x   ="), {"Label5", "Edit2", "SpeedButton2", "ScrollBar1"},
                         binding(&PointXP, &IniSettingsRecord::xP), rightPanel());
    rowQ_ = new ValueRow(
        *this, QStringLiteral("x   ="),
        {"Label3", "Edit5", "SpeedButton12", "ScrollBar2", nullptr, nullptr, "Switch1", "SpeedButton25"},
        binding(&PointXQ, &IniSettingsRecord::xQ), rightPanel());
    attachSubscript(rowP_->captionLabel(), 1, "Label2", QStringLiteral("P"));
    attachSubscript(rowQ_->captionLabel(), 1, "Label6", QStringLiteral("Q"));
    for (ValueRow* row : {rowP_, rowQ_}) {
        row->bar()->setFocusPolicy(Qt::NoFocus);
        lessonArea()->addWidget(row);
    }
}

void TangentProblemWindow::buildSecantControls()
{
    secantButtons_ = new FixedObjectButtons({.caption = nullptr,
                                             .captionText = {},
                                             .insert = "SpeedButton13",
                                             .insertHint = QStringLiteral("Sekante fixieren"),
                                             .deleteLast = "SpeedButton16",
                                             .deleteLastHint = QStringLiteral("Sekante löschen"),
                                             .clearAll = "SpeedButton24",
                                             .clearAllHint = QStringLiteral("Liste löschen")},
                                            rightPanel());
    secantColourButton_ = MakeColorButton(QStringLiteral("ColorButton1"), {}, rightPanel());
    secantColourButton_->setDefaultText(QStringLiteral("Sekante"));
    secantColourButton_->setSelectionColor(SecantColor);
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(secantButtons_);
    row->addWidget(secantColourButton_);
    row->addStretch(1);
    lessonArea()->addLayout(row);

    auto* boxes = new QHBoxLayout;
    pointLabelBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Beschriftung"), rightPanel());
    secantTriangleBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox3"), QStringLiteral("Steigungsdreieck"), rightPanel());
    helpLineBox_ = MakeCheckBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Hilfslinien"), rightPanel());
    for (BitCheckBox* box : {pointLabelBox_, secantTriangleBox_, helpLineBox_}) {
        boxes->addWidget(box);
    }
    boxes->addStretch(1);
    lessonArea()->addLayout(boxes);
}

void TangentProblemWindow::buildSlopeLabels()
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 6, 0, 0);
    grid->setHorizontalSpacing(4);
    auto* secantCaption =
        MakeLabel(QStringLiteral("Label11"), QStringLiteral("Sekantensteigung  m   ="), rightPanel());
    auto* tangentCaption =
        MakeLabel(QStringLiteral("Label14"), QStringLiteral("Tangentensteigung m  ="), rightPanel());
    attachSubscript(secantCaption, 19, "Label12", QStringLiteral("s"));
    attachSubscript(tangentCaption, 19, "Label15", QStringLiteral("t"));
    secantSlopeLabel_ = MakeLabel(QStringLiteral("Label7"), {}, rightPanel());
    tangentSlopeLabel_ = MakeLabel(QStringLiteral("Label13"), {}, rightPanel());
    for (QLabel* value : {secantSlopeLabel_, tangentSlopeLabel_}) {
        value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
    }
    grid->addWidget(secantCaption, 0, 0);
    grid->addWidget(secantSlopeLabel_, 0, 1);
    grid->addWidget(tangentCaption, 1, 0);
    grid->addWidget(tangentSlopeLabel_, 1, 1);
    grid->setColumnStretch(1, 1);
    lessonArea()->addLayout(grid);

    auto* boxes = new QHBoxLayout;
    tangentBox_ = MakeCheckBox(QStringLiteral("BitCheckBox1"), QStringLiteral("Tangente"), rightPanel());
    tangentTriangleBox_ =
        MakeCheckBox(QStringLiteral("BitCheckBox5"), QStringLiteral("Steigungsdreieck"), rightPanel());
    boxes->addWidget(tangentBox_);
    boxes->addWidget(tangentTriangleBox_);
    boxes->addStretch(1);
    lessonArea()->addLayout(boxes);
}

void TangentProblemWindow::connectControls()
{
    const RedrawBinding draw(this, [this] { drawPicture(); });
    draw.row(rowP_);
    draw.row(rowQ_);
    rowQ_->beforeAnimationStep = [] { PointXQ = SweepPosition(PointXQ, XMin, XMax); };
    rowQ_->afterAnimationStep = [this] { drawPicture(); };
    for (BitCheckBox* box :
         {pointLabelBox_, secantTriangleBox_, helpLineBox_, tangentBox_, tangentTriangleBox_}) {
        connect(box, &BitCheckBox::clicked, this, [this] { onDisplayBoxClicked(); });
    }
    connect(secantColourButton_, &ColorButton::changed, this, [this] { drawPicture(); });
    connect(secantButtons_, &FixedObjectButtons::insertClicked, this, [this] { fixSecant(); });
    connect(secantButtons_, &FixedObjectButtons::deleteLastClicked, this, [this] { deleteNewestSecant(); });
    connect(secantButtons_, &FixedObjectButtons::clearAllClicked, this, [this] { deleteAllSecants(); });
    connect(examplePanel_, &ExampleListPanel::fetchRequested, this,
            [this](int index) { onFetchExample(index); });
    connect(examplePanel_, &ExampleListPanel::addRequested, this, [this] { onAddExample(); });
    connect(examplePanel_, &ExampleListPanel::entryRemoved, this, [this] { termField_->edit()->setFocus(); });
}

} // namespace kurvex
