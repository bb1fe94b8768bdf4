// Help window (TForm18): the term syntax, read from the help text beside the program.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace kurvex {

inline constexpr const char* kHelpFileName = "Hilfe.txt";

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* owner);
    QPlainTextEdit* textView() const { return textView_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* textView_ = nullptr;
};

// The help text from ProgramDir; a short German notice naming the file and the cause when it
// cannot be read.
QString LoadHelpText();
// Opens the help window modally over a lesson window.
void ShowHelpWindow(QWidget* owner);

} // namespace kurvex
