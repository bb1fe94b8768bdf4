// Label for terms longer than its width, broken between their summands.
#include "lesson/TermLabel.h"

#include <QResizeEvent>

namespace kurvex {

TermLabel::TermLabel(QWidget* parent) : QLabel(parent) {}

void TermLabel::setTermLines(const QStringList& lines)
{
    lines_ = lines;
    term_ = true;
    setWordWrap(false);
    layoutLines();
}

void TermLabel::setMessage(const QString& text)
{
    lines_ = text.isEmpty() ? QStringList() : QStringList{text};
    term_ = false;
    // A message is words: it wraps between them.
    setWordWrap(true);
    setText(text);
}

QStringList TermLabel::summands(const QString& line)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c != QLatin1Char('+') && c != QLatin1Char('-')) {
            continue;
        }
        // The blanks before the sign go with it, so a line never ends on them.
        qsizetype begin = i;
        while (begin > start && line.at(begin - 1) == QLatin1Char(' ')) {
            --begin;
        }
        if (begin == start || QStringLiteral("Ee(*/^+-=").contains(line.at(begin - 1))) {
            continue;
        }
        pieces << line.mid(start, begin - start);
        start = begin;
    }
    pieces << line.mid(start);
    return pieces;
}

void TermLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    if (event->size().width() != event->oldSize().width()) {
        layoutLines();
    }
}

void TermLabel::layoutLines()
{
    if (!term_) {
        return;
    }
    const int width = contentsRect().width() - 2 * margin();
    const QFontMetrics metrics = fontMetrics();
    QStringList shown;
    for (const QString& line : lines_) {
        QString current;
        for (const QString& piece : summands(line)) {
            if (current.isEmpty()) {
                current = piece;
            } else if (metrics.horizontalAdvance(current + piece) <= width) {
                current += piece;
            } else {
                shown << current;
                // A continued line begins with the sign, not with the blanks before it.
                current = piece.trimmed();
            }
        }
        shown << current;
    }
    setText(shown.join(QLatin1Char('\n')));
}

} // namespace kurvex
