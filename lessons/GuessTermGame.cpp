// The guess-the-term game of the mappings window.
#include "lessons/GuessTermGame.h"

#include "core/Settings.h"
#include "lesson/ControlFactory.h"
#include "lesson/PrintExportHooks.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QToolButton>

#include <chrono>

namespace kurvex {

namespace {

// Button caption and answer text of each family, in the order of kTermFamilies.
struct FamilyText {
    const char* caption;
    const char* label;
};
constexpr std::array<FamilyText, kTermFamilyCount> kFamilyTexts{{
    {"mx+c", "lineare Funktion"},
    {"y = a(x-u) \u00B2+v", "quadratische Funktion"},
    {"x^z", "Potenzfunktion y=x^z"},
    {"x^(a/b)", "x^(a/b)"},
    {"asin(bx+c)+d", "asin(bx+c)+d"},
    {"a^x", "a^x"},
    {" log(x)", "log(x)"},
    {"ganzrational", "ganzrational"},
    {"gebrochenrational", "gebrochenrational"},
    {"Sonstige", "Sonstige"},
}};

std::mt19937 seededGenerator()
{
    std::random_device device;
    const auto now = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seed{device(), device(), now};
    return std::mt19937(seed);
}

QToolButton* textButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(objectName);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return b;
}

} // namespace

GuessTermGame::GuessTermGame(const QLineEdit* termEdit, QWidget* parent)
    : QWidget(parent), termEdit_(termEdit), generator_(seededGenerator())
{
    setObjectName(QStringLiteral("Panel6"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 2, 0, 2);
    grid->setSpacing(2);
    for (std::size_t family = 0; family < kTermFamilyCount; ++family) {
        buttons_[family] = textButton(QString::fromUtf8(kFamilyTexts[family].caption),
                                      QStringLiteral("FamilyButton%1").arg(family + 1), this);
        grid->addWidget(buttons_[family], static_cast<int>(family / 2), static_cast<int>(family % 2));
        connect(buttons_[family], &QToolButton::clicked, this, [this, family] { drawFrom(family); });
    }
    auto* solution = textButton(QStringLiteral("Lösung anzeigen"), QStringLiteral("SolutionButton"), this);
    connect(solution, &QToolButton::clicked, this, &GuessTermGame::showSolution);
    answer_ = MakeTermEdit(QStringLiteral("Edit3"), this);
    answer_->setReadOnly(true);
    answer_->hide();
    grid->addWidget(solution, 5, 0, 1, 2);
    grid->addWidget(answer_, 6, 0, 1, 2);
    // Buttons at the top when the panel is given more room than they need.
    grid->setRowStretch(7, 1);
}

void GuessTermGame::loadTerms()
{
    terms_ = ReadTermList(ProgramDir + kTermListFileName);
    if (!terms_.message.empty()) {
        CurrentPrintExportHooks().showError(window(), QString::fromStdString(terms_.message));
    }
}

void GuessTermGame::drawFrom(std::size_t family)
{
    const std::vector<std::string>& terms = terms_.terms.at(family);
    if (terms.empty()) {
        return;
    }
    emit termDrawn(terms[DrawTermIndex(terms.size(), generator_)]);
    answer_->setText(QString::fromUtf8(kFamilyTexts[family].label));
    answer_->show();
}

void GuessTermGame::showSolution()
{
    answer_->setText(termEdit_->text());
    answer_->show();
}

} // namespace kurvex
