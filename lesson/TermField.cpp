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
    if (!CompileTerm(tree_, editTerm(edit_), true)) {
        CompileTerm(tree_, "0", true);
    }
}

bool TermField::enter(const std::string& term)
{
    const std::string text = PointToComma(NormalizeTerm(term));
    edit_->setText(TermToDisplay(text));
    edit_->setModified(false);
    if (text.size() > kMaxTermLength) {
        // As when such a text is left: reported, and the term drawn so far stays.
        ShowTermTooLong(kMaxTermLength);
        edit_->setModified(true);
        return false;
    }
    loaded_ = true;
    const bool compiled = CompileTerm(tree_, text, true);
    if (!compiled) {
        CompileTerm(tree_, "0", true);
        EvalOk = false;
    }
    term_ = text;
    emit termChanged();
    return compiled;
}

void TermField::onExit()
{
    // An untouched edit keeps its compiled term, so a wrong term is reported once.
    if (loaded_ && !edit_->isModified()) {
        return;
    }
    if (!CheckTermEditInto(edit_, tree_) && TermTooLong(edit_)) {
        return;
    }
    loaded_ = true;
    term_ = editTerm(edit_);
    emit termChanged();
}

} // namespace kurvex
