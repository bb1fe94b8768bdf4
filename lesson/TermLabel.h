// Label for terms longer than its width: a term breaks between its summands only, never inside a
// number, and is laid out again whenever the label's width changes.
#pragma once

#include <QLabel>
#include <QStringList>

namespace kurvex {

class TermLabel : public QLabel {
    Q_OBJECT
public:
    explicit TermLabel(QWidget* parent = nullptr);

    // Lines of terms, each one begun on a line of its own and broken between its summands where
    // it is wider than the label.
    void setTermLines(const QStringList& lines);
    // A text shown as it stands, wrapped between its words (a message).
    void setMessage(const QString& text);
    // What was set, without the breaks the label added: the lines joined by line feeds.
    QString wholeText() const { return lines_.join(QLatin1Char('\n')); }

    // The pieces a term line may break between: each summand with the blanks before its sign. A
    // sign of an exponent ("E-3"), after a bracket, an operator or "=" begins no summand.
    static QStringList summands(const QString& line);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutLines();

    QStringList lines_;
    bool term_ = false;
};

} // namespace kurvex
