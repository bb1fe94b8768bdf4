// The term list of the guess-the-term game: "FktListe.txt" read into ten families of terms.
#pragma once

#include <array>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace kurvex {

// One family: its section of the file, the numbers n of its keys "f<n>(x)" (the numbering runs on
// across the sections) and the term an absent key gives.
struct TermFamily {
    const char* section;
    int firstNumber;
    int count;
    const char* defaultTerm;
};

inline constexpr std::size_t kTermFamilyCount = 10;
inline constexpr std::array<TermFamily, kTermFamilyCount> kTermFamilies{{
    {"Lineare Funktionen", 1, 40, "x"},
    {"Quadratische Funktionen", 41, 40, "x^2"},
    {"Potenzfunktionen", 81, 10, "x^3"},
    {"x^(n/m)", 91, 20, "x^(1/2)"},
    {"asin(bx+c)+d", 111, 30, "sin(x)"},
    {"a^x", 141, 10, "e^x"},
    {"log(x)", 151, 10, "ln(x)"},
    {"ganzrational", 161, 20, "1/3x^3-x"},
    {"gebrochenrational", 181, 20, "1/(x-1)"},
    {"Sonstige", 201, 40, "abs(x)"},
}};

inline constexpr const char* kTermListFileName = "FktListe.txt";
// A value longer than this is refused rather than cut into another term.
inline constexpr std::size_t kMaxListTermLength = 40;
// The message names this many refused keys and counts the rest.
inline constexpr std::size_t kListedRefusals = 10;

// "f" + number + "(x)".
std::string TermListKey(int number);

struct TermList {
    // Per family, its terms in key order (Windows-1252 term texts, as the edits keep them).
    std::array<std::vector<std::string>, kTermFamilyCount> terms;
    // German (UTF-8): why the file could not be read, and which keys were refused and why; empty
    // when every value present was taken.
    std::string message;
};

// Reads every family's keys from its own section only; an absent or empty key, a missing file, a
// value longer than kMaxListTermLength characters and a term that does not compile give the
// family's default term, and the message names the file and each key refused with its cause.
TermList ReadTermList(const std::string& path);

// An index from 0 to count - 1, each equally likely (0 when count is 0).
std::size_t DrawTermIndex(std::size_t count, std::mt19937& generator);

} // namespace kurvex
