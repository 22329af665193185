// The kernel subset: errors, handles, arithmetic, time, the module, the command line and the
// named mutex that keeps the program to one instance per user.
#include <gtest/gtest.h>
#include <windows.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/winapi/host.h"
#include "platform/winapi/kernel/command_line.h"
#include "platform/winapi/kernel/named_lock.h"

namespace winapi {
namespace {

TEST(Kernel, ErrorsHandlesAndArithmetic) {
    SetLastError(1234);
    EXPECT_EQ(GetLastError(), 1234u);
    for (const auto bad : {std::uintptr_t{0}, std::uintptr_t{0x104}, std::uintptr_t{3}}) {
        SetLastError(0);
        EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(bad)));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(CloseHandle(mutex));
    EXPECT_FALSE(CloseHandle(mutex)) << "a handle closes once";
    // The process pseudo-handle may be closed and stays usable.
    EXPECT_TRUE(CloseHandle(GetCurrentProcess()));
    EXPECT_EQ(GetCurrentProcessId(), static_cast<DWORD>(getpid()));
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA("終了"), 6);

    // {number, numerator, denominator, result}: halves round away from zero; a product past
    // 32 bits is fine when the result fits; division by zero and overflow give -1.
    // clang-format off
    const std::array<int, 4> rows[] = {
        {1, 1, 2, 1},   {-1, 1, 2, -1},  {5, -1, 2, -3},  {-5, 1, 2, -3},  {7, 1, 3, 2},
        {8, 1, 3, 3},   {8, 1, -3, -3},  {-8, -1, 3, 3},  {-8, 1, -3, 3},  {0, 5, 7, 0},
        {9, 96, 72, 12},  {100, 96, 72, 133},  {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {0x40000000, 6, 4, 0x60000000},  {1, 1, 0, -1},  {INT_MAX, 2, 1, -1},
        {0x40000000, 4, 2, -1},  {INT_MIN, 3, 1, -1}};
    // clang-format on
    for (const auto& [number, numerator, denominator, result] : rows) {
        EXPECT_EQ(MulDiv(number, numerator, denominator), result)
            << number << " * " << numerator << " / " << denominator;
    }
}

TEST(Kernel, ModuleHandleAndFileName) {
    char link[PATH_MAX];
    const ssize_t linkLength = readlink("/proc/self/exe", link, sizeof link);
    ASSERT_GT(linkLength, 0);
    const std::string path(link, static_cast<std::size_t>(linkLength));
    const HMODULE module = GetModuleHandleA(nullptr);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleHandleA(path.substr(path.rfind('/') + 1).c_str()), module);
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    const auto length = static_cast<DWORD>(path.size());
    std::vector<char> buffer(path.size() + 8, '#');
    EXPECT_EQ(GetModuleFileNameA(module, buffer.data(), length + 1), length);
    EXPECT_EQ(buffer.data(), path);
    // Too small, by one or more: cut with a terminator, nSize returned, the error set.
    for (const DWORD size : {length, DWORD{4}, DWORD{0}}) {
        std::fill(buffer.begin(), buffer.end(), '#');
        SetLastError(0);
        EXPECT_EQ(GetModuleFileNameA(nullptr, buffer.data(), size), size);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        if (size > 0) {
            EXPECT_EQ(std::string(buffer.data()), path.substr(0, size - 1));
        }
        EXPECT_EQ(buffer[size], '#');
    }
    SetLastError(0);
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x5000), buffer.data(), 64), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleFileNameA(nullptr, nullptr, 64), 0u);
}

