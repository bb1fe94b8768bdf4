// INI files as the program keeps them: case-insensitive names, edits in place, safe writes.
#pragma once

#include "platform/TextFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kurvex {

// An INI document in memory. Names and values are UTF-8 here; on disk the file is read and written
// as ReadTextLines and WriteTextLines (platform/TextFile.h) say.
// Sections and keys match without regard to case, blanks around names and values are ignored,
// the first of duplicate sections or keys wins, and lines the program does not know are kept.
// The sections are indexed once per read, so look-ups do not depend on the file's length.
class IniFile {
public:
    // An empty document that save() writes to path.
    IniFile() = default;
    // Reads the file; a missing file reads as empty.
    explicit IniFile(std::string path);

    const std::string& path() const { return path_; }
    // False when the file exists but could not be read completely; it is then never written.
    bool readOk() const { return readError_.empty(); }
    // German description of the read failure, empty when reading went well.
    const std::string& readError() const { return readError_; }
    // The encoding the file was read in, and will be written in.
    TextEncoding encoding() const { return encoding_; }

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal or "0x" hexadecimal; anything else gives def.
    int readInteger(std::string_view section, std::string_view key, int def) const;
    // Decimal comma or point; anything else, and non-finite values, give def.
    double readFloat(std::string_view section, std::string_view key, double def) const;
    // An integer, non-zero meaning true; anything else gives def.
    bool readBool(std::string_view section, std::string_view key, bool def) const;

    // Section names and the keys of one section, in file order, first occurrences only.
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

    // Updates the key's line in place, or appends it to its section, or appends a new section.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, std::int64_t value);
    void writeFloat(std::string_view section, std::string_view key, double value);
    void writeBool(std::string_view section, std::string_view key, bool value);

    // Writes the document to path() as WriteTextLines does, in the encoding it was read in; a file
    // that was not read completely is not written. Returns an empty text on success, else a German
    // description; the file on disk is then unchanged.
    std::string save() const;
    std::string saveAs(const std::string& path) const;

    // The document's lines (UTF-8, without line ends), valid until the next write.
    const std::vector<std::string>& lines() const;

private:
    // A section: its header line and the lines up to the next header, as read (or appended).
    struct Section {
        std::size_t header;
        std::size_t end; // one past its last line
    };
    // What look-ups and writes know of one section beyond its lines as read. A position counts the
    // section's lines as the document shows them, the header being 0.
    struct SectionDetail {
        std::unordered_map<std::string, std::size_t> keys; // folded key -> position of its first line
        std::size_t insertAt = 0;       // the line of lines_ before which added lines stand
        std::vector<std::string> added; // lines written into the section, in order
    };

    void setLines(std::vector<std::string> lines);
    std::string foldedSectionName(std::size_t section) const;
    void indexSections(std::size_t slots);
    void indexSection(std::size_t section);
    std::optional<std::size_t> findSection(std::string_view section) const;
    SectionDetail& detail(std::size_t section) const;
    std::size_t lineCount(std::size_t section) const;
    const std::string& lineAt(std::size_t section, std::size_t position) const;
    std::string& lineAt(std::size_t section, std::size_t position);
    template <typename Visit> void forEachLine(Visit visit) const;

    std::string path_;
    std::string readError_;
    std::string readCause_; // the reason alone, for the refusal to save
    TextEncoding encoding_ = TextEncoding::Windows1252;
    std::vector<std::string> lines_; // as read, then sections appended by writes
    std::vector<Section> sections_;  // in file order
    // Open addressing over folded section names: (hash, first section of that name + 1), a zero
    // section marking a free slot. No allocation per section, so a file of very many sections
    // indexes quickly.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sectionSlots_;
    std::size_t usedSlots_ = 0;
    mutable std::unordered_map<std::size_t, SectionDetail> details_;
    mutable std::vector<std::string> flatLines_;
    mutable bool flatLinesValid_ = true;
};

// Number text of INI values, independent of the process locale.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);
std::optional<double> ParseIniFloat(std::string_view text);
// Shortest text that reads back to the same double, with a decimal comma.
std::string FormatIniFloat(double value);

} // namespace kurvex
