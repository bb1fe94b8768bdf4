// Small factories for the controls the lesson windows share.
#include "lesson/ControlFactory.h"

#include "controls/BitCheckBox.h"
#include "controls/ColorButton.h"
#include "controls/EditRoutines.h"
#include "controls/ToggleSwitch.h"
#include "platform/Canvas.h"

#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

namespace kurvex {

QToolButton* MakeGlyphButton(const QString& glyph, const QString& objectName, const QString& hint,
                             QWidget* parent, QSize size)
{
    auto* b = new QToolButton(parent);
    b->setText(glyph);
    b->setObjectName(objectName);
    if (!hint.isEmpty()) {
        b->setToolTip(hint);
    }
    b->setFixedSize(size);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* MakeLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(objectName);
    return l;
}

QLabel* MakeBoldLabel(const QString& objectName, const QString& text, QWidget* parent)
{
    QLabel* l = MakeLabel(objectName, text, parent);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

QLineEdit* MakeNumberEdit(const QString& objectName, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(objectName);
    // Measured, not a fixed count of pixels: "-1,040 E-2" or "7,0000 E-2" were cut in another font.
    e->setFixedWidth(EditWidthFor(*e, QString::fromLatin1(kWidestNumberText)));
    return e;
}

int EditWidthFor(const QLineEdit& edit, const QString& text)
{
    // The edit keeps 2 pixels beside its text on either side and one for the cursor after it.
    constexpr int kEditTextMargins = 2 * 2 + 1;
    const QMargins margins = edit.textMargins();
    const QSize contents(edit.fontMetrics().horizontalAdvance(text) + kEditTextMargins + margins.left() +
                             margins.right(),
                         edit.fontMetrics().height());
    QStyleOptionFrame opt;
    opt.initFrom(&edit);
    opt.lineWidth =
        edit.hasFrame() ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, &edit) : 0;
    return edit.style()->sizeFromContents(QStyle::CT_LineEdit, &opt, contents, &edit).width();
}

QLineEdit* MakeTermEdit(const QString& objectName, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(objectName);
    e->setFont(TermFont());
    // Room beyond the 120 characters a term keeps, so that a longer paste is reported as too long
    // on exit instead of being cut silently in the middle of a symbol.
    e->setMaxLength(kTermEditLength);
    return e;
}

ToggleSwitch* MakeAnimationSwitch(const QString& objectName, QWidget* parent)
{
    auto* s = new ToggleSwitch(parent);
    s->setObjectName(objectName);
    s->setToolTip(QStringLiteral("Animation"));
    s->setCaptionOn(QStringLiteral("EIN"));
    s->setCaptionOff(QStringLiteral("AUS"));
    s->setOnColor(clLime);
    s->setFixedSize(60, 22);
    return s;
}

BitCheckBox* MakeCheckBox(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* c = new BitCheckBox(text, parent);
    c->setObjectName(objectName);
    c->setMinimumWidth(c->fontMetrics().horizontalAdvance(text) + 24);
    return c;
}

QSlider* MakeTrackBar(const QString& objectName, const QString& hint, int min, int max, QWidget* parent)
{
    auto* t = new QSlider(Qt::Horizontal, parent);
    t->setObjectName(objectName);
    t->setToolTip(hint);
    t->setRange(min, max);
    t->setPageStep(1);
    return t;
}

ColorButton* MakeColorButton(const QString& objectName, const QString& hint, QWidget* parent)
{
    auto* b = new ColorButton(parent);
    b->setObjectName(objectName);
    b->setToolTip(hint);
    b->setFixedSize(20, 20);
    return b;
}

int CaptionWidth(const QWidget& window)
{
    // Title bars use a bold face; the icon and each button take about a title bar's height.
    QFont bold = window.font();
    bold.setBold(true);
    const int button = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + 4 * button + 16;
}

QFont TermFont()
{
    QFont f(QStringLiteral("Courier New"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

} // namespace kurvex
