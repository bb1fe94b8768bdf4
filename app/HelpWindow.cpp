// Help window (TForm18): the term syntax, read from the help text beside the program.
#include "app/HelpWindow.h"

#include "core/Settings.h"

#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

namespace kurvex {

QString LoadHelpText()
{
    const QString path = QString::fromStdString(ProgramDir) + QString::fromUtf8(kHelpFileName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral(" Die Hilfedatei %1 konnte nicht gelesen werden.").arg(path);
    return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Hilfe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(644, 498);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    textView_ = new QPlainTextEdit(this);
    textView_->setObjectName(QStringLiteral("Memo1"));
    textView_->setReadOnly(true);
    textView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    textView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    f.setPixelSize(13);
    textView_->setFont(f);
    QPalette pal = textView_->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::HighlightedText));
    textView_->setPalette(pal);
    textView_->setPlainText(LoadHelpText());
    textView_->viewport()->installEventFilter(this);
    layout->addWidget(textView_);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click anywhere in the text closes the window.
    if (watched == textView_->viewport() && event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ShowHelpWindow(QWidget* owner)
{
    auto* window = new HelpWindow(owner); // frees itself on close
    window->exec();
}

} // namespace kurvex
