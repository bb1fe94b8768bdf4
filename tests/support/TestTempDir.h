// File helpers of the tests: a temporary directory per test, file bytes, an unprivileged child, an
// environment variable for a while, a file-size limit.
#pragma once

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kurvex::test {

// A fresh temporary directory, removed with everything in it afterwards.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "kurvex-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// UTF-16 code units as file bytes, little- or big-endian; a byte-order mark only when text has one.
inline std::string Utf16Bytes(std::u16string_view text, bool bigEndian)
{
    std::string out;
    for (const char16_t unit : text) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

// The ordinary user RunAsOrdinaryUser runs as when the tests run as root.
constexpr uid_t kNobody = 65534;

// Gives path to the user RunAsOrdinaryUser runs as ("nobody" when the tests run as root; nothing
// to do otherwise). False when that failed.
inline bool HandToOrdinaryUser(const std::filesystem::path& path)
{
    return ::geteuid() != 0 || ::chown(path.c_str(), kNobody, kNobody) == 0;
}

// Runs body in a child process as an ordinary user, for whom file permissions hold: root, who may
// write anything, is the unprivileged "nobody" there. The child first checks precondition (what
// the test needs of that user's permissions). Gives body's result (false when the child crashed),
// or no value when such a child could not be set up or the precondition does not hold.
template <typename Precondition, typename Body>
std::optional<bool> RunAsOrdinaryUser(Precondition precondition, Body body)
{
    const bool root = ::geteuid() == 0;
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        if (!precondition())
            ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || (WIFEXITED(status) && WEXITSTATUS(status) == 2))
        return std::nullopt;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Makes dir read-only and runs body in a child process that may not write into it (see
// RunAsOrdinaryUser); dir and the files named are handed to that process's user first.
template <typename Body>
std::optional<bool> RunWithoutWriteAccess(const std::filesystem::path& dir, Body body,
                                          std::initializer_list<std::filesystem::path> files = {})
{
    if (!HandToOrdinaryUser(dir))
        return std::nullopt;
    for (const auto& file : files) {
        if (!HandToOrdinaryUser(file))
            return std::nullopt;
    }
    std::filesystem::permissions(dir,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    return RunAsOrdinaryUser([&] { return ::access(dir.c_str(), W_OK) != 0; }, body);
}

// While it lives, the environment variable name holds value; afterwards it is as it was, or unset.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { saved_ ? ::setenv(name_.c_str(), saved_->c_str(), 1) : ::unsetenv(name_.c_str()); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

// While it lives, writes beyond the given size fail for this process (EFBIG), also for root: a
// disk that fills up in the middle of a save, without mounting anything.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : handler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*handler_)(int);
};

} // namespace kurvex::test
