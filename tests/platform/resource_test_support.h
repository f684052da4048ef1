// A fresh device with the program's and the tests' resources registered as
// two modules, for the resource tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <string>

#include "embedded_resources.h"
#include "module_table.h"
#include "platform/temp_device.h"
#include "res/test_resources.h"
#include "winbase.h"

namespace corvale_test {

class ResourceTest : public testing::Test {
 protected:
  // The bytes of a resource through the public services, or empty.
  static std::span<const std::byte> Bytes(HINSTANCE module, LPCWSTR name, LPCWSTR type) {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return {};
    auto* data = static_cast<const std::byte*>(LockResource(LoadResource(module, found)));
    return {data, SizeofResource(module, found)};
  }

  TempDevice dev;
  HINSTANCE program = platform::RegisterModule(u"\\Windows\\Corvale.exe", CorvaleResourceImage());
  HINSTANCE tests = platform::RegisterModule(u"\\Windows\\resource_tests.dll", TestResourceImage());
};

// Reads little-endian fields in order, as a template parser would.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::byte> bytes) : bytes_(bytes) {}
  template <class T>
  T Next() {
    T value{};
    if (pos_ + sizeof value > bytes_.size()) {
      ADD_FAILURE() << "read past the end at " << pos_;
      pos_ = bytes_.size();
      return value;
    }
    std::memcpy(&value, bytes_.data() + pos_, sizeof value);
    pos_ += sizeof value;
    return value;
  }
  std::u16string Text() {
    std::u16string text;
    while (pos_ < bytes_.size())
      if (char16_t c = Next<char16_t>())
        text.push_back(c);
      else
        break;
    return text;
  }
  void AlignTo4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }
  std::size_t Pos() const { return pos_; }

 private:
  std::span<const std::byte> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace corvale_test
