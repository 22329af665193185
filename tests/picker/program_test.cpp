// The program from its entry: one copy at a time, no arguments, the main window for the life
// of the process. Each case runs the program in a child process of its own, since the
// program's lock is never released while its process lives.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "picker_test.h"
#include "platform/framework/win_app.h"

namespace {

class ProgramTest : public PickerTest {
protected:
    // The program's lock lives in the runtime directory: a private one per case, so that
    // cases running side by side do not meet each other's lock.
    static void UsePrivateRuntimeDirectory() {
        char dir[] = "/tmp/picker-test-XXXXXX";
        if (mkdtemp(dir) == nullptr)
            Fail("no runtime directory");
        setenv("XDG_RUNTIME_DIR", dir, 1);
    }
    // Ends the child with a message the parent's EXPECT_EXIT shows.
    [[noreturn]] static void Fail(const std::string& why) {
        std::fprintf(stderr, "%s\n", why.c_str());
        std::fflush(stderr);
        _exit(1);
    }
    static void Check(bool condition, const std::string& why) {
        if (!condition)
            Fail(why);
    }
    static std::string ExeName() {
        char path[4096] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string name = path;
        name = name.substr(name.find_last_of('/') + 1);
        return name.substr(0, name.find('.'));
    }
    // The program's loop never waits for anything when it ends at once.
    void FailIfTheProgramWaits() {
        Display().SetIdleHandler([] { Fail("the program waited for input"); });
    }
};

using ProgramDeathTest = ProgramTest;

TEST_F(ProgramDeathTest, AnArgumentEndsTheProgramAtOnceWithoutAWindow) {
    EXPECT_EXIT(
        {
            UsePrivateRuntimeDirectory();
            winapi::SetProgramArguments({"tintaro", "/x"});
            FailIfTheProgramWaits();
            AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
            Check(Display().SurfacesTopToBottom().empty(), "a window was shown");
            // The copy with an argument still took the lock while it ran.
            CreateMutexA(nullptr, TRUE, ExeName().c_str());
            Check(GetLastError() == ERROR_ALREADY_EXISTS, "the lock was not taken");
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ProgramDeathTest, ASecondCopyRestoresAndRaisesTheFirstAndShowsNothing) {
    EXPECT_EXIT(
        {
            UsePrivateRuntimeDirectory();
            winapi::SetProgramArguments({"tintaro"});
            CreateMutexA(nullptr, TRUE, ExeName().c_str());  // the first copy's lock
            const auto first = Display().AddForeignWindow("Tintaro LE", true);
            const auto other = Display().AddForeignWindow("Tintaro LE 1.2 について ...");
            FailIfTheProgramWaits();
            AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
            Check(Display().SurfacesTopToBottom().empty(), "the second copy showed a window");
            Check(!Display().FindForeignWindowInfo(first)->minimized, "the first stays minimised");
            Check(Display().ActiveForeignWindow() == first, "the first copy is not in front");
            Check(!Display().FindForeignWindowInfo(other)->minimized, "");
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ProgramDeathTest, ASecondCopyThatFindsNoWindowSimplyEnds) {
    EXPECT_EXIT(
        {
            UsePrivateRuntimeDirectory();
            winapi::SetProgramArguments({"tintaro"});
            CreateMutexA(nullptr, TRUE, ExeName().c_str());
            FailIfTheProgramWaits();
            AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
            Check(Display().SurfacesTopToBottom().empty(), "the second copy showed a window");
            _exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

// The first copy takes the lock, shows its one window titled for the second copy to find, and
// ends when Enter closes it.
TEST_F(ProgramDeathTest, TheFirstCopyRunsTheWindowUntilItIsClosed) {
    EXPECT_EXIT(
        {
            UsePrivateRuntimeDirectory();
            winapi::SetProgramArguments({"tintaro"});
            std::string title;
            bool locked = false;
            Script({{0,
                     [&] {
                         HWND found = FindWindowA(nullptr, "Tintaro LE");
                         char text[64] = {};
                         GetWindowTextA(found, text, sizeof text);
                         title = text;
                         CreateMutexA(nullptr, TRUE, ExeName().c_str());
                         locked = GetLastError() == ERROR_ALREADY_EXISTS;
                     }},
                    {150, [&] { Display().Press(VK_RETURN); }}});
            const int code = AfxWinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL);
            Check(title == "Tintaro LE", "no window titled Tintaro LE: '" + title + "'");
            Check(locked, "the lock was not held");
            Check(Display().SurfacesTopToBottom().empty(), "a window outlived the program");
            _exit(code == 0 ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
