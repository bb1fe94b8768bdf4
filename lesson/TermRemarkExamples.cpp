// Example list of one-line "term;  remark" entries with the remark edit, bound to a window's term field.
#include "lesson/TermRemarkExamples.h"

#include "controls/EditRoutines.h"
#include "core/ExampleFile.h"
#include "lesson/ControlFactory.h"
#include "lesson/ExampleListPanel.h"
#include "lesson/TermField.h"
#include "platform/TextCodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kurvex {

TermRemarkExamples::TermRemarkExamples(const std::string& fileName, TermField& term,
                                       const char* semicolonName, QWidget* parent)
    : QWidget(parent), term_(term)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* remarkRow = new QHBoxLayout;
    remarkRow->addWidget(MakeLabel(QString::fromLatin1(semicolonName), QStringLiteral(";"), this));
    remark_ = new QLineEdit(this);
    remark_->setObjectName(QStringLiteral("Edit2"));
    remark_->setMaxLength(kRemarkLength);
    remarkRow->addWidget(remark_, 1);
    column->addLayout(remarkRow);

    const ExampleFormat format{0, ExampleKey::TextBeforeSemicolon, 0, std::nullopt};
    panel_ = new ExampleListPanel(fileName, format, this);
    column->addWidget(panel_, 1);

    connect(panel_, &ExampleListPanel::addRequested, this, &TermRemarkExamples::add);
    connect(panel_, &ExampleListPanel::fetchRequested, this, &TermRemarkExamples::fetch);
    connect(panel_, &ExampleListPanel::entryRemoved, this, [this] { term_.edit()->setFocus(); });
}

bool TermRemarkExamples::save()
{
    return panel_->save();
}

void TermRemarkExamples::add()
{
    const std::string term = TermFromDisplay(term_.edit()->text());
    const std::string remark = Utf8ToCp1252(remark_->text().toStdString());
    panel_->add({JoinTermExample(term, remark), {}});
}

void TermRemarkExamples::fetch(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= panel_->examples().size()) {
        return;
    }
    const TermExample example =
        SplitTermExample(panel_->examples().entry(static_cast<std::size_t>(index)).text);
    remark_->setText(QString::fromStdString(Cp1252ToUtf8(example.remark)));
    term_.enter(example.term);
    term_.edit()->setFocus();
}

} // namespace kurvex
