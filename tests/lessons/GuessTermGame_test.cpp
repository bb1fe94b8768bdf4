// Tests of the guess-the-term game in the mappings window: the panels it swaps, a draw from each
// family of the shipped list, defaults without a list, quick draws, a refused or wrong term.
#include "lessons/GuessTermGame.h"

#include "app/SettingsDialog.h"
#include "controls/BitCheckBox.h"
#include "controls/EditRoutines.h"
#include "core/NumberText.h"
#include "core/Settings.h"
#include "core/TermList.h"
#include "lesson/PrintExportHooks.h"
#include "lessons/MappingsWindow.h"
#include "support/WindowsState.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

namespace kurvex {
namespace {

class GuessTermGameTest : public test::ProgramWindowFixture {
protected:
    void SetUp() override
    {
        InstallApplicationDialogs();
        PrintExportHooks hooks;
        hooks.showError = [this](QWidget*, const QString& m) { errors.push_back(m.toStdString()); };
        scoped = std::make_unique<ScopedPrintExportHooks>(hooks);
    }
    void TearDown() override { window.reset(); }

    void open()
    {
        TermCovariation = "x^2";
        window = std::make_unique<MappingsWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void shipList()
    {
        QFile shipped(QStringLiteral(KURVEX_SOURCE_DIR "/resources/data/FktListe.txt"));
        ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
        writeProgramFile(QStringLiteral("FktListe.txt"), shipped.readAll().toStdString());
    }
    void toggleGame() const { test::clickBox(test::child<BitCheckBox>(window.get(), "BitCheckBox4")); }
    QLineEdit* termEdit() const { return test::child<QLineEdit>(window.get(), "Edit1"); }
    QLineEdit* answer() const { return test::child<QLineEdit>(window.get(), "Edit3"); }
    void draw(std::size_t family) const { window->game().familyButton(family)->click(); }

    std::unique_ptr<MappingsWindow> window;
    std::unique_ptr<ScopedPrintExportHooks> scoped;
    std::vector<std::string> errors;
};

TEST_F(GuessTermGameTest, GameTakesThePlaceOfTheTermPanelAndGivesItBack)
{
    open();
    QWidget* termPanel = test::child<QWidget>(window.get(), "Panel5");
    QWidget* gamePanel = test::child<QWidget>(window.get(), "Panel6");
    toggleGame();
    EXPECT_FALSE(termPanel->isVisible());
    EXPECT_TRUE(gamePanel->isVisible());
    EXPECT_FALSE(answer()->isVisible()); // hidden until a family is chosen
    const char* captions[] = {
        "mx+c",         "y = a(x-u) \u00B2+v", "x^z",     "x^(a/b)", "asin(bx+c)+d", "a^x", " log(x)",
        "ganzrational", "gebrochenrational",   "Sonstige"};
    for (std::size_t f = 0; f < kTermFamilyCount; ++f) {
        EXPECT_EQ(window->game().familyButton(f)->text(), QString::fromUtf8(captions[f])) << f;
    }
    draw(0);
    toggleGame();
    EXPECT_TRUE(termPanel->isVisible());
    EXPECT_FALSE(gamePanel->isVisible());
    EXPECT_EQ(TermToDisplay(TermCovariation), termEdit()->text()); // the drawn term, shown now
}

TEST_F(GuessTermGameTest, EachFamilyDrawsFromItsOwnTermsAndHidesThem)
{
    shipList();
    open();
    toggleGame();
    const char* labels[] = {
        "lineare Funktion", "quadratische Funktion", "Potenzfunktion y=x^z", "x^(a/b)", "asin(bx+c)+d", "a^x",
        "log(x)",           "ganzrational",          "gebrochenrational",    "Sonstige"};
    for (std::size_t f = 0; f < kTermFamilyCount; ++f) {
        SCOPED_TRACE(kTermFamilies[f].section);
        draw(f);
        EXPECT_TRUE(answer()->isVisible());
        EXPECT_EQ(answer()->text(), QString::fromUtf8(labels[f]));
        const std::vector<std::string>& terms = window->game().terms().terms[f];
        const bool fromFamily = std::any_of(terms.begin(), terms.end(), [&](const std::string& t) {
            return TermToDisplay(PointToComma(NormalizeTerm(t))) == termEdit()->text();
        });
        EXPECT_TRUE(fromFamily) << termEdit()->text().toStdString();
        EXPECT_EQ(TermToDisplay(TermCovariation), termEdit()->text());

        test::child<QToolButton>(window.get(), "SolutionButton")->click();
        EXPECT_EQ(answer()->text(), termEdit()->text());
    }
    EXPECT_TRUE(syntaxMessages.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(GuessTermGameTest, WithoutAListEveryDrawGivesTheFamilysDefault)
{
    open();
    toggleGame();
    draw(0);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("x"));
    draw(9);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("abs(x)"));
    draw(7);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("1/3x^3-x"));
    EXPECT_TRUE(errors.empty());
}

TEST_F(GuessTermGameTest, ListIsReadAgainAtEveryClickOfTheGameBox)
{
    open();
    toggleGame();
    draw(6);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("ln(x)"));
    std::string file = "[log(x)]\r\n";
    for (int n = 151; n <= 160; ++n) {
        file += TermListKey(n) + "=lg(x)\r\n";
    }
    writeProgramFile(QStringLiteral("FktListe.txt"), file);
    toggleGame();
    toggleGame();
    draw(6);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("lg(x)"));
}

TEST_F(GuessTermGameTest, QuickDrawsDiffer)
{
    shipList();
    open();
    toggleGame();
    std::set<QString> drawn;
    for (int i = 0; i < 20; ++i) {
        draw(9);
        drawn.insert(termEdit()->text());
    }
    EXPECT_GT(drawn.size(), 1u);
}

TEST_F(GuessTermGameTest, OverLongOrWrongTermsAreRefusedByNameWhenTheListIsRead)
{
    std::string file = "[Lineare Funktionen]\r\n";
    for (int n = 1; n <= 40; ++n) {
        file += TermListKey(n) + "=2*(x+\r\n";
    }
    file += "[Sonstige]\r\nf201(x)=x+" + std::string(45, '1') + "\r\n";
    writeProgramFile(QStringLiteral("FktListe.txt"), file);
    open();
    toggleGame();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("[Sonstige] f201(x)"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("FktListe.txt\" sind fehlerhaft"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("[Lineare Funktionen] f10(x)=2*(x+ (unvollständig)"), std::string::npos)
        << errors[0];
    // The first ten name the fault; the rest are counted, so the box stays on the screen.
    EXPECT_EQ(errors[0].find("f11(x)"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("… und 30 weitere (40 insgesamt)"), std::string::npos) << errors[0];
    EXPECT_EQ(window->game().terms().terms[9][0], "abs(x)");

    draw(0);
    EXPECT_EQ(termEdit()->text(), QStringLiteral("x"));
    EXPECT_TRUE(syntaxMessages.empty());
    EXPECT_EQ(answer()->text(), QStringLiteral("lineare Funktion"));
}

TEST_F(GuessTermGameTest, AWrongDrawnTermNeverTakesTheFocus)
{
    open();
    toggleGame();
    QWidget* const focusBefore = QApplication::focusWidget();
    emit window->game().termDrawn("2*(x+");
    EXPECT_EQ(syntaxMessages.size(), 1u);
    EXPECT_FALSE(termEdit()->isVisible());
    EXPECT_NE(QApplication::focusWidget(), termEdit());
    EXPECT_EQ(QApplication::focusWidget(), focusBefore);
}

} // namespace
} // namespace kurvex
