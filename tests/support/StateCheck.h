// Test helper for the state lists' own tests: the shared variables a header declares, checks that
// the lists cover them, and a check that a scope puts every variable of a list back.
#pragma once

#include "core/Settings.h"
#include "core/term/Term.h"
#include "platform/RecordingCanvas.h"
#include "support/SavedVariables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace kurvex::test {

namespace detail {

// The text without comments and with the insides of string and character literals blanked, so a
// ';' or ',' in them cannot end a declaration.
inline std::string CodeOnly(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n')
                ++i;
            out += '\n';
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string::npos ? text.size() : end + 1;
            out += ' ';
        } else if (c == '"' || c == '\'') {
            out += c;
            for (++i; i < text.size() && text[i] != c; ++i)
                if (text[i] == '\\')
                    ++i;
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

inline bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The last identifier in text ("std::array<int, 4> Name" gives Name).
inline std::string LastIdentifier(const std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && !IsWordChar(text[end - 1]))
        --end;
    std::size_t begin = end;
    while (begin > 0 && IsWordChar(text[begin - 1]))
        --begin;
    return text.substr(begin, end - begin);
}

} // namespace detail

// Names declared by statements that start a line with "inline" and are neither constants
// (constexpr, const) nor functions; "inline double A = 1, B = 2;" gives A and B. Shared variables
// are initialised with '=' or braces, never with parentheses, which would read as a function.
inline std::vector<std::string> InlineVariableNames(const std::filesystem::path& header)
{
    std::ifstream in(header);
    const std::string code =
        detail::CodeOnly({std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    std::vector<std::string> names;
    std::size_t pos = 0;
    while ((pos = code.find("inline", pos)) != std::string::npos) {
        std::size_t lineStart = pos;
        while (lineStart > 0 && (code[lineStart - 1] == ' ' || code[lineStart - 1] == '\t'))
            --lineStart;
        const bool startsLine = lineStart == 0 || code[lineStart - 1] == '\n';
        pos += 6;
        if (!startsLine || (pos < code.size() && detail::IsWordChar(code[pos])))
            continue;
        std::size_t spec = pos;
        while (spec < code.size() && std::isspace(static_cast<unsigned char>(code[spec])))
            ++spec;
        if (code.compare(spec, 9, "constexpr") == 0 || code.compare(spec, 6, "const ") == 0 ||
            code.compare(spec, 9, "namespace") == 0)
            continue;

        // Declarators split at top-level commas; angle brackets count only before an initialiser.
        std::vector<std::string> declarators;
        std::string head; // the current declarator up to its initialiser
        int depth = 0;
        int angles = 0;
        bool inHead = true;
        bool function = false;
        for (; pos < code.size(); ++pos) {
            const char c = code[pos];
            if (inHead && c == '(' && angles == 0) {
                function = true;
                break;
            }
            if (c == '(' || c == '[' || (c == '{' && !(inHead && depth == 0)))
                ++depth;
            else if (c == ')' || c == ']' || c == '}')
                --depth;
            else if (inHead && c == '<')
                ++angles;
            else if (inHead && c == '>')
                --angles;
            if (depth == 0 && angles == 0 && (c == ',' || c == ';')) {
                declarators.push_back(head);
                head.clear();
                inHead = true;
                if (c == ';')
                    break;
                continue;
            }
            if (inHead && depth == 0 && angles == 0 && (c == '=' || c == '{')) {
                inHead = false;
                if (c == '{')
                    ++depth;
            }
            if (inHead)
                head += c;
        }
        if (function)
            continue;
        for (const std::string& d : declarators)
            names.push_back(detail::LastIdentifier(d));
    }
    return names;
}

// Addresses of a list's variables, to compare lists with the settings table and with each other.
template <class... T> std::vector<const void*> Addresses(const std::tuple<T&...>& list)
{
    return std::apply([](const auto&... v) { return std::vector<const void*>{&v...}; }, list);
}

// Every header in the folders (below the source root) declares exactly as many shared variables as its
// list in sizes has, and every listed header exists: a new variable or header cannot go unlisted.
inline void ExpectHeadersListed(std::initializer_list<const char*> folders,
                                const std::map<std::string, std::size_t>& sizes)
{
    const std::filesystem::path source = KURVEX_SOURCE_DIR;
    std::set<std::string> seen;
    for (const char* folder : folders) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(source / folder)) {
            if (entry.path().extension() != ".h")
                continue;
            const std::string header = entry.path().lexically_relative(source).generic_string();
            const std::vector<std::string> names = InlineVariableNames(entry.path());
            std::string joined;
            for (const std::string& n : names)
                joined += n + " ";
            const auto listed = sizes.find(header);
            EXPECT_EQ(names.size(), listed == sizes.end() ? 0u : listed->second)
                << header << " declares: " << joined;
            seen.insert(header);
        }
    }
    for (const auto& entry : sizes)
        EXPECT_TRUE(seen.contains(entry.first)) << entry.first << " has a list but is gone";
}

