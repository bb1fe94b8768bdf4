// Example list of a lesson window: its entries and the file in the program folder that keeps them.
#include "core/ExampleFile.h"

#include "core/PointFiles.h"
#include "core/term/Term.h"

#include "platform/IniFile.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

namespace kurvex {

namespace {

const char* const kNotOverwritten = " Die Datei wird beim Schließen nicht überschrieben.";
const char* const kNotSaved = " Die Änderungen der Beispielliste sind nicht gespeichert.";

// An entry text as a UTF-8 file holds it: its term part (before the first ";") with real π and
// Φ, a remark after it with its own letters (a German Ö is the byte of the term's Φ).
std::string lineAsUtf8(const std::string& text)
{
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string::npos) {
        return TermToUtf8(text);
    }
    std::string rest = Cp1252ToUtf8(std::string_view(text).substr(semicolon));
    // A π after the ";" (a second term) is still a π: no German word has an ð.
    for (std::size_t at = rest.find("\xC3\xB0"); at != std::string::npos; at = rest.find("\xC3\xB0", at)) {
        rest.replace(at, 2, "\xCF\x80");
    }
    return TermToUtf8(std::string_view(text).substr(0, semicolon)) + rest;
}

// The line as an entry text, or nothing when it holds a character Windows-1252 has no byte for:
// such a line could not be written back as it was.
std::optional<std::string> entryText(const std::string& utf8Line, TextEncoding encoding)
{
    const bool singleByte = encoding == TextEncoding::Windows1252;
    std::string text = singleByte ? Utf8ToCp1252(utf8Line) : TermFromUtf8(utf8Line);
    if ((singleByte ? Cp1252ToUtf8(text) : lineAsUtf8(text)) != utf8Line) {
        return std::nullopt;
    }
    return text;
}

// Lines count from 1, as an editor shows them.
std::string lineName(std::size_t lineIndex)
{
    return "Zeile " + std::to_string(lineIndex + 1);
}

bool fitsFormat(const ExampleEntry& entry, const ExampleFormat& format)
{
    if (entry.text.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    if (format.numberLines == 0 && entry.text.empty()) {
        return false;
    }
    return entry.numbers.size() == format.numberLines &&
           std::all_of(entry.numbers.begin(), entry.numbers.end(), [](double v) { return std::isfinite(v); });
}

// The entry as the file gives it back: its numbers with the 15 significant digits they are
// written with, which a teacher can still edit by hand ("1,1", not "1,0999999999999996").
ExampleEntry asWritten(ExampleEntry entry)
{
    for (double& value : entry.numbers) {
        value = ParseIniFloat(PointNumberText(value, ',')).value_or(value);
    }
    return entry;
}

bool sameKey(const ExampleEntry& a, const ExampleEntry& b, ExampleKey key)
{
    return ExampleKeyOf(a.text, key) == ExampleKeyOf(b.text, key);
}

// Removes from list the first entry equal to entry; false when there is none.
bool removeOne(std::vector<ExampleEntry>& list, const ExampleEntry& entry)
{
    const auto at = std::find(list.begin(), list.end(), entry);
    if (at == list.end()) {
        return false;
    }
    list.erase(at);
    return true;
}

} // namespace

std::string_view ExampleKeyOf(std::string_view text, ExampleKey key)
{
    if (key == ExampleKey::WholeText) {
        return text;
    }
    return text.substr(0, text.find(';'));
}

TermExample SplitTermExample(std::string_view text)
{
    const std::size_t semicolon = text.find(';');
    if (semicolon == std::string_view::npos) {
        return {std::string(text), {}};
    }
    std::string_view remark = text.substr(semicolon + 1);
    const std::size_t first = remark.find_first_not_of(" \t");
    remark = first == std::string_view::npos ? std::string_view() : remark.substr(first);
    remark = remark.substr(0, remark.find_last_not_of(" \t") + 1);
    return {std::string(text.substr(0, semicolon)), std::string(remark)};
}

std::string JoinTermExample(std::string_view term, std::string_view remark)
{
    return std::string(term) + ";  " + std::string(remark);
}

ExampleFile::ExampleFile(std::string path, ExampleFormat format)
    : path_(std::move(path)), format_(std::move(format))
{
    load();
}

void ExampleFile::load()
{
    // Also a path below a plain file names no file; it reads as empty, as a missing file does.
    std::error_code ec;
    if (std::filesystem::status(path_, ec).type() == std::filesystem::file_type::not_found) {
        return;
    }
    std::string error;
    std::optional<std::vector<std::string>> lines = ReadTextLines(path_, error, encoding_);
    if (!error.empty()) {
        // A read cut short may end inside a line, so nothing of it is taken.
        loadComplete_ = false;
        loadFailure_ = error;
        loadMessage_ = error + kNotOverwritten;
        return;
    }
    if (!lines) {
        return; // a missing file is an empty list
    }

    // Blank lines after the last entry are no entry, also not a cut-off group.
    std::size_t end = lines->size();
    while (end > 0 && (*lines)[end - 1].empty()) {
        --end;
    }
    const std::size_t perEntry = 1 + format_.numberLines;
    for (std::size_t at = 0; at < end; at += perEntry) {
        if (format_.numberLines == 0 && (*lines)[at].empty()) {
            continue; // never written back, so no example
        }
        ExampleEntry entry;
        std::optional<std::string> text = entryText((*lines)[at], encoding_);
        if (!text) {
            failLoad(lineName(at) + " enthält ein Zeichen, das eine Beispielliste nicht speichern kann");
            return;
        }
        entry.text = std::move(*text);
        // An entry is taken with all its numbers or not at all.
        for (std::size_t k = 1; k <= format_.numberLines; ++k) {
            if (at + k >= end) {
                failLoad("nach " + lineName(end - 1) + " endet die Datei mitten in einem Beispiel");
                return;
            }
            const std::optional<double> value = ParseIniFloat((*lines)[at + k]);
            if (!value) {
                failLoad(lineName(at + k) + " ist keine Zahl");
                return;
            }
            entry.numbers.push_back(*value);
        }
        entries_.push_back(std::move(entry));
    }
    entriesOnDisk_ = entries_;
}

void ExampleFile::failLoad(const std::string& reason)
{
    loadComplete_ = false;
    const std::string name = std::filesystem::path(path_).filename().string();
    loadFailure_ = "Die Beispieldatei " + name + " konnte nicht vollständig gelesen werden: " + reason + ".";
    loadMessage_ = loadFailure_ + kNotOverwritten;
}

AddResult ExampleFile::add(ExampleEntry entry)
{
    if (!fitsFormat(entry, format_)) {
        return AddResult::Invalid;
    }
    const std::string_view key = ExampleKeyOf(entry.text, format_.key);
    const bool duplicate = std::any_of(entries_.begin(), entries_.end(), [&](const ExampleEntry& e) {
        return ExampleKeyOf(e.text, format_.key) == key;
    });
    if (duplicate) {
        return AddResult::Duplicate;
    }
    if (format_.maxEntries > 0 && entries_.size() >= format_.maxEntries) {
        return AddResult::Full;
    }
    entries_.push_back(asWritten(std::move(entry)));
    return AddResult::Added;
}

bool ExampleFile::remove(std::size_t index)
{
    if (index >= entries_.size()) {
        return false;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

std::vector<ExampleEntry> ExampleFile::entriesToWrite() const
{
    if (entries_.empty() && format_.defaultEntry) {
        return {*format_.defaultEntry};
    }
    return entries_;
}

void ExampleFile::mergeInto(const ExampleFile& now)
{
    std::vector<ExampleEntry> removed = entriesOnDisk_;
    std::vector<ExampleEntry> added;
    for (const ExampleEntry& entry : entries_) {
        if (!removeOne(removed, entry)) {
            added.push_back(entry);
        }
    }
    std::vector<ExampleEntry> merged = now.entries_;
    for (const ExampleEntry& entry : removed) {
        removeOne(merged, entry);
    }
    for (const ExampleEntry& entry : added) {
        // Both copies may have added the same example.
        if (std::none_of(merged.begin(), merged.end(),
                         [&](const ExampleEntry& e) { return sameKey(e, entry, format_.key); })) {
            merged.push_back(entry);
        }
    }
    entries_ = std::move(merged);
    entriesOnDisk_ = now.entriesOnDisk_;
    encoding_ = now.encoding_;
}

std::string ExampleFile::save()
{
    if (!loadComplete_) {
        return {}; // said when the file was read
    }
    if (entriesToWrite() == entriesOnDisk_) {
        return {};
    }
    // Another copy of the program or a hand edit may have changed the file since it was read: this
    // list's own additions and deletions are applied to the file as it is now.
    const ExampleFile now(path_, format_);
    if (!now.loadComplete_) {
        return "Die Beispieldatei wurde seit dem Öffnen verändert. " + now.loadFailure_ + kNotSaved;
    }
    if (now.entriesOnDisk_ != entriesOnDisk_) {
        mergeInto(now);
    }
    std::vector<ExampleEntry> entries = entriesToWrite();
    std::vector<std::string> lines;
    for (const ExampleEntry& entry : entries) {
        // A list kept as Windows-1252 gets its bytes back as they were; one kept as UTF-8 real letters.
        lines.push_back(encoding_ == TextEncoding::Windows1252 ? Cp1252ToUtf8(entry.text)
                                                               : lineAsUtf8(entry.text));
        for (const double value : entry.numbers) {
            lines.push_back(PointNumberText(value, ','));
        }
    }
    // Written back in the encoding it was read in, so a list kept as UTF-8 stays UTF-8.
    const std::string error = WriteTextLines(path_, lines, encoding_);
    if (!error.empty()) {
        return error + kNotSaved;
    }
    entriesOnDisk_.clear();
    for (ExampleEntry& entry : entries) {
        entriesOnDisk_.push_back(asWritten(std::move(entry)));
    }
    return {};
}

} // namespace kurvex
