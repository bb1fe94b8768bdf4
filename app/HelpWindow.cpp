// Help window (TForm18): the term syntax, read from the help text beside the program.
#include "app/HelpWindow.h"

#include "core/Settings.h"
#include "platform/TextFile.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>

namespace kurvex {

QString LoadHelpText()
{
    // Read as every other text file the program keeps: any line end, Windows-1252 or UTF-8, and
    // a FIFO or a huge file refused instead of hanging the window.
    const std::string path = ProgramDir + kHelpFileName;
    const TextFileContent content = ReadTextFile(path);
    if (!content.lines) {
        return QStringLiteral(" Die Hilfedatei \"%1\" wurde nicht gefunden.")
            .arg(QString::fromStdString(path));
    }
    if (!content.cause.empty()) {
        return QStringLiteral(" Die Hilfedatei \"%1\" konnte nicht gelesen werden (%2).")
            .arg(QString::fromStdString(path), QString::fromStdString(content.cause));
    }
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(content.lines->size()));
    for (const std::string& line : *content.lines)
        lines << QString::fromStdString(line);
    return lines.join(QLatin1Char('\n'));
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
