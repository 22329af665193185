// The clipboard and the global memory it trades in: text reaches other programs at
// SetClipboardData, another program's copy is what GetClipboardData gives (in CF_TEXT as UTF-8,
// in CF_UNICODETEXT as UTF-16), one window at a time has it open, and every misuse fails with
// Win32's error instead of touching memory.
#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

class ClipboardTest : public HeadlessTest {
protected:
    ClipboardTest() {
        MessageLog::Register();
        m_window = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                   nullptr, nullptr);
        m_other = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    }

    static HGLOBAL Block(const void* bytes, std::size_t size) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(block), bytes, size);
        GlobalUnlock(block);
        return block;
    }
    static HGLOBAL TextBlock(std::string_view text) {
        const std::string withZero = std::string(text) + '\0';
        return Block(withZero.data(), withZero.size());
    }
    // The CF_TEXT of the clipboard, opening it for the read.
    std::string ReadText() {
        EXPECT_TRUE(OpenClipboard(m_window));
        HANDLE data = GetClipboardData(CF_TEXT);
        std::string text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : "<none>";
        if (data != nullptr)
            GlobalUnlock(data);
        CloseClipboard();
        return text;
    }

    HWND m_window = nullptr;
    HWND m_other = nullptr;
};

void ExpectError(DWORD expected) {
    EXPECT_EQ(GetLastError(), expected);
}

TEST(GlobalMemory, BlocksAreCountedLockedAndValidated) {
    HGLOBAL block = GlobalAlloc(GHND, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 10u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0] | bytes[9], 0) << "GMEM_ZEROINIT";
    EXPECT_EQ(GlobalLock(block), bytes) << "a moveable block stays put while locked";
    EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "unlocked, not failed";
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(block), nullptr);

    // A freed handle and one never given out both fail and leave memory alone.
    for (HGLOBAL bad : {block, reinterpret_cast<HGLOBAL>(0x1234)}) {
        SetLastError(0);
        EXPECT_EQ(GlobalLock(bad), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(GlobalSize(bad), 0u);
        EXPECT_EQ(GlobalFree(bad), bad);
    }
    EXPECT_EQ(GlobalFree(nullptr), nullptr);

    // A fixed block's handle is its address.
    HGLOBAL fixed = GlobalAlloc(GPTR, 4);
    EXPECT_EQ(GlobalLock(fixed), fixed);
    EXPECT_EQ(GlobalFree(fixed), nullptr);
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST_F(ClipboardTest, UseWithoutOpeningOrWhileAnotherWindowHasItFails) {
    HGLOBAL block = TextBlock("x");
    SetLastError(0);
    EXPECT_FALSE(EmptyClipboard());
    ExpectError(ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    ExpectError(ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    ExpectError(ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_FALSE(CloseClipboard());
    ExpectError(ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x7777)));
    ExpectError(ERROR_INVALID_WINDOW_HANDLE);

    ASSERT_TRUE(OpenClipboard(m_window));
    EXPECT_EQ(GetOpenClipboardWindow(), m_window);
    EXPECT_TRUE(OpenClipboard(m_window)) << "the window that has it open may open it again";
    EXPECT_FALSE(OpenClipboard(m_other));
    ExpectError(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(OpenClipboard(nullptr));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_TRUE(OpenClipboard(m_other));
    CloseClipboard();

    // A window destroyed with the clipboard open does not keep it from everyone.
    ASSERT_TRUE(OpenClipboard(m_other));
    DestroyWindow(m_other);
    EXPECT_TRUE(OpenClipboard(m_window));
    CloseClipboard();
    EXPECT_EQ(Display().ClipboardWriteCount(), 0);
    GlobalFree(block);
}

TEST_F(ClipboardTest, TextReachesOtherProgramsAtSetClipboardData) {
    ASSERT_TRUE(OpenClipboard(m_window));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), m_window) << "EmptyClipboard makes the opener the owner";
    HGLOBAL block = TextBlock("#0080FF");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), block);
    EXPECT_EQ(Display().ClipboardContent(), "#0080FF") << "available before CloseClipboard";
    // The same text in the other text format is not written again.
    const std::u16string wide = u"#0080FF";
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, Block(wide.c_str(), (wide.size() + 1) * 2)),
              nullptr);
    EXPECT_EQ(Display().ClipboardWriteCount(), 1);
    // The block is the system's now: the program may read it but not free it.
    EXPECT_EQ(GlobalFree(block), block);
    ExpectError(ERROR_INVALID_HANDLE);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(block)), "#0080FF");
    GlobalUnlock(block);
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalSize(block), 0u) << "released once the clipboard closed";

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(ReadText(), "#0080FF");
    EXPECT_EQ(GetClipboardOwner(), m_window);
    // Another program's copy ends our ownership.
    Display().CopyFromOtherProgram("other");
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_EQ(ReadText(), "other");
}

