// The guess-the-term game of the mappings window (Panel6): a family button draws a hidden term of
// its family from "FktListe.txt"; the answer field names the family until the solution is asked for.
#pragma once

#include "core/TermList.h"

#include <QWidget>

#include <array>
#include <random>
#include <string>

class QLineEdit;
class QToolButton;

namespace kurvex {

class GuessTermGame : public QWidget {
    Q_OBJECT
public:
    // termEdit is the window's term edit, whose text "Lösung anzeigen" reveals.
    GuessTermGame(const QLineEdit* termEdit, QWidget* parent);

    // Reads the program folder's term list again, so a teacher's change counts at once; what could
    // not be taken from it is reported once.
    void loadTerms();
    const TermList& terms() const { return terms_; }
    QLineEdit* answerField() const { return answer_; }
    QToolButton* familyButton(std::size_t family) const { return buttons_.at(family); }

signals:
    // A family button drew this term (a Windows-1252 term text); the window takes it into its edit.
    void termDrawn(const std::string& term);

private:
    void drawFrom(std::size_t family);
    void showSolution();

    const QLineEdit* termEdit_;
    TermList terms_;
    // Seeded once: clicks in quick succession still draw independently.
    std::mt19937 generator_;
    std::array<QToolButton*, kTermFamilyCount> buttons_{};
    QLineEdit* answer_ = nullptr;
};

} // namespace kurvex
