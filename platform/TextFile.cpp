// Text files the program keeps: reading in their encoding, writing back safely.
#include "platform/TextFile.h"

#include "platform/TextCodec.h"

#include <atomic>
#include <cerrno>
#include <climits>
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

// Decodes file bytes as decided for the program's files (see ReadTextLines).
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
    // No text file holds a NUL: such bytes are UTF-16 without its mark, UTF-32 or no text at all.
    if (d.text && d.text->find('\0') != std::string::npos)
        d.text.reset();
    return d;
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

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error)
{
    TextEncoding encoding = TextEncoding::Windows1252;
    return ReadTextLines(path, error, encoding);
}

std::optional<std::vector<std::string>> ReadTextLines(const std::string& path, std::string& error,
                                                      TextEncoding& encoding)
{
    encoding = TextEncoding::Windows1252;
    const std::optional<std::string> bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    const DecodedText decoded = decodeFileBytes(*bytes);
    encoding = decoded.encoding;
    if (!decoded.text) {
        error = "Die Datei \"" + path +
                "\" konnte nicht vollständig gelesen werden (unbekannte Zeichenkodierung).";
        return std::vector<std::string>();
    }
    return splitLines(*decoded.text);
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
