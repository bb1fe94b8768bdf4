// Test helper: the names of the shared variables a header declares, and the addresses of a list.
#pragma once

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
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

} // namespace kurvex::test
