// Text files the program keeps: reading in their encoding, writing back safely.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kurvex {

// How a text file is stored on disk. A file is written back the way it was read.
enum class TextEncoding {
    Windows1252, // also a new file and a file of plain ASCII
    Utf8,        // without a byte-order mark
    Utf8WithBom,
    Utf16Le, // always with its byte-order mark
    Utf16Be,
};

// No file the program reads as text comes near this size (a settings file, an example list, the
// help text, a term list or a point file); a larger one is refused rather than read for minutes.
inline constexpr std::size_t kMaxTextFileBytes = 4u << 20;

// What reading a text file gave.
struct TextFileContent {
    // The lines as UTF-8; no value when the file is missing (also a path below a plain file).
    std::optional<std::vector<std::string>> lines;
    // How to write the file back: UTF-16 as read; UTF-8 when a UTF-8 BOM or a multi-byte UTF-8
    // sequence occurred; else Windows-1252.
    TextEncoding encoding = TextEncoding::Windows1252;
    // Why an existing file could not be read whole, in German ("keine Leseberechtigung"); empty when
    // it was. Such a file counts as not read completely, and lines is empty.
    std::string cause;
};

// Reads a text file: UTF-16 LE or BE with its byte-order mark; else UTF-8 (a BOM stripped) where
// the bytes are well-formed UTF-8 and Windows-1252 for every other byte. CR LF, LF and CR alone
// end a line. A folder, a FIFO or a device is refused without waiting on it, and so is a file
// larger than kMaxTextFileBytes or one with a NUL or another control character no text holds (UTF-16
// without its mark, UTF-32, no text at all).
TextFileContent ReadTextFile(const std::string& path);

// "Die Datei "path" konnte nicht gelesen werden (cause)."
std::string ReadFailureText(const std::string& path, const std::string& cause);

// ReadTextFile with the failure as one German sentence naming the file (ReadFailureText).
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error);
std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error,
                                                      TextEncoding& encoding);

// Writes the lines with CR LF in the encoding given (a new file: Windows-1252) through
// WriteFileAtomically. Text that Windows-1252 cannot hold is written as UTF-8 instead, so that no
// character becomes "?". Returns an empty text on success, else a German description.
std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                           TextEncoding encoding);
// The same for a text (UTF-8) whose lines already end in CR LF.
std::string WriteText(const std::string& path, std::string text, TextEncoding encoding);

// Writes bytes to path, following symbolic links (also one whose target does not exist yet).
// A file the user may not write is refused and stays as it was. Otherwise a temporary file beside
// the target is renamed over it, keeping the old file's mode and owner; where that cannot be done
// (a folder without write access, an owner the new file cannot be given) the file is written in
// place, with room for it taken first. Returns an empty text on success, else a German description.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace kurvex
