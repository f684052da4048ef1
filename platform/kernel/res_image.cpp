#include "kernel/res_image.h"

#include <cstring>

namespace platform {
namespace {

// Every image llvm-rc and rc.exe write begins with this empty entry, which
// marks the file as a 32-bit resource file.
constexpr unsigned char kSignature[32] = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

// The fixed fields that follow the type and name: DataVersion, MemoryFlags,
// LanguageId, Version, Characteristics.
constexpr std::size_t kHeaderTail = 16;

class Reader {
 public:
  Reader(std::span<const std::byte> bytes, std::size_t begin, std::size_t end)
      : bytes_(bytes), pos_(begin), end_(end) {}

  bool Word(WORD* out) {
    if (end_ - pos_ < 2) return false;
    std::memcpy(out, bytes_.data() + pos_, 2);
    pos_ += 2;
    return true;
  }
  bool Dword(DWORD* out) {
    if (end_ - pos_ < 4) return false;
    std::memcpy(out, bytes_.data() + pos_, 4);
    pos_ += 4;
    return true;
  }
  // An ordinal (0xFFFF then the value) or a zero-terminated UTF-16 string.
  bool Id(ResId* out) {
    WORD first;
    if (!Word(&first)) return false;
    if (first == 0xFFFF) {
      out->isOrdinal = true;
      return Word(&out->ordinal);
    }
    out->isOrdinal = false;
    out->name.clear();
    for (WORD c = first; c != 0;) {
      out->name.push_back(static_cast<char16_t>(c));
      if (!Word(&c)) return false;
    }
    return true;
  }
  bool AlignTo4() {
    std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
    if (aligned > end_) return false;
    pos_ = aligned;
    return true;
  }
  std::size_t Pos() const { return pos_; }

 private:
  std::span<const std::byte> bytes_;
  std::size_t pos_;
  std::size_t end_;
};

// Parses the entry at |offset|; |next| receives the offset of the one after.
bool ParseEntry(std::span<const std::byte> image, std::size_t offset, ResEntry* entry, std::size_t* next) {
  const std::size_t total = image.size();
  DWORD dataSize, headerSize;
  Reader fixed(image, offset, total);
  if (!fixed.Dword(&dataSize) || !fixed.Dword(&headerSize)) return false;
  if (headerSize < 8 + kHeaderTail || headerSize % 4 != 0) return false;
  if (headerSize > total - offset) return false;
  const std::size_t headerEnd = offset + headerSize;
  if (dataSize > total - headerEnd) return false;

  Reader header(image, offset + 8, headerEnd);
  WORD language;
  DWORD ignored;
  WORD flags;
  if (!header.Id(&entry->type) || !header.Id(&entry->name) || !header.AlignTo4()) return false;
  for (ResId* id : {&entry->type, &entry->name})
    if (!id->isOrdinal) id->name = FoldResName(id->name);
  if (!header.Dword(&ignored) || !header.Word(&flags) || !header.Word(&language)) return false;
  entry->language = language;
  entry->offset = headerEnd;
  entry->size = dataSize;
  // headerEnd + dataSize <= total, so rounding up stays within size_t.
  *next = (headerEnd + dataSize + 3) & ~std::size_t{3};
  return true;
}

char16_t FoldChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE && c != 0xF7) return c - 0x20;                  // Latin-1
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;  // Greek
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;                // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;  // full-width Latin
  return c;
}

}  // namespace

bool ParseResImage(std::span<const std::byte> image, std::vector<ResEntry>* entries) {
  entries->clear();
  if (image.empty()) return true;
  if (image.size() < sizeof kSignature || std::memcmp(image.data(), kSignature, sizeof kSignature) != 0) return false;
  std::size_t offset = sizeof kSignature;
  while (offset < image.size()) {
    ResEntry entry;
    std::size_t next;
    if (!ParseEntry(image, offset, &entry, &next)) {
      entries->clear();
      return false;
    }
    // The data padding of the last entry may be missing from the file.
    entries->push_back(std::move(entry));
    offset = next;
  }
  return true;
}

ResId ResIdFromArgument(LPCWSTR id) {
  ResId result;
  if (IS_INTRESOURCE(id)) {
    result.ordinal = static_cast<WORD>(reinterpret_cast<UINT_PTR>(id));
    return result;
  }
  std::u16string_view text(id);
  if (text.size() > 1 && text.size() <= 6 && text[0] == u'#') {
    DWORD value = 0;
    bool digits = true;
    for (char16_t c : text.substr(1)) {
      if (c < u'0' || c > u'9') {
        digits = false;
        break;
      }
      value = value * 10 + (c - u'0');
    }
    if (digits && value <= 0xFFFF) {
      result.ordinal = static_cast<WORD>(value);
      return result;
    }
  }
  result.isOrdinal = false;
  result.name = FoldResName(text);
  return result;
}

std::u16string FoldResName(std::u16string_view text) {
  std::u16string folded(text);
  for (char16_t& c : folded) c = FoldChar(c);
  return folded;
}

}  // namespace platform
