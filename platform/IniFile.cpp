// INI files as the program keeps them: case-insensitive names, edits in place, safe writes.
#include "platform/IniFile.h"

#include "platform/TextCodec.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <utility>

namespace kurvex {
namespace {

std::string_view trim(std::string_view s)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The name as look-ups compare it: trimmed, lower case for ASCII and the Latin-1 letters (enough
// for the program's German names).
std::string foldName(std::string_view utf8)
{
    utf8 = trim(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto c = static_cast<unsigned char>(utf8[pos]);
        if (c < 0x80) {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
            ++pos;
            continue;
        }
        char32_t cp = NextCodePoint(utf8, pos);
        if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)
            cp += 0x20;
        AppendUtf8(out, cp);
    }
    return out;
}

std::uint32_t nameHash(std::string_view folded)
{
    const std::size_t h = std::hash<std::string_view>{}(folded);
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

struct ParsedLine {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;
    std::string_view value;
};

ParsedLine parseLine(std::string_view line)
{
    const std::string_view t = trim(line);
    if (t.empty() || t.front() == ';')
        return {};
    if (t.front() == '[') {
        const std::size_t close = t.find(']');
        const std::string_view name = close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1);
        return {ParsedLine::Section, trim(name), {}};
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos || trim(t.substr(0, eq)).empty())
        return {};
    return {ParsedLine::Key, trim(t.substr(0, eq)), trim(t.substr(eq + 1))};
}

// A value or name must stay on its line.
std::string oneLine(std::string_view s)
{
    std::string out(s);
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::uint64_t magnitude = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    if (base == 16) {
        // Hexadecimal covers the full 32 bits, as colour values are often written.
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        return static_cast<std::int32_t>(bits);
    }
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    if (magnitude > static_cast<std::uint64_t>(limit))
        return std::nullopt;
    const auto signedValue = static_cast<std::int64_t>(magnitude);
    return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::optional<double> ParseIniFloat(std::string_view text)
{
    std::string s(trim(text));
    if (!s.empty() && s.front() == '+')
        s.erase(0, 1);
    for (char& c : s) {
        if (c == ',')
            c = '.';
    }
    // from_chars would also take "inf" and "nan"; only plain decimal text is a value here.
    if (s.empty() || s.find_first_not_of("0123456789.-eE+") != std::string::npos)
        return std::nullopt;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatIniFloat(double value)
{
    char buf[64];
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, ec == std::errc() ? ptr : buf);
    for (char& c : s) {
        if (c == '.')
            c = ',';
    }
    return s;
}

IniFile::IniFile(std::string path) : path_(std::move(path))
{
    TextFileContent content = ReadTextFile(path_);
    encoding_ = content.encoding;
    readCause_ = std::move(content.cause);
    if (!readCause_.empty())
        readError_ = ReadFailureText(path_, readCause_);
    if (content.lines)
        setLines(std::move(*content.lines));
}

void IniFile::setLines(std::vector<std::string> lines)
{
    lines_ = std::move(lines);
    sections_.clear();
    details_.clear();
    flatLinesValid_ = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (parseLine(lines_[i]).kind != ParsedLine::Section)
            continue;
        if (!sections_.empty())
            sections_.back().end = i;
        sections_.push_back({i, lines_.size()});
    }
    indexSections(2 * sections_.size());
}

std::string IniFile::foldedSectionName(std::size_t section) const
{
    return foldName(parseLine(lines_[sections_[section].header]).name);
}

// Builds the table anew with at least the given number of slots (a power of two).
void IniFile::indexSections(std::size_t slots)
{
    std::size_t size = 16;
    while (size < slots)
        size *= 2;
    sectionSlots_.assign(size, {0, 0});
    usedSlots_ = 0;
    for (std::size_t s = 0; s < sections_.size(); ++s)
        indexSection(s);
}

// Enters the section unless an earlier one has its name.
void IniFile::indexSection(std::size_t section)
{
    if (2 * (usedSlots_ + 1) > sectionSlots_.size()) {
        indexSections(2 * sectionSlots_.size());
        return;
    }
    const std::string name = foldedSectionName(section);
    const std::uint32_t hash = nameHash(name);
    const std::size_t mask = sectionSlots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        auto& [slotHash, slotSection] = sectionSlots_[i];
        if (slotSection == 0) {
            slotHash = hash;
            slotSection = static_cast<std::uint32_t>(section + 1);
            ++usedSlots_;
            return;
        }
        if (slotHash == hash && foldedSectionName(slotSection - 1) == name)
            return;
    }
}

std::optional<std::size_t> IniFile::findSection(std::string_view section) const
{
    if (sectionSlots_.empty())
        return std::nullopt;
    const std::string name = foldName(section);
    const std::uint32_t hash = nameHash(name);
    const std::size_t mask = sectionSlots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const auto [slotHash, slotSection] = sectionSlots_[i];
        if (slotSection == 0)
            return std::nullopt;
        if (slotHash == hash && foldedSectionName(slotSection - 1) == name)
            return slotSection - 1;
    }
}

