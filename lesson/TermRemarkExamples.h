// Example list of one-line "term;  remark" entries with the remark edit, bound to a window's term field.
#pragma once

#include <QWidget>

#include <string>

class QLineEdit;

namespace kurvex {

class ExampleListPanel;
class TermField;

// The remark edit "Edit2" after a ";" and the example list of fileName below it. "In Liste
// übernehmen" adds the term field's text with the remark unless the term is in the list already;
// fetching puts term and remark back and takes the term as leaving its edit would (the window
// redraws on the field's termChanged). The focus returns to the term edit afterwards.
class TermRemarkExamples : public QWidget {
    Q_OBJECT
public:
    TermRemarkExamples(const std::string& fileName, TermField& term, const char* semicolonName,
                       QWidget* parent);

    QLineEdit* remarkEdit() const { return remark_; }
    ExampleListPanel* panel() const { return panel_; }
    // Writes the list back; call it when the window closes.
    bool save();

    // Characters the remark edit takes.
    static constexpr int kRemarkLength = 100;

private:
    void add();
    void fetch(int index);

    TermField& term_;
    QLineEdit* remark_ = nullptr;
    ExampleListPanel* panel_ = nullptr;
};

} // namespace kurvex
