// Function-graph window: its controls, their layout and their connections.
#include "lessons/FunctionGraphWindow.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/StyleComboBoxes.h"
#include "controls/ToggleSwitch.h"
#include "core/FunctionGraph.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

constexpr int kEditWidth = 58;
// Reset, direction and object buttons.
constexpr QSize kGlyphButtonSize(22, 22);

QLineEdit* numberEdit(const QString& name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setFixedWidth(kEditWidth);
    return e;
}

ToggleSwitch* animationSwitch(const QString& name, QWidget* parent)
{
    auto* s = new ToggleSwitch(parent);
    s->setObjectName(name);
    s->setToolTip(QStringLiteral("Animation"));
    s->setCaptionOn(QStringLiteral("EIN"));
    s->setCaptionOff(QStringLiteral("AUS"));
    s->setOnColor(clLime);
    s->setFixedSize(60, 22);
    return s;
}

BitCheckBox* checkBox(const QString& name, const QString& text, QWidget* parent)
{
    auto* c = new BitCheckBox(text, parent);
    c->setObjectName(name);
    // Room for the whole caption beside the glyph.
    c->setMinimumWidth(c->fontMetrics().horizontalAdvance(text) + 24);
    return c;
}

QSlider* trackBar(const QString& name, const QString& hint, int min, int max, QWidget* parent)
{
    auto* t = new QSlider(Qt::Horizontal, parent);
    t->setObjectName(name);
    t->setToolTip(hint);
    t->setRange(min, max);
    t->setPageStep(1);
    return t;
}

QFont termFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

} // namespace

void FunctionGraphWindow::buildTopRow()
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    TabControl1 = new QTabBar(topPanel());
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setDocumentMode(true);
    TabControl1->setExpanding(false);
    TabControl1->setFocusPolicy(Qt::NoFocus);
    QFont tabFont = TabControl1->font();
    tabFont.setBold(true);
    tabFont.setPixelSize(11);
    TabControl1->setFont(tabFont);
    for (const char* caption :
         {"y = mx+c", "y = ax\u00B2+bx+c", "y = a(x-u)\u00B2+v", "y = af(x-u)+v", "y = f(x,a,b,c,d)"}) {
        TabControl1->addTab(QString::fromUtf8(caption));
    }
    row->addWidget(TabControl1);
    row->addStretch(1);

    Label8 = new QLabel(topPanel());
    Label8->setObjectName(QStringLiteral("Label8"));
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    row->addWidget(Label8);
    row->addSpacing(24);

    ColorButton1 = new ColorButton(topPanel());
    ColorButton1->setObjectName(QStringLiteral("ColorButton1"));
    ColorButton1->setToolTip(QStringLiteral("Linienfarbe"));
    ColorButton1->setFixedSize(20, 20);
    row->addWidget(ColorButton1);
    LineWidthComboBox1 = new LineWidthComboBox(topPanel());
    LineWidthComboBox1->setObjectName(QStringLiteral("LineWidthComboBox1"));
    LineWidthComboBox1->setToolTip(QStringLiteral("Linienbreite"));
    LineWidthComboBox1->setFixedWidth(80);
    row->addWidget(LineWidthComboBox1);
    topArea()->addLayout(row);
    topPanel()->show();
}

void FunctionGraphWindow::buildTermRow()
{
    rightPanel()->setMinimumWidth(333);
    auto* row = new QHBoxLayout;
    Label4 = new QLabel(QStringLiteral("  y ="), rightPanel());
    Label4->setObjectName(QStringLiteral("Label4"));
    row->addWidget(Label4);
    Edit1 = new QLineEdit(rightPanel());
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit12 = new QLineEdit(rightPanel());
    Edit12->setObjectName(QStringLiteral("Edit12"));
    for (QLineEdit* e : {Edit1, Edit12}) {
        e->setFont(termFont());
        // Room beyond the 120 characters a term keeps, so that a longer paste is reported as too
        // long on exit instead of being cut silently in the middle of a symbol.
        e->setMaxLength(kTermEditLength);
        row->addWidget(e, 1);
    }
    // The frame's help button sits at the right of the term row, and goes with it.
    helpButton()->setFixedSize(kGlyphButtonSize);
    row->addWidget(helpButton());
    lessonArea()->addLayout(row);
}

