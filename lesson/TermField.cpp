// A term of a lesson window with its edit.
#include "lesson/TermField.h"

#include "controls/EditRoutines.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "lesson/ControlFactory.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace kurvex {

namespace {

std::string editTerm(const QLineEdit* edit)
{
    std::string text = TermFromDisplay(edit->text());
    if (text.size() > kMaxTermLength) {
        text.resize(kMaxTermLength);
    }
    return text;
}

} // namespace

TermField::TermField(const QString& caption, const char* captionName, const char* editName, std::string& term,
                     QWidget* parent)
    : QWidget(parent), term_(term)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    if (!caption.isEmpty() || captionName != nullptr) {
        caption_ = MakeLabel(QString::fromLatin1(captionName), caption, this);
        row->addWidget(caption_);
    }
    edit_ = MakeTermEdit(QString::fromLatin1(editName), this);
    row->addWidget(edit_, 1);
    edit_->setText(TermToDisplay(term_));
    CompileTerm(tree_, "0", true);
    ConnectEditExit(edit_, this, [this] { onExit(); });
}

void TermField::load()
{
    if (loaded_) {
        return;
    }
    loaded_ = true;
    edit_->setText(TermToDisplay(term_));
    edit_->setModified(false);
    valid_ = CompileTerm(tree_, editTerm(edit_), true);
    if (!valid_) {
        CompileTerm(tree_, "0", true);
    }
}

bool TermField::enter(const std::string& term)
{
    // Taken as leaving the edit takes a typed term, but without moving the focus: the edit may be
    // hidden (a drawn game term). A term the edit cannot hold is reported, never cut.
    const std::string text = PointToComma(NormalizeTerm(term));
    const QString shown = TermToDisplay(text);
    if (shown.size() > edit_->maxLength() || text.size() > kMaxTermLength) {
        ShowTermTooLong(kMaxTermLength);
        return false;
    }
    edit_->setText(shown);
    edit_->setModified(false);
    loaded_ = true;
    valid_ = CompileTerm(tree_, text, true);
    if (!valid_) {
        CompileTerm(tree_, "0", true);
        EvalOk = false;
    }
    term_ = text;
    emit termChanged();
    return valid_;
}

void TermField::setTerm(const std::string& term)
{
    term_ = term.substr(0, kMaxTermLength);
    loaded_ = false;
    load();
}

void TermField::onExit()
{
    // An untouched edit keeps its compiled term, so a wrong term is reported once.
    if (loaded_ && !edit_->isModified()) {
        return;
    }
    const bool compiled = CheckTermEditInto(edit_, tree_);
    if (!compiled && TermTooLong(edit_)) {
        return;
    }
    valid_ = compiled;
    loaded_ = true;
    term_ = editTerm(edit_);
    emit termChanged();
}

} // namespace kurvex
