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
    // Takes a term from elsewhere (an example from the list) into the variable and the edit and
    // compiles it: a wrong term shows its message once and "0" is drawn. No termChanged.
    void setTerm(const std::string& term);
    // The compiled term for drawing: no compilation, no message.
    const TermTree& tree() const { return tree_; }
    void use(TermTree& target = ParsedTerm) const { target = tree_; }
    bool loaded() const { return loaded_; }
    // Whether the last compilation took the text (a wrong term is drawn as "0").
    bool valid() const { return valid_; }
    // Takes a term given by the program (a fetched example, a drawn game term) as if it had been
    // typed and left: shown normalised, compiled (a wrong one reported once, "0" drawn), kept in
    // the variable; the focus stays where it is. False for a wrong or too long term.
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
    bool valid_ = true;
};

} // namespace kurvex
