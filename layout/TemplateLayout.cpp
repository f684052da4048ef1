// The template is walked in place: fields are copied into locals as they are
// read (the bytes need not be aligned for their types) and nothing else is
// copied or allocated, so a relayout costs no memory however often the
// screen turns.
#include "TemplateLayout.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr WORD kOrdinalMark = 0xFFFF;  // first unit of a name-or-ordinal field holding an ordinal
constexpr WORD kNoId = 0xFFFF;
constexpr WORD kButtonClass = 0x80;
constexpr WORD kStaticClass = 0x82;
constexpr WORD kListBoxClass = 0x83;
constexpr WORD kComboBoxClass = 0x85;

WORD WordAt(const std::byte* at) {
  WORD value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

DWORD DwordAt(const std::byte* at) {
  DWORD value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

const std::byte* Bytes(const void* at) { return static_cast<const std::byte*>(at); }

// A position in the loaded template that never passes the resource's size.
class TemplateCursor {
 public:
  TemplateCursor(const std::byte* base, std::size_t size) : base_(base), size_(size) {}

  const std::byte* Here() const { return base_ + pos_; }

  bool Skip(std::size_t n) {
    if (size_ - pos_ < n) return false;
    pos_ += n;
    return true;
  }
  bool ReadWord(WORD* out) {
    if (size_ - pos_ < sizeof *out) return false;
    *out = WordAt(Here());
    pos_ += sizeof *out;
    return true;
  }
  // 0xFFFF and an ordinal, or a string up to and with its 0 unit.
  bool SkipNameOrOrdinal() {
    WORD unit;
    if (!ReadWord(&unit)) return false;
    if (unit == kOrdinalMark) return Skip(sizeof(WORD));
    while (unit != 0)
      if (!ReadWord(&unit)) return false;
    return true;
  }
  // Offsets count from the template's start, which the loader keeps on a
  // 4-byte boundary.
  bool AlignTo4() {
    std::size_t aligned = (pos_ + 3) & ~std::size_t{3};
    if (aligned > size_) return false;
    pos_ = aligned;
    return true;
  }
  // Creation data of |size| bytes counts its own size field, which starts at |fieldStart|.
  bool EndCreationData(const std::byte* fieldStart, WORD size) {
    std::size_t start = static_cast<std::size_t>(fieldStart - base_);
    if (size_ - start < size) return false;
    pos_ = start + size;
    return true;
  }

 private:
  const std::byte* base_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Checks the header and leaves the cursor after it.
bool ReadHeader(TemplateCursor& t, WORD* count) {
  const std::byte* header = t.Here();
  if (!t.Skip(sizeof(DLGTEMPLATE))) return false;
  DWORD style = DwordAt(header + offsetof(DLGTEMPLATE, style));
  // The extended form begins with a version and 0xFFFF; its fields are laid out otherwise.
  if (HIWORD(style) == 0xFFFF) return false;
  *count = WordAt(header + offsetof(DLGTEMPLATE, cdit));
  if (!t.SkipNameOrOrdinal() || !t.SkipNameOrOrdinal() || !t.SkipNameOrOrdinal()) return false;  // menu, class, title
  if (style & DS_SETFONT) return t.Skip(sizeof(WORD)) && t.SkipNameOrOrdinal();                  // point size, typeface
  return true;
}

struct ItemView {
  const DLGITEMTEMPLATE* item;
  const WORD* itemClass;
  const WORD* itemTitle;
  short x, y, cx, cy;
  WORD id;
};

// Checks one whole item before anything acts on it, and leaves the cursor after it.
bool ReadItem(TemplateCursor& t, ItemView* out) {
  if (!t.AlignTo4()) return false;
  const std::byte* item = t.Here();
  if (!t.Skip(sizeof(DLGITEMTEMPLATE))) return false;
  const std::byte* itemClass = t.Here();
  if (!t.SkipNameOrOrdinal()) return false;
  const std::byte* itemTitle = t.Here();
  if (!t.SkipNameOrOrdinal()) return false;
  const std::byte* sizeField = t.Here();
  WORD creationSize;
  if (!t.ReadWord(&creationSize)) return false;
  if (creationSize != 0 && !t.EndCreationData(sizeField, creationSize)) return false;

  out->item = reinterpret_cast<const DLGITEMTEMPLATE*>(item);
  out->itemClass = reinterpret_cast<const WORD*>(itemClass);
  out->itemTitle = reinterpret_cast<const WORD*>(itemTitle);
  out->x = static_cast<short>(WordAt(item + offsetof(DLGITEMTEMPLATE, x)));
  out->y = static_cast<short>(WordAt(item + offsetof(DLGITEMTEMPLATE, y)));
  out->cx = static_cast<short>(WordAt(item + offsetof(DLGITEMTEMPLATE, cx)));
  out->cy = static_cast<short>(WordAt(item + offsetof(DLGITEMTEMPLATE, cy)));
  out->id = WordAt(item + offsetof(DLGITEMTEMPLATE, id));
  return true;
}

// The new image replaces the old only once it has loaded; a control that had
// none has nothing to release.
void ReplaceImage(HINSTANCE module, HWND dialog, int id, DWORD style, WORD ordinal) {
  if ((style & SS_ICON) == SS_ICON) {
    auto old = reinterpret_cast<HICON>(SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_ICON, 0));
    HICON icon = LoadIconW(module, MAKEINTRESOURCEW(ordinal));
    if (!icon) return;
    SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    if (old) DestroyIcon(old);
  } else if ((style & SS_BITMAP) == SS_BITMAP) {
    auto old = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
    HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(ordinal));
    if (!bitmap) return;
    SendDlgItemMessageW(dialog, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    if (old) DeleteObject(old);
  }
}

void ReselectCurrent(HWND dialog, int id, UINT getMessage, UINT setMessage, LRESULT none) {
  LRESULT selection = SendDlgItemMessageW(dialog, id, getMessage, 0, 0);
  if (selection != none) SendDlgItemMessageW(dialog, id, setMessage, static_cast<WPARAM>(selection), 0);
}

}  // namespace

void RefreshControlContent(HINSTANCE module, HWND dialog, const DLGITEMTEMPLATE* item, const WORD* itemClass,
                           const WORD* itemTitle) {
  const std::byte* fixed = Bytes(item);
  const std::byte* classField = Bytes(itemClass);
  const std::byte* titleField = Bytes(itemTitle);
  // A class given by name gets no refresh.
  if (WordAt(classField) != kOrdinalMark) return;
  // The control is addressed by the item's id again, not by the window the walk found.
  int id = WordAt(fixed + offsetof(DLGITEMTEMPLATE, id));
  switch (WordAt(classField + sizeof(WORD))) {
    case kButtonClass:
    case kStaticClass:
      if (WordAt(titleField) == kOrdinalMark)
        ReplaceImage(module, dialog, id, DwordAt(fixed + offsetof(DLGITEMTEMPLATE, style)),
                     WordAt(titleField + sizeof(WORD)));
      else
        SetDlgItemTextW(dialog, id, reinterpret_cast<LPCWSTR>(itemTitle));
      break;
    case kListBoxClass:
      ReselectCurrent(dialog, id, LB_GETCURSEL, LB_SETCURSEL, LB_ERR);
      break;
    case kComboBoxClass:
      ReselectCurrent(dialog, id, CB_GETCURSEL, CB_SETCURSEL, CB_ERR);
      break;
    default:
      break;
  }
}

BOOL ApplyTemplateLayout(HINSTANCE module, HWND dialog, UINT templateId) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  if (!found) return FALSE;
  HGLOBAL loaded = LoadResource(module, found);
  if (!loaded) return FALSE;
  // A size of 0 (the size could not be read) leaves nothing to read.
  TemplateCursor cursor(Bytes(loaded), SizeofResource(module, found));
  WORD count;
  if (!ReadHeader(cursor, &count)) return FALSE;

  HDWP batch = BeginDeferWindowPos(count);
  if (!batch) return FALSE;
  bool succeeded = true;
  int itemsWithoutId = 0;
  for (WORD i = 0; i < count; ++i) {
    ItemView view;
    // A malformed item ends the walk; what was added so far is still applied.
    if (!ReadItem(cursor, &view)) {
      succeeded = false;
      break;
    }
    HWND control = GetDlgItem(dialog, view.id);
    if (!control) {
      succeeded = false;
      continue;
    }
    RECT rect{view.x, view.y, view.x + view.cx, view.y + view.cy};
    if (!MapDialogRect(dialog, &rect)) {
      succeeded = false;
      continue;
    }
    // The size comes from the converted corners, so that rounding never opens
    // a gap between neighbours. The batch survives a failed add.
    if (!DeferWindowPos(batch, control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        SWP_NOZORDER))
      succeeded = false;
    RefreshControlContent(module, dialog, view.item, view.itemClass, view.itemTitle);
    if (view.id == kNoId) ++itemsWithoutId;
  }
  if (!EndDeferWindowPos(batch)) succeeded = false;
  // Items without an id all reach the same control, so a template with several
  // of them cannot have laid the dialog out as it says.
  return succeeded && itemsWithoutId < 2 ? TRUE : FALSE;
}
