// A fresh temporary directory per test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kurvex::test {

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

// Makes dir read-only and runs body in a child process that may not write into it: root, who
// may write anywhere, is the unprivileged "nobody" there. Gives body's result (false when the
// child crashed), or no value when such a child could not be set up.
template <typename Body>
std::optional<bool> RunWithoutWriteAccess(const std::filesystem::path& dir, Body body)
{
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root && ::chown(dir.c_str(), kNobody, kNobody) != 0)
        return std::nullopt;
    std::filesystem::permissions(dir,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        if (::access(dir.c_str(), W_OK) == 0)
            ::_exit(2);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || (WIFEXITED(status) && WEXITSTATUS(status) == 2))
        return std::nullopt;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace kurvex::test