IniFile::SectionDetail& IniFile::detail(std::size_t section) const
{
    const auto [it, added] = details_.try_emplace(section);
    SectionDetail& d = it->second;
    if (added) {
        const Section& s = sections_[section];
        // Added lines go after the last non-blank line, so blank lines between sections stay where
        // they are; no key line follows that place.
        d.insertAt = s.end;
        while (d.insertAt > s.header + 1 && trim(lines_[d.insertAt - 1]).empty())
            --d.insertAt;
        for (std::size_t i = s.header + 1; i < d.insertAt; ++i) {
            const ParsedLine p = parseLine(lines_[i]);
            if (p.kind == ParsedLine::Key)
                d.keys.try_emplace(foldName(p.name), i - s.header);
        }
    }
    return d;
}

std::size_t IniFile::lineCount(std::size_t section) const
{
    const Section& s = sections_[section];
    const auto it = details_.find(section);
    return s.end - s.header + (it == details_.end() ? 0 : it->second.added.size());
}

const std::string& IniFile::lineAt(std::size_t section, std::size_t position) const
{
    const Section& s = sections_[section];
    const auto it = details_.find(section);
    if (it == details_.end())
        return lines_[s.header + position];
    const SectionDetail& d = it->second;
    const std::size_t before = d.insertAt - s.header;
    if (position < before)
        return lines_[s.header + position];
    if (position < before + d.added.size())
        return d.added[position - before];
    return lines_[s.header + position - d.added.size()];
}

std::string& IniFile::lineAt(std::size_t section, std::size_t position)
{
    return const_cast<std::string&>(std::as_const(*this).lineAt(section, position));
}

template <typename Visit> void IniFile::forEachLine(Visit visit) const
{
    const std::size_t firstHeader = sections_.empty() ? lines_.size() : sections_.front().header;
    for (std::size_t i = 0; i < firstHeader; ++i)
        visit(lines_[i]);
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const std::size_t count = lineCount(s);
        for (std::size_t position = 0; position < count; ++position)
            visit(lineAt(s, position));
    }
}

const std::vector<std::string>& IniFile::lines() const
{
    if (!flatLinesValid_) {
        flatLines_.clear();
        forEachLine([this](const std::string& line) { flatLines_.push_back(line); });
        flatLinesValid_ = true;
    }
    return flatLines_;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto s = findSection(section);
    if (!s)
        return std::nullopt;
    const SectionDetail& d = detail(*s);
    const auto it = d.keys.find(foldName(key));
    if (it == d.keys.end())
        return std::nullopt;
    return std::string(parseLine(lineAt(*s, it->second)).value);
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const
{
    return value(section, key).has_value();
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view def) const
{
    const auto v = value(section, key);
    return v ? *v : std::string(def);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    return ParseIniInteger(*v).value_or(def);
}

double IniFile::readFloat(std::string_view section, std::string_view key, double def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    return ParseIniFloat(*v).value_or(def);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    const auto i = ParseIniInteger(*v);
    return i ? *i != 0 : def;
}

std::vector<std::string> IniFile::sectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        const std::string_view name = parseLine(lines_[sections_[s].header]).name;
        if (findSection(name) == s)
            names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const
{
    const auto s = findSection(section);
    if (!s)
        return {};
    const SectionDetail& d = detail(*s);
    std::vector<std::string> names;
    const std::size_t count = lineCount(*s);
    for (std::size_t position = 1; position < count; ++position) {
        const ParsedLine p = parseLine(lineAt(*s, position));
        if (p.kind != ParsedLine::Key)
            continue;
        const auto it = d.keys.find(foldName(p.name));
        if (it != d.keys.end() && it->second == position)
            names.emplace_back(p.name);
    }
    return names;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string line = oneLine(trim(key)) + "=" + oneLine(value);
    const ParsedLine parsed = parseLine(line);
    flatLinesValid_ = false;
    if (const auto s = findSection(section)) {
        SectionDetail& d = detail(*s);
        if (const auto it = d.keys.find(foldName(key)); it != d.keys.end()) {
            lineAt(*s, it->second) = line;
        } else {
            d.added.push_back(line);
            if (parsed.kind == ParsedLine::Key)
                d.keys.try_emplace(foldName(parsed.name),
                                   d.insertAt - sections_[*s].header + d.added.size() - 1);
        }
    } else {
        lines_.push_back("[" + oneLine(trim(section)) + "]");
        lines_.push_back(line);
        sections_.push_back({lines_.size() - 2, lines_.size()});
        indexSection(sections_.size() - 1);
    }
    // A line that does not read back as this key (a name with "[" or "=" or a line break in it)
    // changes what the lines mean: read them anew, as the next read of the file will.
    if (parsed.kind != ParsedLine::Key || foldName(parsed.name) != foldName(key))
        setLines(std::vector<std::string>(lines()));
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int64_t value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeFloat(std::string_view section, std::string_view key, double value)
{
    writeString(section, key, FormatIniFloat(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value)
{
    writeString(section, key, value ? "1" : "0");
}

std::string IniFile::save() const
{
    return saveAs(path_);
}

std::string IniFile::saveAs(const std::string& path) const
{
    if (!readOk() && path == path_)
        return "Die Datei \"" + path + "\" wird nicht überschrieben, weil sie nicht gelesen werden konnte (" +
               readCause_ + ").";
    std::string text;
    forEachLine([&text](const std::string& line) {
        text += line;
        text += "\r\n";
    });
    return WriteText(path, std::move(text), encoding_);
}

} // namespace kurvex
