// INI files as the program keeps them: case-insensitive names, edits in place, safe writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// An INI document in memory. Names and values are UTF-8 here; on disk the file is read as UTF-8
// (or as Windows-1252 when it is not valid UTF-8) and written as Windows-1252 with CR LF.
// Sections and keys match without regard to case, blanks around names and values are ignored,
// the first of duplicate sections or keys wins, and lines the program does not know are kept.
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

    // Writes the document to path() through a temporary file and a rename. Returns an empty text on
    // success, else a German description; the file on disk is then unchanged.
    std::string save() const;
    std::string saveAs(const std::string& path) const;

    // The document's lines (UTF-8, without line ends).
    const std::vector<std::string>& lines() const { return lines_; }

private:
    struct SectionSpan {
        std::size_t header; // index of the section line
        std::size_t end;    // one past its last line
    };
    std::optional<SectionSpan> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const SectionSpan& span, std::string_view key) const;

    std::string path_;
    std::string readError_;
    std::vector<std::string> lines_;
};

// Number text of INI values, independent of the process locale.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);
std::optional<double> ParseIniFloat(std::string_view text);
// Shortest text that reads back to the same double, with a decimal comma.
std::string FormatIniFloat(double value);

// Text files the program keeps: read as UTF-8 (BOM stripped) or Windows-1252, CR LF or LF.
// Returns the lines as UTF-8; no value when the file is missing; sets error when it exists but
// cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error);
// Writes the lines as Windows-1252 with CR LF through a temporary file and a rename. Returns an
// empty text on success, else a German description.
std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Writes bytes through a temporary file beside path and a rename.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kurvex