// Quoted so that CommandLineToArgvW splits each back: 2n backslashes before a quote stand for n
// and a quote that opens or closes, 2n + 1 for n and a literal quote; others are literal.
TEST(CommandLine, QuotesOnlyWhatNeedsIt) {
    using kernel::QuoteArgument;
    using kernel::QuoteProgramName;
    // clang-format off
    const std::pair<std::string, std::string> arguments[] = {
        {"plain", "plain"},          {"", "\"\""},              {"two words", "\"two words\""},
        {"tab\there", "\"tab\there\""}, {"a\"b", "\"a\\\"b\""},  {"back\\slash", "back\\slash"},
        {"a\\\"b", "\"a\\\\\\\"b\""},  {"ends with\\", "\"ends with\\\\\""},
        {"C:\\Program Files\\", "\"C:\\Program Files\\\\\""},
        {"\\\\server\\share", "\\\\server\\share"}, {"終了", "終了"}};
    // clang-format on
    for (const auto& [argument, expected] : arguments) {
        EXPECT_EQ(QuoteArgument(argument), expected) << argument;
    }
    EXPECT_EQ(QuoteProgramName("/usr/bin/tintaro"), "/usr/bin/tintaro");
    EXPECT_EQ(QuoteProgramName("/opt/my apps/tintaro"), "\"/opt/my apps/tintaro\"");
    EXPECT_EQ(QuoteProgramName("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(QuoteProgramName(""), "\"\"");
    // The name rules have no escape for a quote.
    EXPECT_EQ(QuoteProgramName("odd\"name"), "oddname");
}

TEST(CommandLine, GetCommandLineFollowsTheProgramArguments) {
    SetProgramArguments({"/opt/my apps/tintaro", "--mode", "a b"});
    const LPSTR line = GetCommandLineA();
    EXPECT_STREQ(line, "\"/opt/my apps/tintaro\" --mode \"a b\"");
    EXPECT_EQ(GetCommandLineA(), line) << "the same string each time";
    SetProgramArguments({"tintaro"});
    EXPECT_STREQ(GetCommandLineA(), "tintaro");
}

// A backend whose clock moves only when waited on.
class ClockBackend : public display::Backend {
public:
    explicit ClockBackend(std::uint64_t start) : m_now(start) {}

    std::uint64_t Clock() override { return m_now; }
    void Wait(std::optional<std::uint64_t> deadlineMs) override {
        ++m_waits;
        if (deadlineMs && *deadlineMs > m_now) {
            m_now = *deadlineMs;
        }
    }
    int Waits() const { return m_waits; }

    display::Rect ScreenBounds() override { return {}; }
    void ReadScreen(const display::Rect&, std::span<std::uint32_t>,
                    std::span<std::uint8_t>) override {}
    display::SurfaceId CreateSurface(const display::SurfaceSpec&) override { return 0; }
    void DestroySurface(display::SurfaceId) override {}
    void SetSurfaceBounds(display::SurfaceId, const display::Rect&) override {}
    void SetSurfaceTitle(display::SurfaceId, std::string_view) override {}
    void SetSurfaceIcon(display::SurfaceId, const display::PixelView&) override {}
    void SetSurfaceTopmost(display::SurfaceId, bool) override {}
    void ShowSurface(display::SurfaceId, bool) override {}
    void MinimizeSurface(display::SurfaceId, bool) override {}
    void RaiseSurface(display::SurfaceId, display::SurfaceId) override {}
    void ActivateSurface(display::SurfaceId) override {}
    bool BeginMoveDrag(display::SurfaceId, display::Point) override { return false; }
    void Present(display::SurfaceId, const display::PixelView&,
                 std::span<const display::Rect>) override {}
    std::optional<display::Event> NextEvent() override { return std::nullopt; }
    display::Point PointerPosition() override { return {}; }
    void WarpPointer(display::Point) override {}
    void Bell() override {}
    void SetClipboardText(std::string_view) override {}
    std::optional<std::string> ClipboardText() override { return std::nullopt; }
    std::optional<display::ForeignWindowId> FindForeignWindow(std::string_view) override {
        return std::nullopt;
    }
    bool IsForeignWindowMinimized(display::ForeignWindowId) override { return false; }
    bool RestoreForeignWindow(display::ForeignWindowId) override { return false; }
    bool ActivateForeignWindow(display::ForeignWindowId) override { return false; }

private:
    std::uint64_t m_now;
    int m_waits = 0;
};

TEST(Time, SessionClockDrivesTicksAndSleep) {
    const ULONGLONG monotonic = GetTickCount64();
    EXPECT_LE(monotonic, GetTickCount64());
    // Past 2^32 ms, so the 32-bit count has wrapped.
    constexpr std::uint64_t kStart = 5'000'000'000;
    auto backend = std::make_unique<ClockBackend>(kStart);
    ClockBackend* clock = backend.get();
    Session session(std::move(backend));
    EXPECT_EQ(GetTickCount64(), kStart);
    EXPECT_EQ(GetTickCount(), static_cast<DWORD>(kStart & 0xFFFFFFFF));

    Sleep(250);
    EXPECT_EQ(GetTickCount64(), kStart + 250);
    EXPECT_GE(clock->Waits(), 1);
    const int waits = clock->Waits();
    Sleep(0);
    EXPECT_EQ(GetTickCount64(), kStart + 250);
    EXPECT_EQ(clock->Waits(), waits);
}

// A private directory for the test's locks, given to the layer as $XDG_RUNTIME_DIR.
class MutexTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tintaro-kernel-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        m_runtime = m_root + "/runtime";
        ASSERT_EQ(mkdir(m_runtime.c_str(), 0700), 0);
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_oldRuntime = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
    }
    void TearDown() override {
        if (m_oldRuntime) {
            setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        std::filesystem::remove_all(m_root);
    }

    // Unique to this run, so runs never see each other's locks.
    static std::string UniqueName(const std::string& stem) {
        static int counter = 0;
        return "tintaro-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + "-" +
               stem;
    }

    static std::set<std::string> Files(const std::string& directory) {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.insert(entry.path().filename());
        }
        return names;
    }

    std::string m_root;
    std::string m_runtime;
    std::optional<std::string> m_oldRuntime;
};

