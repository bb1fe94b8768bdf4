// Edit fields and the parser: the exit event, term and number edits, and the syntax message box.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

class QLineEdit;
class QWidget;

namespace kurvex {

class TermTree;

// Term text of the core (Windows-1252, π 0xF0, Φ 0xD6) as an edit shows it (π, Φ), and back.
QString TermToDisplay(std::string_view cp1252);
std::string TermFromDisplay(const QString& text);

// The exit event of an edit: the focus goes to another control of the same window, or Enter is
// pressed (swallowed, the focus moves on). While one exit handler runs (a syntax message box may
// take the focus and the edit take it back) no other exit fires, so there is one message and no
// bouncing between two wrong edits. Focus lost to another window or a popup is no exit.
class EditExitWatcher : public QObject {
    Q_OBJECT
public:
    explicit EditExitWatcher(QLineEdit* edit);

signals:
    void exited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fire();
    QLineEdit* edit_;
    bool sawFocusOut_ = false;
};

// The edit's watcher, created on first use and owned by the edit.
EditExitWatcher* WatchEditExit(QLineEdit* edit);

template <typename Functor> void ConnectEditExit(QLineEdit* edit, const QObject* context, Functor&& handler)
{
    QObject::connect(WatchEditExit(edit), &EditExitWatcher::exited, context, std::forward<Functor>(handler));
}

// Normalises the edit's term (lower case, no blanks, decimal comma, π and Φ shown) and compiles
// it into ParsedTerm. A wrong term leaves "0" compiled, EvalOk false, and the focus and caret at
// the error. Returns whether the term compiled.
bool CheckTermEdit(QLineEdit* edit);
// The same with ParsedTerm2, or with a term of the caller's.
bool CheckTermEdit2(QLineEdit* edit);
bool CheckTermEditInto(QLineEdit* edit, TermTree& tree);
// How many characters a term edit takes.
inline constexpr int kTermEditLength = 150;
// Whether the edit's term is longer than a term variable keeps; CheckTermEdit then reports that
// instead of compiling and leaves the compiled term as it was.
bool TermTooLong(const QLineEdit* edit);

// Whether ReadNumberEdit reads an untouched edit: a shown rounded value never replaces the exact
// value it stands for, so the exit handlers read only a changed text.
enum class NumberRead { IfChanged, Always };

// Reads the edit as a constant expression into value and shows it with Decimals. An undefined
// result shows the old value again; a syntax error leaves text and value, with the caret at the
// error. Returns true when value took a newly read number.
bool ReadNumberEdit(QLineEdit* edit, double& value, NumberRead mode = NumberRead::IfChanged);

// Shows value with Decimals, as ReadNumberEdit does; the text counts as unchanged afterwards.
void ShowNumber(QLineEdit* edit, double value);
// FormatNumber(Decimals, value) without the blanks around it.
QString NumberText(double value);

// Makes the parser show its syntax messages in a modal German message box with an OK button,
// over parent or, without one, over the active window. Called once at start.
void InstallSyntaxMessageBox(QWidget* parent = nullptr);

} // namespace kurvex
