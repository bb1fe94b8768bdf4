// INI files as the program keeps them: case-insensitive names, edits in place, safe writes.
#include "platform/IniFile.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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

// Lower case for ASCII and the Latin-1 letters, enough for the program's German names.
std::u32string foldCase(std::string_view utf8)
{
    std::u32string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = NextCodePoint(utf8, pos);
        if ((cp >= U'A' && cp <= U'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7))
            cp += 0x20;
        out += cp;
    }
    return out;
}

bool sameName(std::string_view a, std::string_view b)
{
    return foldCase(trim(a)) == foldCase(trim(b));
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

std::string reasonText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "keine Schreibberechtigung";
    case EROFS:
        return "schreibgeschütztes Dateisystem";
    case ENOSPC:
    case EDQUOT:
        return "kein Speicherplatz frei";
    case ENOENT:
    case ENOTDIR:
        return "Verzeichnis nicht gefunden";
    case EISDIR:
        return "ein Verzeichnis dieses Namens besteht";
    default:
        return "Fehler " + std::to_string(err);
    }
}

std::string saveFailure(const std::string& path, int err)
{
    return "Die Datei \"" + path + "\" konnte nicht gespeichert werden (" + reasonText(err) + ").";
}

// Decodes file bytes as decided for the program's files: UTF-8 with the BOM stripped, or
// Windows-1252 when the bytes are not valid UTF-8.
std::string decodeFileBytes(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = last ? text.size() : end + 1;
    }
    return lines;
}

// Reads the whole file; no value when it does not exist.
std::optional<std::string> readFileBytes(const std::string& path, std::string& error)
{
    error.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        error = "Die Datei \"" + path + "\" konnte nicht gelesen werden.";
        return std::string();
    }
    std::FILE* f = S_ISREG(st.st_mode) ? std::fopen(path.c_str(), "rb") : nullptr;
    if (!f) {
        error = "Die Datei \"" + path + "\" konnte nicht gelesen werden.";
        return std::string();
    }
    std::string bytes;
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    if (std::ferror(f))
        error = "Die Datei \"" + path + "\" konnte nicht vollständig gelesen werden.";
    std::fclose(f);
    return bytes;
}

// The file a symbolic link points to is the one replaced, so the link survives.
std::string resolvedTarget(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string out(real);
    std::free(real);
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
    if (auto lines = ReadTextLines(path_, readError_))
        lines_ = std::move(*lines);
}

std::optional<IniFile::SectionSpan> IniFile::findSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const ParsedLine p = parseLine(lines_[i]);
        if (p.kind != ParsedLine::Section || !sameName(p.name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && parseLine(lines_[end]).kind != ParsedLine::Section)
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::findKey(const SectionSpan& span, std::string_view key) const
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const ParsedLine p = parseLine(lines_[i]);
        if (p.kind == ParsedLine::Key && sameName(p.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const auto span = findSection(section);
    if (!span)
        return std::nullopt;
    const auto line = findKey(*span, key);
    if (!line)
        return std::nullopt;
    return std::string(parseLine(lines_[*line]).value);
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

namespace {

// The names of the lines [from, to) of the given kind, first occurrences only.
std::vector<std::string> namesOf(const std::vector<std::string>& lines, std::size_t from, std::size_t to,
                                 ParsedLine::Kind kind)
{
    std::vector<std::string> names;
    for (std::size_t i = from; i < to; ++i) {
        const ParsedLine p = parseLine(lines[i]);
        const auto same = [&](const std::string& n) { return sameName(n, p.name); };
        if (p.kind == kind && std::none_of(names.begin(), names.end(), same))
            names.emplace_back(p.name);
    }
    return names;
}

} // namespace

std::vector<std::string> IniFile::sectionNames() const
{
    return namesOf(lines_, 0, lines_.size(), ParsedLine::Section);
}

std::vector<std::string> IniFile::keyNames(std::string_view section) const
{
    const auto span = findSection(section);
    if (!span)
        return {};
    return namesOf(lines_, span->header + 1, span->end, ParsedLine::Key);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string line = oneLine(trim(key)) + "=" + oneLine(value);
    const auto span = findSection(section);
    if (!span) {
        lines_.push_back("[" + oneLine(trim(section)) + "]");
        lines_.push_back(line);
        return;
    }
    if (const auto at = findKey(*span, key)) {
        lines_[*at] = line;
        return;
    }
    // After the section's last non-blank line, so blank lines between sections stay where they are.
    std::size_t insertAt = span->end;
    while (insertAt > span->header + 1 && trim(lines_[insertAt - 1]).empty())
        --insertAt;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
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
        return "Die Datei \"" + path +
               "\" wird nicht überschrieben, weil sie nicht vollständig gelesen werden konnte.";
    return WriteTextLines(path, lines_);
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error)
{
    const std::optional<std::string> bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return splitLines(decodeFileBytes(*bytes));
}

std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += Utf8ToCp1252(line);
        bytes += "\r\n";
    }
    return WriteFileAtomically(path, bytes);
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = resolvedTarget(path);
    mode_t mode = 0666;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        mode = st.st_mode & 07777;

    const std::string temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return saveFailure(path, errno);

    int err = 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && std::rename(temp.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        return saveFailure(path, err);
    }
    return {};
}

} // namespace kurvex