TEST_F(ClipboardTest, TextFormatsConvertBetweenUtf8AndUtf16) {
    // CF_UNICODETEXT in, UTF-8 out to the display, up to the terminating zero.
    const std::u16string wide = u"色\U0001F3A8 #0080FF";
    std::u16string withTail = wide + u'\0' + u"tail";
    ASSERT_TRUE(OpenClipboard(m_window));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, Block(withTail.c_str(), (withTail.size() + 1) * 2));
    CloseClipboard();
    EXPECT_EQ(Display().ClipboardContent(), "色\U0001F3A8 #0080FF");

    // Another program's UTF-8 comes back as CF_TEXT bytes and as UTF-16 with its surrogates.
    Display().CopyFromOtherProgram("日本 \xF0\x9F\x8E\xA8");
    ASSERT_TRUE(OpenClipboard(m_window));
    HANDLE unicode = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(unicode, nullptr);
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), unicode) << "one block per format while open";
    const std::u16string expected = u"日本 \U0001F3A8";
    EXPECT_EQ(GlobalSize(unicode), (expected.size() + 1) * 2);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(unicode))), expected);
    GlobalUnlock(unicode);
    HANDLE text = GetClipboardData(CF_TEXT);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "日本 \xF0\x9F\x8E\xA8");
    GlobalUnlock(text);
    EXPECT_EQ(GlobalFree(text), text) << "the system's block";
    CloseClipboard();
    EXPECT_EQ(GlobalLock(text), nullptr) << "valid only until CloseClipboard";
}

TEST_F(ClipboardTest, EmptyingLeavesNothingToPaste) {
    Display().CopyFromOtherProgram("old");
    ASSERT_TRUE(OpenClipboard(m_window));
    EmptyClipboard();
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "empty at once for this program";
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    CloseClipboard();
    EXPECT_EQ(Display().ClipboardContent(), "") << "and for other programs once closed";
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));

    // Opened without a window, an emptied clipboard has no owner to take data.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    CloseClipboard();
    EXPECT_EQ(GlobalFree(block), nullptr) << "a refused block stays the program's";

    // Bad blocks are refused: a made-up handle, one already freed, and delayed rendering.
    ASSERT_TRUE(OpenClipboard(m_window));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x5678)), nullptr);
    ExpectError(ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    ExpectError(ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    ExpectError(ERROR_INVALID_PARAMETER);
    CloseClipboard();
}

TEST_F(ClipboardTest, OtherFormatsStayWithThisProgramWhileItOwnsTheClipboard) {
    constexpr UINT kPrivate = 0xC123;
    const unsigned char bytes[] = {1, 2, 3};
    ASSERT_TRUE(OpenClipboard(m_window));
    EmptyClipboard();
    SetClipboardData(kPrivate, Block(bytes, sizeof bytes));
    SetClipboardData(CF_TEXT, TextBlock("shown"));
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(kPrivate));
    ASSERT_TRUE(OpenClipboard(m_window));
    HANDLE data = GetClipboardData(kPrivate);
    ASSERT_EQ(GlobalSize(data), 3u);
    EXPECT_EQ(static_cast<const unsigned char*>(GlobalLock(data))[2], 3);
    GlobalUnlock(data);
    CloseClipboard();
    Display().CopyFromOtherProgram("replaced");
    EXPECT_FALSE(IsClipboardFormatAvailable(kPrivate));
}

}  // namespace
