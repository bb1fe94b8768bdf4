// Base of the settings dialogs: placed controls, integer edits, printer setup, save failure, closing.
#include "lesson/SettingsDialogBase.h"

#include "controls/ColorButton.h"
#include "controls/MultiLineButton.h"
#include "lesson/ApplicationPrinter.h"
#include "lesson/PrintExportHooks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace kurvex {

SettingsDialogBase::SettingsDialogBase(QWidget* owner, QSize size) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Einstellungen"));
    setWindowFlag(Qt::Tool);
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(size);
}

QLabel* SettingsDialogBase::placeLabel(const QString& text, int x, int y)
{
    auto* l = new QLabel(text, this);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->adjustSize();
    l->move(x, y);
    return l;
}

QLineEdit* SettingsDialogBase::placeEdit(const char* formName, int x, int y, int width, int maxLength)
{
    auto* e = Named(new QLineEdit(this), formName);
    e->setGeometry(x, y, width, 21);
    if (maxLength > 0) {
        e->setMaxLength(maxLength);
    }
    return e;
}

ColorButton* SettingsDialogBase::placeColourButton(const char* formName, int x, int y)
{
    auto* b = Named(new ColorButton(this), formName);
    b->setFlat(true);
    b->setGeometry(x, y, 45, 22);
    return b;
}

QPushButton* SettingsDialogBase::placeButton(const char* formName, const QString& text, const QRect& where)
{
    auto* b = Named(new QPushButton(text, this), formName);
    // Enter goes on to the next field; it never presses a button.
    b->setAutoDefault(false);
    b->setGeometry(where);
    return b;
}

MultiLineButton* SettingsDialogBase::placeMultiLineButton(const char* formName, const QString& text,
                                                          const QRect& where)
{
    auto* b = Named(new MultiLineButton(text, this), formName);
    b->setAutoDefault(false);
    b->setGeometry(where);
    return b;
}

QToolButton* SettingsDialogBase::placePrinterSetupButton(const char* formName, int x, int y, int width)
{
    auto* b = Named(new QToolButton(this), formName);
    b->setText(QStringLiteral("Drucker-Einstellungen"));
    b->setGeometry(x, y, width, 24);
    connect(b, &QToolButton::clicked, this,
            [this] { CurrentPrintExportHooks().setupPrinter(this, ApplicationPrinter()); });
    return b;
}

void SettingsDialogBase::showInteger(QLineEdit* edit, int value)
{
    edit->setText(QString::number(value));
}

void SettingsDialogBase::readIntegerEdit(QLineEdit* edit, int& variable,
                                         const std::function<int(std::string_view)>& rule)
{
    variable = rule(edit->text().toStdString());
    showInteger(edit, variable);
}

void SettingsDialogBase::reportSaveFailure(const std::string& failure)
{
    if (!failure.empty()) {
        CurrentPrintExportHooks().showError(this, QString::fromStdString(failure));
    }
}

void SettingsDialogBase::done(int result)
{
    // Alt+O or Esc close the dialog without the focus leaving the edit, so its exit has not run.
    if (auto* typing = qobject_cast<QLineEdit*>(focusWidget()); typing != nullptr && typing->isModified()) {
        typing->clearFocus();
        if (typing->hasFocus()) {
            return; // refused: the edit took the focus back with its message
        }
    }
    QDialog::done(result);
}

} // namespace kurvex
