#include "dialog_template.h"

#include <cstring>

#include "user_internal.h"

namespace platform {
namespace {

class Reader {
 public:
  Reader(const void* data, std::size_t size) : base_(static_cast<const unsigned char*>(data)), size_(size) {}

  bool Word(WORD* out) {
    if (size_ - pos_ < 2 || pos_ > size_) return false;
    std::memcpy(out, base_ + pos_, 2);
    pos_ += 2;
    return true;
  }
  bool Dword(DWORD* out) {
    WORD lo, hi;
    if (!Word(&lo) || !Word(&hi)) return false;
    *out = MAKELONG(lo, hi);
    return true;
  }
  bool Short(short* out) {
    WORD w;
    if (!Word(&w)) return false;
    *out = static_cast<short>(w);
    return true;
  }
  bool String(std::u16string* out) {
    out->clear();
    for (WORD c; Word(&c);) {
      if (c == 0) return true;
      out->push_back(static_cast<char16_t>(c));
    }
    return false;
  }
  // A name-or-ordinal field.
  bool NameOrOrdinal(bool* isOrdinal, WORD* ordinal, std::u16string* name) {
    WORD first;
    if (!Word(&first)) return false;
    if (first == 0xFFFF) {
      *isOrdinal = true;
      name->clear();
      return Word(ordinal);
    }
    *isOrdinal = false;
    pos_ -= 2;
    return String(name);
  }
  bool AlignTo4() {
    std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
    if (aligned > size_) return false;
    pos_ = aligned;
    return true;
  }
  bool Skip(std::size_t n) {
    if (size_ - pos_ < n) return false;
    pos_ += n;
    return true;
  }

 private:
  const unsigned char* base_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out) {
  Reader r(data, size);
  DialogTemplate t;
  WORD count;
  if (!r.Dword(&t.style) || !r.Dword(&t.exStyle)) return false;
  if (HIWORD(t.style) == 0xFFFF) return false;  // extended form
  if (!r.Word(&count) || !r.Short(&t.x) || !r.Short(&t.y) || !r.Short(&t.cx) || !r.Short(&t.cy)) return false;
  bool ordinal;
  WORD value;
  std::u16string name;
  if (!r.NameOrOrdinal(&ordinal, &value, &name)) return false;  // menu: dialogs here have none
  if (!r.NameOrOrdinal(&ordinal, &value, &t.className)) return false;
  if (ordinal) t.className = ClassNameForOrdinal(value);
  if (!r.NameOrOrdinal(&ordinal, &value, &t.title)) return false;
  if (t.style & DS_SETFONT) {
    if (!r.Word(&t.pointSize) || !r.String(&t.typeface)) return false;
  }
  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    if (!r.AlignTo4() || !r.Dword(&item.style) || !r.Dword(&item.exStyle) || !r.Short(&item.x) || !r.Short(&item.y) ||
        !r.Short(&item.cx) || !r.Short(&item.cy) || !r.Word(&item.id))
      return false;
    if (!r.NameOrOrdinal(&ordinal, &value, &item.className)) return false;
    if (ordinal) item.className = ClassNameForOrdinal(value);
    if (!r.NameOrOrdinal(&item.titleIsOrdinal, &item.titleOrdinal, &item.title)) return false;
    WORD extra;
    if (!r.Word(&extra)) return false;
    if (extra > 0 && !r.Skip(extra - 2u)) return false;
    t.items.push_back(std::move(item));
  }
  *out = std::move(t);
  return true;
}

}  // namespace platform