// A child process forked before the test takes any lock, so it shares none of this process's
// mutex state. It answers each name with the error its own CreateMutexA reports, and closes
// the handle again unless told to hold it.
class Prober {
public:
    static constexpr DWORD kNoHandle = 0xFFFFFFFF;

    Prober() {
        int requests[2];
        int answers[2];
        if (pipe(requests) != 0 || pipe(answers) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            close(requests[1]);
            close(answers[0]);
            Serve(requests[0], answers[1]);
        }
        close(requests[0]);
        close(answers[1]);
        m_requests = requests[1];
        m_answers = answers[0];
    }
    ~Prober() {
        close(m_requests);
        close(m_answers);
        Wait();
    }

    DWORD Probe(const std::string& name, bool hold = false) {
        const std::uint32_t request[] = {static_cast<std::uint32_t>(name.size()), hold};
        DWORD answer = 0;
        if (write(m_requests, request, sizeof request) != sizeof request ||
            write(m_requests, name.data(), name.size()) != static_cast<ssize_t>(name.size()) ||
            read(m_answers, &answer, sizeof answer) != sizeof answer) {
            ADD_FAILURE() << "the probe process does not answer";
        }
        return answer;
    }

    // Returns the wait status.
    int Kill() {
        kill(m_pid, SIGKILL);
        return Wait();
    }

private:
    [[noreturn]] static void Serve(int requests, int answers) {
        std::uint32_t request[2];
        while (read(requests, request, sizeof request) == sizeof request) {
            std::string name(request[0], '\0');
            if (read(requests, name.data(), name.size()) != static_cast<ssize_t>(name.size())) {
                break;
            }
            const HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
            const DWORD answer = mutex ? GetLastError() : kNoHandle;
            if (!request[1]) {
                CloseHandle(mutex);
            }
            if (write(answers, &answer, sizeof answer) != sizeof answer) {
                break;
            }
        }
        _exit(0);
    }

