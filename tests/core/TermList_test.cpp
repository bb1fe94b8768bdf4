// The guess-the-term game's term list: each family from its own section and numbers, defaults for
// what is missing, over-long values refused by name, the shipped list, and the draw.
#include "core/TermList.h"

#include "core/term/Term.h"
#include "support/SharedState.h"
#include "support/TestTempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace kurvex {
namespace {

using test::TempDir;
using test::WriteBytes;

class TermListTest : public ::testing::Test {
protected:
    TermList read(const std::string& bytes) const
    {
        WriteBytes(dir.file("FktListe.txt"), bytes);
        return ReadTermList(dir.file("FktListe.txt"));
    }

    TempDir dir;
};

TEST_F(TermListTest, NoFileGivesEveryFamilyItsDefaultTerm)
{
    const TermList list = ReadTermList(dir.file("FktListe.txt"));
    EXPECT_EQ(list.message, "");
    for (std::size_t f = 0; f < kTermFamilyCount; ++f) {
        SCOPED_TRACE(kTermFamilies[f].section);
        ASSERT_EQ(list.terms[f].size(), static_cast<std::size_t>(kTermFamilies[f].count));
        for (const std::string& term : list.terms[f]) {
            EXPECT_EQ(term, kTermFamilies[f].defaultTerm);
        }
    }
    EXPECT_EQ(list.terms[0].front(), "x");
    EXPECT_EQ(list.terms[9].back(), "abs(x)");
}

TEST_F(TermListTest, EachSectionIsReadOnlyForItsOwnNumbers)
{
    const TermList list = read("[Lineare Funktionen]\r\n"
                               "f1(x)=2x+1\r\n"
                               "f41(x)=3x-7\r\n" // a quadratic number in the linear section
                               "[Quadratische Funktionen]\r\n"
                               "f40(x)=x+40\r\n" // a linear number in the quadratic section
                               "F42(X) = (x-1)^2 \r\n"
                               "[x^(n/m)]\r\n"
                               "f110(x)=x^(7/3)\r\n");
    EXPECT_EQ(list.message, "");
    std::vector<std::string> linear(40, "x");
    linear[0] = "2x+1";
    EXPECT_EQ(list.terms[0], linear);
    std::vector<std::string> quadratic(40, "x^2");
    quadratic[1] = "(x-1)^2"; // keys match without regard to case, blanks around the value go
    EXPECT_EQ(list.terms[1], quadratic);
    EXPECT_EQ(list.terms[3].back(), "x^(7/3)"); // f110(x), the last of x^(n/m)
    EXPECT_EQ(list.terms[3].front(), "x^(1/2)");
}

TEST_F(TermListTest, ValueLongerThanFortyCharactersIsRefusedByNameNotCut)
{
    const std::string forty(40, '1');
    const std::string fifty = "x+" + std::string(48, '2');
    const TermList list = read("[Sonstige]\r\nf201(x)=" + forty + "\r\nf202(x)=" + fifty +
                               "\r\n[log(x)]\r\nf160(x)=" + fifty + "\r\nf159(x)=\r\n");
    EXPECT_EQ(list.terms[9][0], forty);
    EXPECT_EQ(list.terms[9][1], "abs(x)");
    EXPECT_EQ(list.terms[6][9], "ln(x)");
    EXPECT_EQ(list.terms[6][8], "ln(x)"); // an empty value is no term
    EXPECT_NE(list.message.find("länger als 40 Zeichen"), std::string::npos) << list.message;
    EXPECT_NE(list.message.find("[Sonstige] f202(x)"), std::string::npos) << list.message;
    EXPECT_NE(list.message.find("[log(x)] f160(x)"), std::string::npos) << list.message;
    EXPECT_EQ(list.message.find("f201(x)"), std::string::npos) << list.message;
}

TEST_F(TermListTest, TeachersFileWithByteOrderMarkAndRealPiIsRead)
{
    const TermList list = read("\xEF\xBB\xBF[asin(bx+c)+d]\r\nf111(x)=sin(x+\xCF\x80)\r\n");
    EXPECT_EQ(list.terms[4][0], "sin(x+\xF0)"); // π as the term's own byte
    EXPECT_EQ(list.message, "");
}

TEST_F(TermListTest, ShippedListFillsEveryKeyWithATermThatCompiles)
{
    test::SharedStateScope keep;
    std::vector<std::string> messages;
    SetSyntaxErrorHandler([&](int, const std::string& text, int) { messages.push_back(text); });
    const TermList list = ReadTermList(std::string(KURVEX_SOURCE_DIR) + "/resources/data/FktListe.txt");
    EXPECT_EQ(list.message, "");
    for (std::size_t f = 0; f < kTermFamilyCount; ++f) {
        SCOPED_TRACE(kTermFamilies[f].section);
        const std::set<std::string> distinct(list.terms[f].begin(), list.terms[f].end());
        // Every key is there: a family of defaults would hold one term only.
        EXPECT_EQ(distinct.size(), list.terms[f].size());
        for (const std::string& term : list.terms[f]) {
            SCOPED_TRACE(term);
            EXPECT_LE(term.size(), kMaxListTermLength);
            TermTree tree;
            EXPECT_TRUE(CompileTerm(tree, term, true));
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST(TermDraw, EveryIndexOfTheFamilyCanComeAndNoOther)
{
    std::mt19937 generator(12345);
    for (std::size_t count : {1u, 10u, 40u}) {
        SCOPED_TRACE(count);
        std::set<std::size_t> seen;
        for (int i = 0; i < 4000; ++i) {
            const std::size_t index = DrawTermIndex(count, generator);
            ASSERT_LT(index, count);
            seen.insert(index);
        }
        EXPECT_EQ(seen.size(), count);
    }
    EXPECT_EQ(DrawTermIndex(0, generator), 0u);
}

TEST(TermDraw, QuickDrawsFromOneGeneratorDiffer)
{
    // Seeded once: draws in quick succession do not repeat one clock-seeded value.
    std::mt19937 generator(std::random_device{}());
    std::set<std::size_t> drawn;
    for (int i = 0; i < 10; ++i) {
        drawn.insert(DrawTermIndex(40, generator));
    }
    EXPECT_GT(drawn.size(), 1u);
}

} // namespace
} // namespace kurvex
