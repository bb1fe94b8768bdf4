// Example list of a lesson window: its entries and the file in the program folder that keeps them.
#pragma once

#include "platform/TextFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// One example: the line the list shows, and the numbers stored on the lines after it.
struct ExampleEntry {
    std::string text;            // Windows-1252, as term texts are
    std::vector<double> numbers; // as many as the format's numberLines
    bool operator==(const ExampleEntry&) const = default;
};

// What the duplicate test compares.
enum class ExampleKey {
    WholeText,           // the entry's whole text
    TextBeforeSemicolon, // the part before the first ";" (the whole text when there is none)
};

// How one window's example file is laid out and which entries it takes.
struct ExampleFormat {
    // Lines after an entry's text line, each holding one number; 0 for one-line entries.
    std::size_t numberLines = 0;
    ExampleKey key = ExampleKey::WholeText;
    // Entries the add rule accepts at most; 0 for no limit. A longer file is read in full.
    std::size_t maxEntries = 0;
    // Written instead of an empty list.
    std::optional<ExampleEntry> defaultEntry;
};

enum class AddResult {
    Added,
    Duplicate, // an entry with the same key is in the list
    Full,      // the list holds maxEntries entries
    Invalid,   // a line break in the text, an empty one-line entry, or numbers not fitting the format
};

// The key of text under the given rule.
std::string_view ExampleKeyOf(std::string_view text, ExampleKey key);

// A one-line example of a term with a remark, kept as term + ";  " + remark.
struct TermExample {
    std::string term;
    std::string remark;
    bool operator==(const TermExample&) const = default;
};
// The term is the text before the first ";" (a line without one is a term with no remark); the
// remark follows the ";" without the blanks around it.
TermExample SplitTermExample(std::string_view text);
std::string JoinTermExample(std::string_view term, std::string_view remark);

// The entries of one example file. The file is read when the object is made and written by save().
// A file that could not be read completely is never written: the entries read before the fault
// stay in the list, and the user's file keeps every byte.
class ExampleFile {
public:
    ExampleFile(std::string path, ExampleFormat format);

    const std::string& path() const { return path_; }
    const ExampleFormat& format() const { return format_; }
    const std::vector<ExampleEntry>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }
    const ExampleEntry& entry(std::size_t index) const { return entries_.at(index); }

    // True when the file was missing or read to its end without fault.
    bool loadComplete() const { return loadComplete_; }
    // German description of what went wrong when reading, with the line number; empty otherwise.
    const std::string& loadMessage() const { return loadMessage_; }

    // Appends the entry unless a rule refuses it. Its numbers are kept as the file will give them
    // back (15 significant digits).
    AddResult add(ExampleEntry entry);
    // False when index is no entry.
    bool remove(std::size_t index);

    // Writes the entries (or the default entry for an empty list) through a temporary file and a
    // rename. Nothing is written when the load was incomplete or the list is as it was read. When
    // the file changed on disk since it was read (another copy of the program, a hand edit), this
    // list's own additions and deletions are applied to it as it is now, so both changes stay; a
    // file that can no longer be read then is not written. Returns a German description of a
    // failure, else an empty text.
    std::string save();

private:
    void load();
    void failLoad(const std::string& reason);
    std::vector<ExampleEntry> entriesToWrite() const;
    void mergeInto(const ExampleFile& now);

    std::string path_;
    ExampleFormat format_;
    std::vector<ExampleEntry> entries_;
    bool loadComplete_ = true;
    std::string loadMessage_;
    std::string loadFailure_; // loadMessage_ without what it means for closing
    // What the file holds as far as we know, so an unchanged list leaves the file as it is.
    std::vector<ExampleEntry> entriesOnDisk_;
    TextEncoding encoding_ = TextEncoding::Windows1252;
};

} // namespace kurvex
