// Writes compiled resource (.res) entries, for tests and fuzzers that wrap
// bytes of their own as a resource of a module.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace corvale_test {

class ResWriter {
 public:
  // Starts from |image| (an existing .res image) or from the empty entry
  // every .res image begins with.
  explicit ResWriter(std::span<const std::byte> image = {}) {
    if (!image.empty()) {
      bytes_.assign(image.begin(), image.end());
    } else {
      Entry(0, 0, {});
    }
  }

  // An entry of ordinal type and name holding |data|; the image then ends
  // right after |data|, with no padding, so a reader that runs past the last
  // resource leaves the allocation. The entry may declare fewer bytes than it
  // holds. Returns the offset of the data in the image.
  std::size_t Entry(std::uint16_t type, std::uint16_t name, std::span<const std::byte> data,
                    std::size_t declared = SIZE_MAX) {
    Align4();
    Dword(static_cast<std::uint32_t>(std::min(declared, data.size())));
    Dword(32);
    for (std::uint16_t v : {std::uint16_t{0xFFFF}, type, std::uint16_t{0xFFFF}, name}) Word(v);
    Dword(0);
    Word(0x1030);
    Word(0x0409);
    Dword(0);
    Dword(0);
    std::size_t start = bytes_.size();
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return start;
  }

  // The image in an allocation of exactly its size.
  std::vector<std::byte> Take() {
    bytes_.shrink_to_fit();
    return std::move(bytes_);
  }

 private:
  void Align4() { bytes_.resize((bytes_.size() + 3) & ~std::size_t{3}); }
  void Word(std::uint16_t v) { Put(&v, sizeof v); }
  void Dword(std::uint32_t v) { Put(&v, sizeof v); }
  void Put(const void* p, std::size_t n) {
    auto b = static_cast<const std::byte*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }

  std::vector<std::byte> bytes_;
};

}  // namespace corvale_test
