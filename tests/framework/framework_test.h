// A fixture for framework tests: a fresh headless session with the program's compiled
// resources as the module's, the recording window class, and no framework wrappers left over
// from an earlier test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <span>
#include <vector>

#include "platform/framework/framework.h"
#include "platform/framework/message_loop.h"
#include "platform/winapi/host.h"
#include "support/headless_test.h"
#include "support/message_log.h"

inline const std::vector<char>& ProgramResources() {
    static const std::vector<char> bytes = [] {
        std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

class FrameworkTest : public HeadlessTest {
protected:
    FrameworkTest() {
        winapi::SetModuleResources(std::as_bytes(std::span(ProgramResources())));
        MessageLog::Register();
    }
    ~FrameworkTest() override { framework::DeleteTemporaryWrappers(); }

    void SetUp() override {
        ASSERT_FALSE(ProgramResources().empty()) << "cannot read " << TINTARO_RES_FILE;
    }

    MessageLog& Log() { return MessageLog::Instance(); }

    HWND Popup(int x, int y, int cx, int cy, HWND owner = nullptr,
               DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE) {
        return CreateWindowExA(0, "LogWindow", "", style, x, y, cx, cy, owner, nullptr, nullptr,
                               nullptr);
    }
    HWND Child(HWND parent, int id, int x, int y, int cx, int cy,
               DWORD style = WS_CHILD | WS_VISIBLE) {
        return CreateWindowExA(0, "LogWindow", "", style, x, y, cx, cy, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
};
