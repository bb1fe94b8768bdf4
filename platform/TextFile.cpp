// Text files the program keeps: reading in their encoding, writing back safely.
#include "platform/TextFile.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kurvex {
namespace {

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
    case EFBIG:
        return "Datei zu groß";
    case ENOENT:
    case ENOTDIR:
        return "Verzeichnis nicht gefunden";
    case EISDIR:
        return "ein Verzeichnis dieses Namens besteht";
    case ELOOP:
        return "zu viele symbolische Verknüpfungen";
    default:
        return "Fehler " + std::to_string(err);
    }
}

std::string saveFailure(const std::string& path, const std::string& reason)
{
    return "Die Datei \"" + path + "\" konnte nicht gespeichert werden (" + reason + ").";
}

std::string saveFailure(const std::string& path, int err)
{
    return saveFailure(path, reasonText(err));
}

struct DecodedText {
    std::optional<std::string> text; // no value when the bytes cannot be decoded
    TextEncoding encoding = TextEncoding::Windows1252;
};

// A character no text file holds: NUL and the other C0 controls but the tabs, the line ends, form
// feed and the end-of-file mark old editors left behind.
bool controlCharacter(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && u != 0x1A;
}

// Decodes file bytes as decided for the program's files (see ReadTextFile).
DecodedText decodeFileBytes(std::string_view bytes)
{
    DecodedText d;
    if (bytes.starts_with("\xFF\xFE")) {
        d.encoding = TextEncoding::Utf16Le;
        d.text = Utf16ToUtf8(bytes.substr(2), false);
    } else if (bytes.starts_with("\xFE\xFF")) {
        d.encoding = TextEncoding::Utf16Be;
        d.text = Utf16ToUtf8(bytes.substr(2), true);
    } else {
        const bool bom = bytes.starts_with("\xEF\xBB\xBF");
        if (bom)
            bytes.remove_prefix(3);
        bool multiByteUtf8 = false;
        d.text = Utf8OrCp1252ToUtf8(bytes, multiByteUtf8);
        d.encoding = bom             ? TextEncoding::Utf8WithBom
                     : multiByteUtf8 ? TextEncoding::Utf8
                                     : TextEncoding::Windows1252;
    }
    // Such bytes are UTF-16 without its mark, UTF-32 or no text at all.
    if (d.text && std::any_of(d.text->begin(), d.text->end(), controlCharacter))
        d.text.reset();
    return d;
}

// CR LF, LF and CR alone each end a line; a line end at the very end starts no further line.
// Found by LF first and then by a CR within the line, both with memchr, so that the common CR LF
// and LF files are split as fast as before CR alone was taken.
std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t lf = 0; // the next LF at or after start; searched again only when passed
    bool lfKnown = false;
    while (start < text.size()) {
        if (!lfKnown || lf < start) {
            lf = std::min(text.find('\n', start), text.size());
            lfKnown = true;
        }
        const std::size_t cr = text.substr(start, lf - start).find('\r');
        if (cr != std::string_view::npos && start + cr + 1 < lf) {
            // A CR alone inside what LF would take for one line.
            lines.emplace_back(text.substr(start, cr));
            start += cr + 1;
            continue;
        }
        lines.emplace_back(text.substr(start, cr == std::string_view::npos ? lf - start : cr));
        start = lf + 1;
    }
    return lines;
}

// The text in the given encoding. Windows-1252 that cannot hold the text becomes UTF-8, which
// ReadTextLines recognises by its multi-byte sequences.
std::string encodeText(std::string text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Windows1252:
        return FitsCp1252(text) ? Utf8ToCp1252(text) : text;
    case TextEncoding::Utf8:
        return text;
    case TextEncoding::Utf8WithBom:
        return "\xEF\xBB\xBF" + text;
    case TextEncoding::Utf16Le:
        return "\xFF\xFE" + Utf8ToUtf16(text, false);
    case TextEncoding::Utf16Be:
        return "\xFE\xFF" + Utf8ToUtf16(text, true);
    }
    return text;
}

void appendLine(std::string& text, std::string_view line)
{
    text += line;
    text += "\r\n";
}

std::string readReasonText(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return "keine Leseberechtigung";
    case EISDIR:
        return "ein Verzeichnis, keine Datei";
    case ELOOP:
        return "zu viele symbolische Verknüpfungen";
    case EIO:
        return "Lesefehler des Datenträgers";
    default:
        return "Fehler " + std::to_string(err);
    }
}

std::string megabytes(std::size_t bytes)
{
    return std::to_string(bytes >> 20) + " MB";
}

struct FileBytes {
    std::optional<std::string> bytes; // no value when the file does not exist
    std::string cause;                // why an existing file could not be read whole
};

// Reads the whole file. Opened without waiting, so a FIFO never blocks the program.
FileBytes readFileBytes(const std::string& path)
{
    FileBytes result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            result.bytes.emplace();
            result.cause = readReasonText(errno);
        }
        return result;
    }
    result.bytes.emplace();
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.cause = readReasonText(errno);
    } else if (S_ISDIR(st.st_mode)) {
        result.cause = readReasonText(EISDIR);
    } else if (!S_ISREG(st.st_mode)) {
        result.cause = "keine gewöhnliche Datei";
    } else if (static_cast<std::size_t>(st.st_size) > kMaxTextFileBytes) {
        result.cause = "größer als " + megabytes(kMaxTextFileBytes);
    }
    if (!result.cause.empty()) {
        ::close(fd);
        return result;
    }
    std::string& bytes = *result.bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.cause = readReasonText(errno);
            break;
        }
        if (n == 0)
            break;
        bytes.append(buf, static_cast<std::size_t>(n));
        // A file that grows while it is read is still held to the limit.
        if (bytes.size() > kMaxTextFileBytes) {
            result.cause = "größer als " + megabytes(kMaxTextFileBytes);
            break;
        }
    }
    ::close(fd);
    if (!result.cause.empty())
        bytes.clear();
    return result;
}

