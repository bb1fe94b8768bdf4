// Base of the settings dialogs: a fixed tool window "Einstellungen" with its controls at given
// places, and the steps they share (integer edits, the printer setup, a failed save, closing).
#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;
class QRect;
class QToolButton;

namespace kurvex {

class ColorButton;
class MultiLineButton;

// Gives a control its form name, by which it stays traceable and tests find it.
template <class Widget> Widget* Named(Widget* widget, const char* formName)
{
    widget->setObjectName(QString::fromLatin1(formName));
    return widget;
}

// Every control writes its variable at once; only the save buttons write the settings file.
class SettingsDialogBase : public QDialog {
    Q_OBJECT
public:
    SettingsDialogBase(QWidget* owner, QSize size);

    // Every way of closing: a value still being typed is taken first, as leaving its edit would.
    void done(int result) override;

protected:
    // A bold caption with its upper left corner at (x, y).
    QLabel* placeLabel(const QString& text, int x, int y);
    QLineEdit* placeEdit(const char* formName, int x, int y, int width, int maxLength = 0);
    ColorButton* placeColourButton(const char* formName, int x, int y);
    QPushButton* placeButton(const char* formName, const QString& text, const QRect& where);
    MultiLineButton* placeMultiLineButton(const char* formName, const QString& text, const QRect& where);
    // "Drucker-Einstellungen": the printer setup on the application's printer.
    QToolButton* placePrinterSetupButton(const char* formName, int x, int y, int width);

    static void showInteger(QLineEdit* edit, int value);
    // The edit's text through the rule into the variable, and the result shown.
    static void readIntegerEdit(QLineEdit* edit, int& variable,
                                const std::function<int(std::string_view)>& rule);
    // Tells the user what a save could not write; nothing for an empty text.
    void reportSaveFailure(const std::string& failure);
};

} // namespace kurvex
