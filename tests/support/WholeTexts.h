// Whether a widget shows its whole text: the text measured with the widget's font against the
// room the widget gives it, and that room against the part of the widget its parents let show.
#pragma once

#include "controls/BitCheckBox.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <vector>

namespace kurvex::test {

namespace wholetext {

// The widget's rectangle r as far as its parents up to the window let it show.
inline QRect shownPart(const QWidget* w, QRect r)
{
    const QWidget* window = w->window();
    const QPoint origin = w->mapTo(window, QPoint(0, 0));
    r.translate(origin);
    for (const QWidget* p = w->parentWidget(); p != nullptr;
         p = p->isWindow() ? nullptr : p->parentWidget()) {
        r &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
    }
    return r.translated(-origin);
}

// The size of a text as the widget's font lays it out: each line's advance, lines stacked; rich
// text as a document shows it.
inline QSize textSize(const QWidget* w, const QString& text, bool rich)
{
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(w->font());
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        return doc.documentLayout()->documentSize().toSize();
    }
    const QFontMetrics fm = w->fontMetrics();
    int width = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        width = std::max(width, fm.horizontalAdvance(line));
    }
    return {width, static_cast<int>(lines.size()) * fm.height()};
}

inline QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// "" when a text of size needs, aligned in room, shows whole; else what is cut and by how much.
inline std::string fault(const QWidget* w, const QString& text, QSize needs, QRect room, Qt::Alignment align)
{
    const QRect at = QStyle::alignedRect(Qt::LeftToRight, align, needs, room);
    const QRect shown = shownPart(w, w->rect());
    if (needs.width() <= room.width() && needs.height() <= room.height() + 1 &&
        shown.contains(at.intersected(room))) {
        return {};
    }
    const QSize has = shownPart(w, room).size();
    return std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() + " \"" +
           text.toStdString() + "\" needs " + std::to_string(needs.width()) + "x" +
           std::to_string(needs.height()) + " px, has " + std::to_string(has.width()) + "x" +
           std::to_string(has.height());
}

inline std::string labelFault(const QLabel& l)
{
    if (l.text().isEmpty() || !l.pixmap().isNull()) {
        return {};
    }
    const bool rich =
        l.textFormat() == Qt::RichText || (l.textFormat() == Qt::AutoText && Qt::mightBeRichText(l.text()));
    int indent = l.indent();
    if (indent < 0) {
        indent = l.frameWidth() > 0 ? l.fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    }
    const int m = l.margin();
    const QRect room = l.contentsRect().adjusted(m + indent, m, -m - indent, -m);
    QSize needs = textSize(&l, rich ? l.text() : withoutMnemonics(l.text()), rich);
    if (l.wordWrap()) {
        // Wrapped at the room's width, the lines must fit its height.
        needs = {std::min(needs.width(), room.width()), l.heightForWidth(l.width()) - 2 * l.frameWidth()};
    }
    return fault(&l, l.text(), needs, room, l.alignment());
}

inline std::string editFault(const QLineEdit& e)
{
    if (e.text().isEmpty() || e.echoMode() != QLineEdit::Normal) {
        return {};
    }
    QStyleOptionFrame opt;
    opt.initFrom(&e);
    opt.rect = e.rect();
    opt.lineWidth = e.hasFrame() ? e.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, &e) : 0;
    // The edit keeps 2 px beside its text on each side and one pixel for the cursor after it.
    const QRect room = e.style()
                           ->subElementRect(QStyle::SE_LineEditContents, &opt, &e)
                           .marginsRemoved(e.textMargins())
                           .adjusted(2, 0, -2, 0);
    const QSize needs(e.fontMetrics().horizontalAdvance(e.text()) + 1, e.fontMetrics().height());
    return fault(&e, e.text(), needs, room, Qt::AlignLeft | Qt::AlignVCenter);
}

inline std::string buttonFault(const QAbstractButton& b)
{
    if (b.text().isEmpty()) {
        return {};
    }
    const QString text = withoutMnemonics(b.text());
    QSize needs = textSize(&b, text, false);
    if (!b.icon().isNull()) {
        needs.rwidth() += b.iconSize().width() + 4;
    }
    QStyleOptionButton opt;
    opt.initFrom(&b);
    opt.text = text;
    const bool radio = qobject_cast<const QRadioButton*>(&b) != nullptr;
    if (radio || qobject_cast<const QCheckBox*>(&b) != nullptr) {
        const QRect room = b.style()->subElementRect(
            radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &opt, &b);
        return fault(&b, b.text(), needs, room, Qt::AlignLeft | Qt::AlignVCenter);
    }
    if (qobject_cast<const QPushButton*>(&b) != nullptr) {
        return fault(&b, b.text(), needs, b.style()->subElementRect(QStyle::SE_PushButtonContents, &opt, &b),
                     Qt::AlignCenter);
    }
    const int frame = b.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &b);
    return fault(&b, b.text(), needs, b.rect().adjusted(frame, frame, -frame, -frame), Qt::AlignCenter);
}

inline std::string checkBoxFault(const BitCheckBox& c)
{
    if (c.text().isEmpty()) {
        return {};
    }
    const QPixmap glyph = c.glyph(c.State());
    const int glyphWidth =
        static_cast<int>(glyph.deviceIndependentSize().width()) / std::max(1, c.numGlyphs(c.State()));
    const QRect room = c.rect().adjusted(c.Alignment() == taRightJustify ? glyphWidth + 4 : 1, 0, 0, 0);
    const QSize needs(c.fontMetrics().horizontalAdvance(withoutMnemonics(c.text())),
                      c.fontMetrics().height());
    return fault(&c, c.text(), needs, room, Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace wholetext

// "" when the label, edit, button or check box shows its whole text (or has none); else which text
// is cut, the room it needs and the room it has.
inline std::string CutText(const QWidget& w)
{
    if (const auto* l = qobject_cast<const QLabel*>(&w)) {
        return wholetext::labelFault(*l);
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(&w)) {
        return wholetext::editFault(*e);
    }
    if (const auto* b = qobject_cast<const QAbstractButton*>(&w)) {
        return wholetext::buttonFault(*b);
    }
    if (const auto* c = qobject_cast<const BitCheckBox*>(&w)) {
        return wholetext::checkBoxFault(*c);
    }
    return {};
}

// Every visible text of the window that does not show whole.
inline std::vector<std::string> CutTexts(const QWidget& window)
{
    std::vector<std::string> faults;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (w->isVisibleTo(&window) && w->window() == &window) {
            if (std::string f = CutText(*w); !f.empty()) {
                faults.push_back(std::move(f));
            }
        }
    }
    return faults;
}

} // namespace kurvex::test