// Number of variables in a list.
template <auto List> constexpr std::size_t ListSize()
{
    return std::tuple_size_v<decltype(List())>;
}

namespace detail {

template <class T> struct IsStdArray : std::false_type {
};
template <class T, std::size_t N> struct IsStdArray<std::array<T, N>> : std::true_type {
};
template <class T> struct IsStdVector : std::false_type {
};
template <class T> struct IsStdVector<std::vector<T>> : std::true_type {
};

inline TermTree Compiled(const char* text)
{
    TermTree tree;
    CompileTerm(tree, text, true);
    return tree;
}

} // namespace detail

// Gives v a value different from the one it has.
template <class T> void Change(T& v)
{
    static RecordingCanvas canvas;
    if constexpr (std::is_same_v<T, bool>) {
        v = !v;
    } else if constexpr (std::is_enum_v<T>) {
        v = static_cast<T>(static_cast<int>(v) + 1);
    } else if constexpr (std::is_arithmetic_v<T>) {
        v = static_cast<T>(v + 1);
    } else if constexpr (std::is_same_v<T, Canvas*>) {
        v = v == &canvas ? nullptr : &canvas;
    } else if constexpr (std::is_same_v<T, std::string>) {
        v += "?";
    } else if constexpr (std::is_same_v<T, TermTree>) {
        // Compiling sets the parser state, which the list has changed already; "2+3" compiles in
        // every parser mode.
        const auto state =
            std::tuple(AllowVariables, ParseError, SyntaxErrorCode, SyntaxErrorPos, StarCount, EvalOk);
        v = v.empty() ? detail::Compiled("2+3") : TermTree{};
        std::tie(AllowVariables, ParseError, SyntaxErrorCode, SyntaxErrorPos, StarCount, EvalOk) = state;
    } else if constexpr (std::is_same_v<T, IniSettingsRecord>) {
        for (const SettingEntry& e : SettingsTable())
            std::visit([&v](auto field) { Change(v.*field); }, e.field);
    } else if constexpr (detail::IsStdArray<T>::value) {
        Change(v[0]);
    } else if constexpr (detail::IsStdVector<T>::value) {
        v.emplace_back();
    } else {
        static_assert(sizeof(T) == 0, "a shared variable of a type this check cannot change");
    }
}

template <class T> bool Same(const T& a, const T& b)
{
    if constexpr (std::is_same_v<T, TermTree>) {
        return std::equal(a.nodes().begin(), a.nodes().end(), b.nodes().begin(), b.nodes().end(),
                          [](const TermNode& x, const TermNode& y) {
                              return x.Code == y.Code && x.Value == y.Value && x.Left == y.Left &&
                                     x.Right == y.Right;
                          });
    } else if constexpr (std::is_same_v<T, IniSettingsRecord>) {
        return std::all_of(SettingsTable().begin(), SettingsTable().end(), [&](const SettingEntry& e) {
            return std::visit([&](auto field) { return a.*field == b.*field; }, e.field);
        });
    } else {
        return a == b;
    }
}

// Changes every variable of the list inside a Scope and checks that each one is back afterwards.
template <class Scope, auto List> void ExpectEveryVariableRestored(const char* header)
{
    const auto forEachPair = [](const auto& a, const auto& b, auto f) {
        [&]<std::size_t... I>(std::index_sequence<I...>)
        {
            (f(I, std::get<I>(a), std::get<I>(b)), ...);
        }
        (std::make_index_sequence<std::tuple_size_v<std::decay_t<decltype(a)>>>{});
    };
    const typename ValuesOf<decltype(List())>::type before = List();
    {
        const Scope scope;
        std::apply([](auto&... v) { (Change(v), ...); }, List());
        forEachPair(List(), before, [header](std::size_t i, const auto& now, const auto& old) {
            EXPECT_FALSE(Same(now, old)) << header << " #" << i << " did not change";
        });
    }
    forEachPair(List(), before, [header](std::size_t i, const auto& now, const auto& old) {
        EXPECT_TRUE(Same(now, old)) << header << " #" << i << " is not back";
    });
}

} // namespace kurvex::test
