// The three buttons of a window's list of fixed objects: insert, delete the last, delete all.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QToolButton;

namespace kurvex {

// Form component names and hints of the three buttons, and the group's caption.
struct FixedObjectNames {
    const char* caption = nullptr; // label name; no label without one
    QString captionText;
    const char* insert = nullptr;
    QString insertHint;
    const char* deleteLast = nullptr;
    QString deleteLastHint;
    const char* clearAll = nullptr;
    QString clearAllHint;
};

// The buttons of a list of fixed graph objects under the names the windows' forms give them.
FixedObjectNames GraphObjectButtonNames();

class FixedObjectButtons : public QWidget {
    Q_OBJECT
public:
    FixedObjectButtons(const FixedObjectNames& names, QWidget* parent);

    QToolButton* insertButton() const { return insert_; }
    QToolButton* deleteLastButton() const { return deleteLast_; }
    QToolButton* clearAllButton() const { return clearAll_; }
    // The delete buttons are enabled exactly while the list holds an object.
    void setListFilled(bool filled);

signals:
    void insertClicked();
    void deleteLastClicked();
    void clearAllClicked();

private:
    QToolButton* insert_ = nullptr;
    QToolButton* deleteLast_ = nullptr;
    QToolButton* clearAll_ = nullptr;
};

} // namespace kurvex