void FunctionGraphWindow::buildParameterRows()
{
    struct RowDefinition {
        const char *label, *value, *reset, *bar, *min, *max, *toggle, *direction;
        double* param;
        double* paramMin;
        double* paramMax;
        double IniSettingsRecord::*startValue;
        double IniSettingsRecord::*startMin;
        double IniSettingsRecord::*startMax;
    };
    using R = IniSettingsRecord;
    const RowDefinition definitions[4] = {
        {"Label1", "Edit2", "SpeedButton1", "ScrollBar1", "Edit3", "Edit4", "Switch1", "SpeedButton24",
         &ParamA, &ParamAMin, &ParamAMax, &R::a, &R::a1, &R::a2},
        {"Label2", "Edit5", "SpeedButton2", "ScrollBar2", "Edit6", "Edit7", "Switch2", "SpeedButton25",
         &ParamB, &ParamBMin, &ParamBMax, &R::b, &R::b1, &R::b2},
        {"Label3", "Edit8", "SpeedButton4", "ScrollBar3", "Edit9", "Edit10", "Switch3", "SpeedButton26",
         &ParamC, &ParamCMin, &ParamCMax, &R::c, &R::c1, &R::c2},
        {"Label11", "Edit13", "SpeedButton16", "ScrollBar4", "Edit14", "Edit15", "Switch5", "SpeedButton29",
         &ParamD, &ParamDMin, &ParamDMax, &R::d, &R::d1, &R::d2},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const RowDefinition& s = definitions[i];
        ParameterRow& r = rows[i];
        r.box = new QWidget(rightPanel());
        auto* grid = new QGridLayout(r.box);
        grid->setContentsMargins(0, 2, 0, 2);
        grid->setHorizontalSpacing(4);
        grid->setVerticalSpacing(1);
        r.caption = new QLabel(i == 3 ? QStringLiteral("d =") : QString(), r.box);
        r.caption->setObjectName(QString::fromLatin1(s.label));
        r.caption->setMinimumWidth(26);
        r.value = numberEdit(QString::fromLatin1(s.value), r.box);
        r.reset = glyphButton(QStringLiteral("\u21BA"), QString::fromLatin1(s.reset),
                              QStringLiteral("Anfangswerte setzen"), kGlyphButtonSize, r.box);
        r.bar = new QScrollBar(Qt::Horizontal, r.box);
        r.bar->setObjectName(QString::fromLatin1(s.bar));
        r.bar->setRange(kFirstBarPosition, AnimationSteps);
        r.bar->setPageStep(1);
        r.min = numberEdit(QString::fromLatin1(s.min), r.box);
        r.max = numberEdit(QString::fromLatin1(s.max), r.box);
        r.toggle = animationSwitch(QString::fromLatin1(s.toggle), r.box);
        r.direction = glyphButton(QStringLiteral("\u21C4"), QString::fromLatin1(s.direction), {},
                                  kGlyphButtonSize, r.box);
        r.param = s.param;
        r.paramMin = s.paramMin;
        r.paramMax = s.paramMax;
        r.startValue = s.startValue;
        r.startMin = s.startMin;
        r.startMax = s.startMax;

        grid->addWidget(r.caption, 0, 0);
        grid->addWidget(r.value, 0, 1);
        grid->addWidget(r.reset, 0, 2);
        grid->addWidget(r.toggle, 0, 3, 1, 2, Qt::AlignRight);
        grid->addWidget(r.direction, 0, 5);
        grid->addWidget(r.min, 1, 1);
        grid->addWidget(r.bar, 1, 2, 1, 3);
        grid->addWidget(r.max, 1, 5);
        grid->setColumnStretch(4, 1);
        lessonArea()->addWidget(r.box);
        registerAnimationSwitch(r.toggle);
    }
}

