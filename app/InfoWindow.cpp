// Info window (TForm10): product name, subtitle, makers and the two contact links.
#include "app/InfoWindow.h"

#include "controls/Glyphs.h"
#include "lesson/PrintExportHooks.h"

#include <QDesktopServices>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

namespace kurvex {

namespace {

QFont tahoma(int pixelSize)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

QLabel* addLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y, const QColor& color)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

std::function<bool(const QUrl&)>& InfoWindow::urlOpener()
{
    static std::function<bool(const QUrl&)> opener = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
    return opener;
}

InfoWindow::InfoWindow(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Info"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(313, 268);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* panel = new QWidget(this);
    panel->setGeometry(0, 0, 313, 233);
    const QFont big = tahoma(15);
    const QFont medium = tahoma(12);
    addLabel(panel, QStringLiteral("Kurvex"), big, 16, 12, Qt::blue);
    addLabel(panel, QString::fromUtf8(kSubtitle), big, 16, 34, Qt::blue);
    addLabel(panel, QStringLiteral("Funktionen experimentell,"), medium, 40, 70, Qt::black);
    addLabel(panel, QStringLiteral("dynamisch"), medium, 70, 88, Qt::black);
    addLabel(panel, QStringLiteral(" und animiert untersuchen"), medium, 100, 106, Qt::black);

    QFont plain(QStringLiteral("Tahoma"));
    plain.setPixelSize(11);
    addLabel(panel, QStringLiteral("Ein Lernprogramm für den Analysisunterricht"), plain, 16, 140, Qt::black);
    addLabel(panel, QStringLiteral("Das Kurvex-Team"), plain, 16, 156, Qt::black);

    QFont link = tahoma(11);
    link.setUnderline(true);
    mailLabel_ = addLabel(panel, QStringLiteral("kurvex@example.org"), link, 16, 184, QColor(0, 0, 128));
    mailLabel_->setObjectName(QStringLiteral("Label9"));
    mailLabel_->setToolTip(QStringLiteral("E-Mail senden"));
    webLabel_ =
        addLabel(panel, QStringLiteral("https://www.example.org/kurvex"), link, 16, 204, QColor(0, 0, 128));
    webLabel_->setObjectName(QStringLiteral("Label10"));
    webLabel_->setToolTip(QStringLiteral("Internetverbindung herstellen"));
    for (QLabel* l : {mailLabel_, webLabel_}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }

    okButton_ = new QToolButton(this);
    okButton_->setObjectName(QStringLiteral("SpeedButton1"));
    okButton_->setText(QStringLiteral("&OK"));
    okButton_->setIcon(OkGlyph());
    okButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    okButton_->setLayoutDirection(Qt::RightToLeft); // glyph at the right
    okButton_->setAutoRaise(true);
    okButton_->setFont(tahoma(11));
    // As wide as text and glyph need, so the glyph sits beside the text, centred under the panel.
    const int okWidth = okButton_->sizeHint().width() + 8;
    okButton_->setGeometry((313 - okWidth) / 2, 236, okWidth, 29);
    connect(okButton_, &QToolButton::clicked, this, &QDialog::accept);
}

bool InfoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == mailLabel_)
            onMailClicked();
        else if (watched == webLabel_)
            onWebClicked();
    }
    return QDialog::eventFilter(watched, event);
}

void InfoWindow::onMailClicked()
{
    openLink(QUrl(QStringLiteral("mailto:") + mailLabel_->text()));
}

void InfoWindow::onWebClicked()
{
    openLink(QUrl(webLabel_->text()));
}

void InfoWindow::openLink(const QUrl& url)
{
    // Without a mail program or browser the desktop only writes to stderr, which a user never sees.
    if (!urlOpener()(url)) {
        CurrentPrintExportHooks().showError(
            this,
            QStringLiteral("Auf diesem Rechner ist kein Programm eingerichtet, das diese Adresse öffnet:\n") +
                url.toString());
    }
}

} // namespace kurvex
