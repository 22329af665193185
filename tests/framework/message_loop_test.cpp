// The framework's message loop: each message goes first to PreTranslateMessage of the objects
// from its target window up to the top-level window; a consumed message is neither dispatched
// nor translated into characters; WM_QUIT ends Run with its code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework_test.h"

namespace {

std::vector<std::string> g_preTranslated;

class CNamedWnd : public CWnd {
public:
    explicit CNamedWnd(std::string name, UINT consumes = 0)
        : m_name(std::move(name)), m_consumes(consumes) {}
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message != WM_KEYDOWN) {
            return FALSE;
        }
        g_preTranslated.push_back(m_name);
        return pMsg->wParam == m_consumes ? TRUE : FALSE;
    }

private:
    std::string m_name;
    UINT m_consumes;
};

class CLoopApp : public CWinApp {
public:
    CLoopApp() : CWinApp("loop test") {}
};

class MessageLoopTest : public FrameworkTest {
protected:
    MessageLoopTest() {
        g_preTranslated.clear();
        m_owner = Popup(0, 0, 300, 300);
        m_top = Popup(20, 20, 200, 150, m_owner);
        m_panel = Child(m_top, 1, 0, 0, 150, 100);
        m_field = Child(m_panel, 2, 10, 10, 50, 20);
        EXPECT_TRUE(m_ownerWnd.Attach(m_owner));
        EXPECT_TRUE(m_topWnd.Attach(m_top));
        EXPECT_TRUE(m_fieldWnd.Attach(m_field));
        SetFocus(m_field);
        Pump();
        Log().Clear();
    }
    ~MessageLoopTest() override {
        m_ownerWnd.Detach();
        m_topWnd.Detach();
        m_fieldWnd.Detach();
    }

    // Presses the key, then ends the loop once everything it caused has been handled.
    int RunWithKey(int vk, const char* text) {
        CLoopApp app;
        int idleCalls = 0;
        Display().SetIdleHandler([&] {
            if (++idleCalls == 1) {
                Display().Press(vk, text);
            } else {
                PostQuitMessage(3);
                Display().Advance(1);  // lets the wait end
            }
        });
        const int exitCode = app.Run();
        Display().SetIdleHandler(nullptr);
        return exitCode;
    }

    HWND m_owner = nullptr;
    HWND m_top = nullptr;
    HWND m_panel = nullptr;  // no object: skipped
    HWND m_field = nullptr;
    CNamedWnd m_ownerWnd{"owner"};
    CNamedWnd m_topWnd{"top", VK_ESCAPE};
    CNamedWnd m_fieldWnd{"field", VK_SPACE};
};

TEST_F(MessageLoopTest, KeysAreOfferedFromTheTargetUpToItsTopLevelWindow) {
    EXPECT_EQ(3, RunWithKey('A', "a"));
    EXPECT_EQ((std::vector<std::string>{"field", "top"}), g_preTranslated);
    // Not consumed: dispatched to the field and translated into a character.
    EXPECT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
              Log().Messages(m_field, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(MessageLoopTest, KeyConsumedByTheTargetIsNeitherDispatchedNorTyped) {
    RunWithKey(VK_SPACE, " ");
    EXPECT_EQ((std::vector<std::string>{"field"}), g_preTranslated);
    EXPECT_EQ((std::vector<UINT>{WM_KEYUP}),
              Log().Messages(nullptr, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}));
}

TEST_F(MessageLoopTest, KeyConsumedByTheTopLevelWindowNeverReachesTheControl) {
    RunWithKey(VK_ESCAPE, "\x1b");
    EXPECT_EQ((std::vector<std::string>{"field", "top"}), g_preTranslated);
    EXPECT_TRUE(Log().Messages(m_field, {WM_KEYDOWN, WM_CHAR}).empty());
}

TEST_F(MessageLoopTest, QuitEndsRunWithItsCodeAsTheExitCode) {
    CLoopApp app;
    Display().SetIdleHandler([this] {
        PostQuitMessage(42);
        Display().Advance(1);
    });
    EXPECT_EQ(42, app.Run());
    EXPECT_EQ(42, app.ExitInstance());
    Display().SetIdleHandler(nullptr);
}

// AfxWinMain: InitInstance returning FALSE ends the program without a message loop.
class CDialogBasedApp : public CWinApp {
public:
    CString m_seenCommandLine;
    bool m_ran = false;
    BOOL InitInstance() override {
        m_seenCommandLine = m_lpCmdLine;
        return FALSE;
    }
    int Run() override {
        m_ran = true;
        return CWinApp::Run();
    }
};

TEST_F(MessageLoopTest, WinMainRunsInitInstanceWithTheArgumentsPart) {
    winapi::SetProgramArguments({"/opt/tintaro le/tintaro", "/x", "y z"});
    CDialogBasedApp app;
    EXPECT_EQ(0, WinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_STREQ("/x \"y z\"", app.m_seenCommandLine);
    EXPECT_FALSE(app.m_ran);
    EXPECT_EQ(GetModuleHandleA(nullptr), app.m_hInstance);
    // The executable's name, without folders.
    EXPECT_STREQ("framework_tests", app.m_pszAppName);
    EXPECT_STREQ("framework_tests", app.m_pszExeName);
    EXPECT_EQ(AfxGetInstanceHandle(), app.m_hInstance);
}

}  // namespace
