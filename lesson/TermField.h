// A term of a lesson window with its edit: it keeps its own compiled term, compiles when its text
// was changed and left, reports a wrong term once, and hands the term to the drawing silently.
#pragma once

#include "core/term/Term.h"

#include <QString>
#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;

namespace kurvex {

class TermField : public QWidget {
    Q_OBJECT
public:
    // caption may be empty (no label); term is the shared variable the edit shows and keeps.
    TermField(const QString& caption, const char* captionName, const char* editName, std::string& term,
              QWidget* parent);

    QLabel* captionLabel() const { return caption_; }
    QLineEdit* edit() const { return edit_; }

    // Shows the variable's term and compiles it, unless that happened before; a wrong term shows
    // its message here, once, and "0" is drawn instead.
    void load();
    // The compiled term for drawing: no compilation, no message.
    const TermTree& tree() const { return tree_; }
    void use(TermTree& target = ParsedTerm) const { target = tree_; }
    bool loaded() const { return loaded_; }
    // Takes a term given by the program (a drawn or fetched one) as if it had been typed and left:
    // shown normalised, compiled (a wrong one reported once, "0" drawn) and kept in the variable.
    // Unlike leaving the edit it never moves the focus, so an edit hidden meanwhile stays unfocused.
    // Returns whether the term compiled; termChanged follows.
    bool enter(const std::string& term);

signals:
    // A changed text was left and compiled (a wrong one as "0", with its message).
    void termChanged();

private:
    void onExit();

    std::string& term_;
    QLabel* caption_ = nullptr;
    QLineEdit* edit_ = nullptr;
    TermTree tree_;
    bool loaded_ = false;
};

} // namespace kurvex
