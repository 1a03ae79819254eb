// tockwell-wake: the one program of Tockwell that runs as root (started by pkexec, allowed by the
// polkit action pl.kestrolab.tockwell.wake). It sets or clears the time at which the first
// real-time clock wakes the computer, and does nothing else:
//
//   tockwell-wake set EPOCH   wake at EPOCH (decimal seconds since 1970 UTC, within 48 hours)
//   tockwell-wake clear       wake at no time
//
// Anything else is refused with exit code 2; a failed write ends with exit code 1. No Qt, no
// shell, no environment is read (pkexec clears it anyway).
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

constexpr long long MaxAheadSeconds = 48 * 3600;
constexpr int ExitWriteFailed = 1;
constexpr int ExitUsage = 2;

#ifdef TOCKWELL_WAKE_TEST_HOOK
// Test build only: the file named by TOCKWELL_WAKE_FILE takes the writes, one after the other.
const char *wakeFile()
{
    const char *file = std::getenv("TOCKWELL_WAKE_FILE");
    return file ? file : "";
}
constexpr int OpenFlags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW;
#else
const char *wakeFile()
{
    return "/sys/class/rtc/rtc0/wakealarm";
}
constexpr int OpenFlags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW;
#endif

/// EPOCH: decimal digits only (no sign, no blanks), at most 12 of them.
std::optional<long long> parseEpoch(std::string_view text)
{
    if (text.empty() || text.size() > 12)
        return std::nullopt;
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-')
        return std::nullopt;
    return value;
}

/// One write of `text` to the wake alarm: the kernel takes one value per write, so the file is
/// opened anew each time.
bool writeValue(const std::string &text)
{
    const int fd = ::open(wakeFile(), OpenFlags, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "tockwell-wake: %s: %s\n", wakeFile(), std::strerror(errno));
        return false;
    }
    const ssize_t written = ::write(fd, text.data(), text.size());
    const int writeError = errno;
    const bool closed = ::close(fd) == 0;
    if (written != static_cast<ssize_t>(text.size()) || !closed) {
        std::fprintf(stderr, "tockwell-wake: %s: %s\n", wakeFile(),
                     std::strerror(written < 0 ? writeError : errno));
        return false;
    }
    return true;
}

int usage(const char *why)
{
    std::fprintf(stderr,
                 "tockwell-wake: %s\nusage: tockwell-wake set EPOCH (within the next 48 hours)\n"
                 "       tockwell-wake clear\n",
                 why);
    return ExitUsage;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::string_view(argv[1]) == "clear")
        return writeValue("0\n") ? 0 : ExitWriteFailed;
    if (argc != 3 || std::string_view(argv[1]) != "set")
        return usage("expected \"set EPOCH\" or \"clear\"");
    const std::optional<long long> epoch = parseEpoch(argv[2]);
    if (!epoch)
        return usage("EPOCH must be decimal seconds since 1970");
    const long long now = static_cast<long long>(std::time(nullptr));
    if (*epoch <= now || *epoch > now + MaxAheadSeconds)
        return usage("EPOCH must lie within the next 48 hours");
    // A wake time already set makes the kernel refuse a new one: clear it first.
    if (!writeValue("0\n") || !writeValue(std::to_string(*epoch) + "\n"))
        return ExitWriteFailed;
    return 0;
}