    int Wait() {
        int status = 0;
        if (m_pid > 0) {
            waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        return status;
    }

    pid_t m_pid = -1;
    int m_requests = -1;
    int m_answers = -1;
};

TEST_F(MutexTest, SecondCreatorSeesAlreadyExistsInThisAndOtherProcesses) {
    Prober prober;
    const std::string name = UniqueName("single");
    EXPECT_EQ(prober.Probe(name), 0u) << "nobody holds it yet";

    const HANDLE first = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(prober.Probe(name), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    const HANDLE second = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    // The lock lasts until the last handle closes.
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_EQ(prober.Probe(name), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_EQ(prober.Probe(name), 0u);
    EXPECT_EQ(Files(m_runtime).size(), 1u) << "the lock file lives in $XDG_RUNTIME_DIR";
}

TEST_F(MutexTest, LockDiesWithAKilledHolder) {
    Prober holder;
    const std::string name = UniqueName("killed");
    EXPECT_EQ(holder.Probe(name, true), 0u);
    const HANDLE second = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(second, nullptr) << "a valid handle even though another process holds it";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(second);

    EXPECT_TRUE(WIFSIGNALED(holder.Kill()));
    const HANDLE mine = CreateMutexA(nullptr, FALSE, name.c_str());
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    CloseHandle(mine);
}

TEST_F(MutexTest, PlantedSymlinkIsNotFollowed) {
    const std::string name = UniqueName("planted");
    const std::string target = m_root + "/target";
    std::ofstream(target) << "keep";
    const std::string link = m_runtime + "/" + kernel::NamedLock::FileName(name);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

    SetLastError(0);
    EXPECT_EQ(CreateMutexA(nullptr, FALSE, name.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    struct stat info {};
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 4);
    // The target is not locked either: another process can still lock the file itself.
    const int fd = open(target.c_str(), O_RDONLY);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);
}

TEST_F(MutexTest, NamesStayInsideTheDirectory) {
    const std::string stem = UniqueName("");
    EXPECT_EQ(kernel::NamedLock::FileName(".."), "tintaro-mutex-%2E%2E.lock");
    EXPECT_EQ(kernel::NamedLock::FileName("."), "tintaro-mutex-%2E.lock");
    const std::vector<std::string> names = {
        stem + "../../escape", stem + "/etc/passwd", stem + ".",
        stem + "a/b",          stem + "a%2Fb",       stem + ".."};
    std::vector<HANDLE> handles;
    std::set<std::string> fileNames;
    for (const std::string& name : names) {
        const std::string fileName = kernel::NamedLock::FileName(name);
        EXPECT_EQ(fileName.find('/'), std::string::npos) << name;
        fileNames.insert(fileName);
        const HANDLE handle = CreateMutexA(nullptr, FALSE, name.c_str());
        ASSERT_NE(handle, nullptr) << name;
        EXPECT_EQ(GetLastError(), 0u) << name << " is a name of its own";
        handles.push_back(handle);
    }
    EXPECT_EQ(fileNames.size(), names.size()) << "distinct names, distinct files";
    EXPECT_EQ(Files(m_runtime), fileNames);
    EXPECT_EQ(Files(m_root), (std::set<std::string>{"runtime"}));
    for (HANDLE handle : handles) {
        CloseHandle(handle);
    }
}

TEST_F(MutexTest, LongNamesAndUnnamedMutexes) {
    const std::string stem = UniqueName("long");
    const std::string longA = stem + std::string(MAX_PATH - stem.size() - 1, '/') + "a";
    const std::string longB = stem + std::string(MAX_PATH - stem.size() - 1, '/') + "b";
    ASSERT_EQ(longA.size(), static_cast<std::size_t>(MAX_PATH));
    const HANDLE a = CreateMutexA(nullptr, FALSE, longA.c_str());
    ASSERT_NE(a, nullptr);
    const HANDLE b = CreateMutexA(nullptr, FALSE, longB.c_str());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(GetLastError(), 0u) << "long names that differ only at the end";
    EXPECT_EQ(Files(m_runtime).size(), 2u);
    for (const std::string& file : Files(m_runtime)) {
        EXPECT_LE(file.size(), 255u);
    }
    SetLastError(0);
    EXPECT_EQ(CreateMutexA(nullptr, FALSE, (longA + "x").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    CloseHandle(a);
    CloseHandle(b);

    // Unnamed (and empty-named) mutexes are separate objects and touch no file.
    const HANDLE one = CreateMutexA(nullptr, FALSE, nullptr);
    const HANDLE two = CreateMutexA(nullptr, FALSE, "");
    EXPECT_TRUE(one && two && one != two);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(Files(m_runtime).size(), 2u);
    CloseHandle(one);
    CloseHandle(two);
}

TEST_F(MutexTest, OwnershipGoesToTheCreatorOnly) {
    const std::string name = UniqueName("owner");
    const HANDLE owned = CreateMutexA(nullptr, TRUE, name.c_str());
    ASSERT_NE(owned, nullptr);
    // Opening the existing mutex ignores bInitialOwner; both handles name one object.
    const HANDLE opened = CreateMutexA(nullptr, TRUE, name.c_str());
    EXPECT_TRUE(ReleaseMutex(opened));
    SetLastError(0);
    EXPECT_FALSE(ReleaseMutex(owned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    CloseHandle(owned);
    CloseHandle(opened);
    SetLastError(0);
    EXPECT_FALSE(ReleaseMutex(owned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(MutexTest, EndingTheSessionReleasesTheLock) {
    Prober prober;
    const std::string name = UniqueName("session");
    {
        Session session(std::make_unique<ClockBackend>(0));
        ASSERT_NE(CreateMutexA(nullptr, FALSE, name.c_str()), nullptr);
        EXPECT_EQ(prober.Probe(name), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    }
    EXPECT_EQ(prober.Probe(name), 0u);
}

TEST_F(MutexTest, LockDirectoryMustBePrivate) {
    using kernel::NamedLock;
    EXPECT_EQ(NamedLock::DirectoryPath(), m_runtime);
    const std::string fallback = "/tmp/tintaro-" + std::to_string(geteuid());
    // A runtime directory others can read is not used.
    chmod(m_runtime.c_str(), 0755);
    EXPECT_EQ(NamedLock::DirectoryPath(), fallback);
    setenv("XDG_RUNTIME_DIR", "relative/dir", 1);
    EXPECT_EQ(NamedLock::DirectoryPath(), fallback);

    // Created 0700 when missing; group and other permissions removed from our own.
    const std::string fresh = m_root + "/fresh";
    EXPECT_TRUE(NamedLock::OpenPrivateDirectory(fresh).IsValid());
    struct stat info {};
    ASSERT_EQ(stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(NamedLock::OpenPrivateDirectory(m_runtime).IsValid());
    ASSERT_EQ(stat(m_runtime.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A symlink in its place, or a file, is refused.
    const std::string link = m_root + "/link";
    ASSERT_EQ(symlink(fresh.c_str(), link.c_str()), 0);
    EXPECT_FALSE(NamedLock::OpenPrivateDirectory(link).IsValid());
    const std::string file = m_root + "/file";
    std::ofstream{file};
    EXPECT_FALSE(NamedLock::OpenPrivateDirectory(file).IsValid());

    // Someone else's directory is refused; only root can make one to try.
    if (geteuid() == 0) {
        const std::string foreign = m_root + "/foreign";
        ASSERT_EQ(mkdir(foreign.c_str(), 0700), 0);
        ASSERT_EQ(chown(foreign.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(NamedLock::OpenPrivateDirectory(foreign).IsValid());
    }
}

}  // namespace
}  // namespace winapi
