// A throw-away device root for a fuzzer's whole run, removed at exit.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace corvale_fuzz {

inline const std::filesystem::path& FuzzDeviceRoot() {
  static const std::filesystem::path root = [] {
    std::string base = (std::filesystem::temp_directory_path() / "corvale-fuzz-XXXXXX").string();
    if (!::mkdtemp(base.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    static std::filesystem::path kept = base;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(kept, ec);
    });
    return std::filesystem::path(base);
  }();
  return root;
}

// Stops the run with a message libFuzzer reports as a crash: a broken rule,
// not a bad input, so the input is kept as a reproducer.
[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "fuzz: broken rule: %s\n", what);
  std::abort();
}

}  // namespace corvale_fuzz
