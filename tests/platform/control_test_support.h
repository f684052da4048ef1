// A booted device with the control classes registered and a top-level parent
// window that records what its controls tell it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "control_classes.h"
#include "device/device.h"
#include "windows.h"

namespace corvale_test {

struct ParentLog {
  std::vector<UINT> notifications;  // WM_NOTIFY codes
  std::vector<WPARAM> commands;     // WM_COMMAND wParams
  std::vector<LPARAM> commandSources;
};

inline ParentLog& Log() {
  static ParentLog log;
  return log;
}

inline LRESULT RecordingParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && lParam) Log().notifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
  if (message == WM_COMMAND) {
    Log().commands.push_back(wParam);
    Log().commandSources.push_back(lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    device::Boot(device::Config{std::filesystem::temp_directory_path()});
    platform::RegisterListViewClass();
    platform::RegisterStaticClass();
    platform::RegisterButtonClass();
    platform::RegisterListBoxClass();
    platform::RegisterComboBoxClass();
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingParentProc;
    wc.lpszClassName = u"ControlTestParent";
    ASSERT_NE(RegisterClassW(&wc), 0);
    parent_ =
        CreateWindowExW(0, u"ControlTestParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent_, nullptr);
    Log() = ParentLog{};
  }

  void TearDown() override {
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }

  HWND Child(LPCWSTR className, DWORD style = 0, int height = 100, int id = 100) {
    HWND child = CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, height, parent_,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    EXPECT_NE(child, nullptr);
    return child;
  }

  HWND parent_ = nullptr;
};

}  // namespace corvale_test