void FunctionGraphWindow::buildPointPanel()
{
    Panel4 = new QWidget(rightPanel());
    Panel4->setObjectName(QStringLiteral("Panel4"));
    auto* column = new QVBoxLayout(Panel4);
    column->setContentsMargins(0, 4, 0, 4);
    column->setSpacing(3);
    BitCheckBox2 = checkBox(QStringLiteral("BitCheckBox2"), QStringLiteral("Steigungsdreieck"), Panel4);
    TrackBar1 = trackBar(QStringLiteral("TrackBar1"), QStringLiteral("Schrittweite"), 1, 20, Panel4);
    TrackBar1->setValue(4);
    BitCheckBox4 = checkBox(QStringLiteral("BitCheckBox4"), QStringLiteral("Tangente"), Panel4);
    BitCheckBox1 = checkBox(QStringLiteral("BitCheckBox1"), QStringLiteral("f' Ableitungsfunktion"), Panel4);
    auto* label7 = new QLabel(QStringLiteral("x ="), Panel4);
    label7->setObjectName(QStringLiteral("Label7"));
    Edit11 = numberEdit(QStringLiteral("Edit11"), Panel4);
    SpeedButton13 = glyphButton(QStringLiteral("\u21BA"), QStringLiteral("SpeedButton13"),
                                QStringLiteral("Anfangswerte setzen"), kGlyphButtonSize, Panel4);
    Switch4 = animationSwitch(QStringLiteral("Switch4"), Panel4);
    SpeedButton27 =
        glyphButton(QStringLiteral("\u21C4"), QStringLiteral("SpeedButton27"), {}, kGlyphButtonSize, Panel4);
    registerAnimationSwitch(Switch4);

    auto* triangleRow = new QHBoxLayout;
    triangleRow->addWidget(BitCheckBox2);
    triangleRow->addWidget(TrackBar1, 1);
    auto* tangentRow = new QHBoxLayout;
    tangentRow->addWidget(BitCheckBox4);
    tangentRow->addWidget(BitCheckBox1);
    tangentRow->addStretch(1);
    auto* pointRow = new QHBoxLayout;
    pointRow->setSpacing(4);
    pointRow->addWidget(label7);
    pointRow->addWidget(Edit11);
    pointRow->addWidget(SpeedButton13);
    pointRow->addStretch(1);
    pointRow->addWidget(Switch4);
    pointRow->addWidget(SpeedButton27);
    column->addLayout(triangleRow);
    column->addLayout(tangentRow);
    column->addLayout(pointRow);
    lessonArea()->addWidget(Panel4);
}

void FunctionGraphWindow::buildVertexAndObjects()
{
    auto* vertex = new QHBoxLayout;
    BitCheckBox3 =
        checkBox(QStringLiteral("BitCheckBox3"), QStringLiteral("Scheitel verschieben"), rightPanel());
    BitCheckBox6 =
        checkBox(QStringLiteral("BitCheckBox6"), QStringLiteral("Scheitel markieren"), rightPanel());
    vertex->addWidget(BitCheckBox3);
    vertex->addWidget(BitCheckBox6);
    lessonArea()->addLayout(vertex);
    Label5 = new QLabel(rightPanel());
    Label5->setObjectName(QStringLiteral("Label5"));
    // The controls below keep their place whether or not the vertex text shows.
    QSizePolicy keepPlace = Label5->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    Label5->setSizePolicy(keepPlace);
    Label5->hide();
    lessonArea()->addWidget(Label5);

    auto* objects = new QGridLayout;
    objects->setContentsMargins(0, 6, 0, 0);
    objects->setHorizontalSpacing(4);
    auto* label6 = new QLabel(QStringLiteral("fixieren"), rightPanel());
    label6->setObjectName(QStringLiteral("Label6"));
    SpeedButton6 = glyphButton(QStringLiteral("+"), QStringLiteral("SpeedButton6"),
                               QStringLiteral("Objekt einfügen"), kGlyphButtonSize, rightPanel());
    SpeedButton12 =
        glyphButton(QStringLiteral("\u2212"), QStringLiteral("SpeedButton12"),
                    QStringLiteral("Letztes Objekt in der Liste löschen"), kGlyphButtonSize, rightPanel());
    SpeedButton5 = glyphButton(QStringLiteral("\u2715"), QStringLiteral("SpeedButton5"),
                               QStringLiteral("alle Objekte löschen"), kGlyphButtonSize, rightPanel());
    auto* label9 = new QLabel(QStringLiteral("Kurvenschar fixieren"), rightPanel());
    label9->setObjectName(QStringLiteral("Label9"));
    BitCheckBox10 = checkBox(QStringLiteral("BitCheckBox10"), {}, rightPanel());
    BitCheckBox10->setFixedWidth(18);
    BitCheckBox9 = checkBox(QStringLiteral("BitCheckBox9"), {}, rightPanel());
    BitCheckBox9->setToolTip(QStringLiteral("Farbspektrum für Parameterwerte"));
    BitCheckBox9->setFixedWidth(18);
    TrackBar2 = trackBar(QStringLiteral("TrackBar2"), QStringLiteral("Farbspektrum auswählen"), 1,
                         kSpectrumCount, rightPanel());

    objects->addWidget(label6, 0, 0);
    objects->addWidget(SpeedButton6, 0, 1);
    objects->addWidget(SpeedButton12, 0, 2);
    objects->addWidget(SpeedButton5, 0, 3);
    objects->addWidget(BitCheckBox10, 1, 0, Qt::AlignRight);
    objects->addWidget(label9, 1, 1, 1, 4);
    objects->addWidget(BitCheckBox9, 2, 0, Qt::AlignRight);
    objects->addWidget(TrackBar2, 2, 1, 1, 4);
    objects->setColumnStretch(4, 1);
    lessonArea()->addLayout(objects);
}