// The file a path names after following symbolic links, also a last one whose target does not
// exist yet, so that a save writes the target and the link stays a link. Sets err on a loop.
std::string followLinks(const std::string& path, int& err)
{
    constexpr int kMaxLinks = 40; // as the kernel's own limit
    std::string current = path;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) {
            err = errno;
            return {};
        }
        target.resize(static_cast<std::size_t>(n));
        if (!target.starts_with('/')) {
            const std::size_t slash = current.rfind('/');
            target = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
        }
        current = std::move(target);
    }
    err = ELOOP;
    return {};
}

bool isPermissionError(int err)
{
    return err == EACCES || err == EPERM;
}

int writeAll(int fd, std::string_view bytes, off_t offset)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, offset + static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

struct ReplaceResult {
    int err = 0;
    bool inPlaceInstead = false; // the file could not be replaced, but may be written in place
};

// Writes a temporary file beside target and renames it over target. old is the existing file,
// whose mode and owner the new one receives.
ReplaceResult replaceThroughTemporary(const std::string& target, std::string_view bytes,
                                      const struct stat* old)
{
    static std::atomic<unsigned> counter{0};
    const std::string temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const mode_t mode = old ? old->st_mode & 07777 : 0666;
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        const int err = errno;
        return {err, old && isPermissionError(err)};
    }
    const auto fail = [&](int err, bool inPlaceInstead, bool open) {
        if (open)
            ::close(fd);
        ::unlink(temp.c_str());
        return ReplaceResult{err, inPlaceInstead};
    };
    if (old) {
        struct stat made {};
        if (::fstat(fd, &made) != 0)
            return fail(errno, false, true);
        // A file that would change its owner is written in place instead.
        if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0)
            return fail(errno, isPermissionError(errno), true);
        // open() applied the umask; the old file's mode is kept whole.
        if (::fchmod(fd, mode) != 0)
            return fail(errno, false, true);
    }
    int err = writeAll(fd, bytes, 0);
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (err != 0)
        return fail(err, false, true);
    if (::close(fd) != 0)
        return fail(errno, false, false);
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        return fail(errno, old && isPermissionError(errno), false);
    return {};
}

// Writes target in place. Room for the new text is taken first, so that a full disk or a
// file-size limit stops the save before the old text is touched.
int writeInPlace(const std::string& target, std::string_view bytes)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return err;
    }
    const auto oldSize = st.st_size;
    const auto newSize = static_cast<off_t>(bytes.size());
    int err = 0;
    if (newSize > oldSize) {
        err = ::posix_fallocate(fd, oldSize, newSize - oldSize);
        if (err == EOPNOTSUPP || err == EINVAL)
            err = ::ftruncate(fd, newSize) == 0 ? 0 : errno;
        if (err != 0) {
            [[maybe_unused]] const int ignored = ::ftruncate(fd, oldSize);
            ::close(fd);
            return err;
        }
    }
    err = writeAll(fd, bytes, 0);
    if (err == 0 && ::ftruncate(fd, newSize) != 0)
        err = errno;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err;
}

} // namespace

TextFileContent ReadTextFile(const std::string& path)
{
    TextFileContent content;
    FileBytes file = readFileBytes(path);
    if (!file.bytes)
        return content;
    content.lines.emplace();
    if (!file.cause.empty()) {
        content.cause = std::move(file.cause);
        return content;
    }
    const DecodedText decoded = decodeFileBytes(*file.bytes);
    content.encoding = decoded.encoding;
    if (!decoded.text) {
        content.cause = "keine Textdatei oder unbekannte Zeichenkodierung";
        return content;
    }
    *content.lines = splitLines(*decoded.text);
    return content;
}

std::string ReadFailureText(const std::string& path, const std::string& cause)
{
    return "Die Datei \"" + path + "\" konnte nicht gelesen werden (" + cause + ").";
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error)
{
    TextEncoding encoding = TextEncoding::Windows1252;
    return ReadTextLines(path, error, encoding);
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error,
                                                      TextEncoding& encoding)
{
    TextFileContent content = ReadTextFile(path);
    encoding = content.encoding;
    error = content.cause.empty() ? std::string() : ReadFailureText(path, content.cause);
    return std::move(content.lines);
}

std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines)
{
    return WriteTextLines(path, lines, TextEncoding::Windows1252);
}

std::string WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                           TextEncoding encoding)
{
    std::string text;
    for (const std::string& line : lines)
        appendLine(text, line);
    return WriteText(path, std::move(text), encoding);
}

std::string WriteText(const std::string& path, std::string text, TextEncoding encoding)
{
    return WriteFileAtomically(path, encodeText(std::move(text), encoding));
}

std::string WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    int err = 0;
    const std::string target = followLinks(path, err);
    if (err != 0)
        return saveFailure(path, err);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return saveFailure(path, errno);
    if (exists) {
        if (S_ISDIR(st.st_mode))
            return saveFailure(path, EISDIR);
        if (!S_ISREG(st.st_mode))
            return saveFailure(path, "keine gewöhnliche Datei");
        // A file the user may not write stays as it is, whatever the folder allows. Root may.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return saveFailure(path, errno);
    }
    const ReplaceResult replaced = replaceThroughTemporary(target, bytes, exists ? &st : nullptr);
    if (replaced.inPlaceInstead)
        err = writeInPlace(target, bytes);
    else
        err = replaced.err;
    return err == 0 ? std::string() : saveFailure(path, err);
}

} // namespace kurvex
