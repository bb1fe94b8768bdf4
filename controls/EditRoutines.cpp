// Edit fields and the parser: the exit event, term and number edits, and the syntax message box.
#include "controls/EditRoutines.h"

#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/term/Term.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <cmath>

namespace kurvex {

namespace {

constexpr char16_t kPiChar = u'\u03C0';
constexpr char16_t kPhiChar = u'\u03A6';

int exitDepth = 0;

struct ExitScope {
    ExitScope() { ++exitDepth; }
    ~ExitScope() { --exitDepth; }
    ExitScope(const ExitScope&) = delete;
    ExitScope& operator=(const ExitScope&) = delete;
};

bool isExitReason(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

bool compileTermEdit(QLineEdit* edit, TermTree& tree)
{
    const std::string text = PointToComma(NormalizeTerm(TermFromDisplay(edit->text())));
    edit->setText(TermToDisplay(text));
    if (text.size() > kMaxTermLength) {
        // Cutting it would break a symbol and report a syntax error in a term typed correctly; the
        // text stays for shortening and the term drawn so far stays compiled.
        ShowTermTooLong(kMaxTermLength);
        edit->setFocus(Qt::OtherFocusReason);
        edit->setCursorPosition(static_cast<int>(kMaxTermLength));
        edit->setModified(true);
        return false;
    }
    if (CompileTerm(tree, text, true)) {
        return true;
    }
    const int errorPos = SyntaxErrorPos;
    CompileTerm(tree, "0", true);
    EvalOk = false;
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(errorPos);
    return false;
}

} // namespace

QString TermToDisplay(std::string_view cp1252)
{
    QString text = QString::fromStdString(Cp1252ToUtf8(cp1252));
    text.replace(QChar(0x00F0), QChar(kPiChar));
    text.replace(QChar(0x00D6), QChar(kPhiChar));
    return text;
}

std::string TermFromDisplay(const QString& text)
{
    QString mapped = text;
    mapped.replace(QChar(kPiChar), QChar(0x00F0));
    mapped.replace(QChar(kPhiChar), QChar(0x00D6));
    return Utf8ToCp1252(mapped.toStdString());
}

// ---------------------------------------------------------------------------------------------

EditExitWatcher::EditExitWatcher(QLineEdit* edit) : QObject(edit), edit_(edit)
{
    // A field never held more than 255 characters; without a bound, a long paste would keep the
    // parser's repair of missing "*" busy for seconds.
    constexpr int kLongestFieldText = 255;
    if (edit->maxLength() > kLongestFieldText) {
        edit->setMaxLength(kLongestFieldText);
    }
    edit->installEventFilter(this);
}

void EditExitWatcher::fire()
{
    if (exitDepth > 0) {
        return;
    }
    const ExitScope scope;
    emit exited();
}

bool EditExitWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edit_) {
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        sawFocusOut_ = true;
        const auto* fe = static_cast<QFocusEvent*>(event);
        if (isExitReason(fe->reason()) && edit_->isVisible() && edit_->window()->isVisible()) {
            fire();
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() != Qt::Key_Return && ke->key() != Qt::Key_Enter) {
            return false;
        }
        if (exitDepth > 0) {
            return true;
        }
        // Tab moves the focus on, and the focus-out runs the exit; with nowhere to go, run it here.
        sawFocusOut_ = false;
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(edit_, &tab);
        if (!sawFocusOut_) {
            fire();
        }
        return true;
    }
    return false;
}

EditExitWatcher* WatchEditExit(QLineEdit* edit)
{
    if (auto* existing = edit->findChild<EditExitWatcher*>(QString(), Qt::FindDirectChildrenOnly)) {
        return existing;
    }
    return new EditExitWatcher(edit);
}

// ---------------------------------------------------------------------------------------------

bool CheckTermEdit(QLineEdit* edit)
{
    return compileTermEdit(edit, ParsedTerm);
}

bool CheckTermEdit2(QLineEdit* edit)
{
    return compileTermEdit(edit, ParsedTerm2);
}

bool CheckTermEditInto(QLineEdit* edit, TermTree& tree)
{
    return compileTermEdit(edit, tree);
}

bool TermTooLong(const QLineEdit* edit)
{
    return NormalizeTerm(TermFromDisplay(edit->text())).size() > kMaxTermLength;
}

QString NumberText(double value)
{
    return QString::fromStdString(FormatNumber(Decimals, value)).trimmed();
}

void ShowNumber(QLineEdit* edit, double value)
{
    edit->setText(NumberText(value));
    // The start of a number that is wider than its edit matters more than its exponent's tail.
    edit->setCursorPosition(0);
    edit->setModified(false);
}

bool ReadNumberEdit(QLineEdit* edit, double& value, NumberRead mode)
{
    if (mode == NumberRead::IfChanged && !edit->isModified()) {
        return false;
    }
    if (!CompileTerm(ParsedNumber, TermFromDisplay(edit->text()), false)) {
        const int errorPos = SyntaxErrorPos;
        edit->setFocus(Qt::OtherFocusReason);
        edit->setCursorPosition(errorPos);
        return false;
    }
    const double v = EvaluateDerivative(ParsedNumber, 0, 0, 0, 0, 0, 0, 0, 0);
    const bool defined = EvalOk && std::isfinite(v);
    if (defined) {
        value = v;
    }
    ShowNumber(edit, value);
    return defined;
}

void InstallSyntaxMessageBox(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetSyntaxErrorHandler([owner](int, const std::string& message, int) {
        QWidget* over = owner ? owner.data() : QApplication::activeWindow();
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"),
                        QString::fromStdString(Cp1252ToUtf8(message)), QMessageBox::Ok, over);
        box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
        box.exec();
    });
}

} // namespace kurvex