void FunctionGraphWindow::connectControls()
{
    connect(TabControl1, &QTabBar::currentChanged, this, [this] { TabControl1Change(); });
    connect(ColorButton1, &ColorButton::changed, this, [this] { ColorButton1Change(); });
    connect(LineWidthComboBox1, &LineWidthComboBox::changed, this, [this] { LineWidthComboBox1Change(); });
    ConnectEditExit(Edit1, this, [this] { Edit1Exit(); });
    ConnectEditExit(Edit12, this, [this] { Edit12Exit(); });
    ConnectEditExit(Edit11, this, [this] { Edit11Exit(); });
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        ParameterRow& r = rows[static_cast<std::size_t>(i)];
        connect(r.bar, &QScrollBar::valueChanged, this,
                [this, i](int position) { ScrollBarChange(i, position); });
        ConnectEditExit(r.value, this, [this, i] { ValueEditExit(i); });
        ConnectEditExit(r.min, this, [this, i] { RangeEditExit(i, false); });
        ConnectEditExit(r.max, this, [this, i] { RangeEditExit(i, true); });
        connect(r.reset, &QToolButton::clicked, this, [this, i] { ResetRowClick(i); });
        connect(r.toggle, &ToggleSwitch::clicked, this, [this, i] { ParameterSwitchClick(i); });
        connect(r.direction, &QToolButton::clicked, this, [this] { SpeedButton24Click(); });
    }
    connect(SpeedButton13, &QToolButton::clicked, this, [this] { SpeedButton13Click(); });
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int position) { TrackBar1Change(position); });
    for (BitCheckBox* box : {BitCheckBox1, BitCheckBox2, BitCheckBox4}) {
        connect(box, &BitCheckBox::clicked, this, [this] { BitCheckBox2Click(); });
    }
    connect(BitCheckBox3, &BitCheckBox::clicked, this, [this] { BitCheckBox3Click(); });
    connect(BitCheckBox6, &BitCheckBox::clicked, this, [this] { BitCheckBox6Click(); });
    connect(Switch4, &ToggleSwitch::clicked, this, [this] { Switch4Click(); });
    connect(SpeedButton27, &QToolButton::clicked, this, [this] { SpeedButton24Click(); });
    connect(TrackBar2, &QSlider::valueChanged, this, [this](int position) { TrackBar2Change(position); });
    connect(BitCheckBox9, &BitCheckBox::clicked, this, [this] { BitCheckBox9Click(); });
    connect(BitCheckBox10, &BitCheckBox::clicked, this, [this] { BitCheckBox10Click(); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { SpeedButton12Click(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
}

} // namespace kurvex
