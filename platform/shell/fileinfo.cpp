// SHGetFileInfo: the shell's icon, display name and type name for a file.
//
// The shell decides by name alone and never opens the file; the attributes the
// caller gives stand for the file's own (a directory gets the folder icon).
// A name that is empty, or whose last component has no '.' at all (such as
// "\Windows\calc"), gets no icon: the call returns 0 and hIcon stays null, so
// the caller falls back to its own default icon.
//
// Not supported: SHGFI_EXETYPE, SHGFI_ATTRIBUTES, SHGFI_PIDL, SHGFI_OPENICON,
// SHGFI_SELECTED and overlays; with SHGFI_SYSICONINDEX the result is non-zero
// but there is no system image list behind it.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gdi_objects.h"
#include "service.h"
#include "shellapi.h"
#include "winbase.h"

namespace platform {
namespace {

enum class FileKind { Generic, Folder, Program, Library, Shortcut, Document, Picture, Sound, kCount };

struct KindInfo {
  const char16_t* typeName;
  std::vector<std::u16string_view> extensions;
};

const KindInfo& InfoOf(FileKind kind) {
  static const std::array<KindInfo, static_cast<std::size_t>(FileKind::kCount)> kInfo = {{
      {u"File", {}},
      {u"Folder", {}},
      {u"Application", {u"exe", u"com", u"bat"}},
      {u"Library", {u"dll", u"cpl", u"ocx"}},
      {u"Shortcut", {u"lnk"}},
      {u"Document", {u"txt", u"doc", u"pdf", u"htm", u"html", u"xml", u"ini", u"log", u"rtf", u"psw", u"pwi"}},
      {u"Picture", {u"bmp", u"jpg", u"jpeg", u"gif", u"png"}},
      {u"Sound", {u"wav", u"wma", u"mp3", u"mid"}},
  }};
  return kInfo[static_cast<std::size_t>(kind)];
}

std::u16string Lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower;
}

FileKind KindOfExtension(std::u16string_view extension) {
  std::u16string lower = Lower(extension);
  for (int k = 0; k < static_cast<int>(FileKind::kCount); ++k) {
    const KindInfo& info = InfoOf(static_cast<FileKind>(k));
    if (std::find(info.extensions.begin(), info.extensions.end(), lower) != info.extensions.end())
      return static_cast<FileKind>(k);
  }
  return FileKind::Generic;
}

std::u16string_view LastComponent(std::u16string_view path) {
  std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

// The kind for |path|, or nothing when the shell has no icon for it.
std::optional<FileKind> KindOf(std::u16string_view path, DWORD attributes) {
  if (path.empty()) return std::nullopt;
  bool directory = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (directory || path.back() == u'\\' || path.back() == u'/') return FileKind::Folder;
  std::u16string_view name = LastComponent(path);
  std::size_t dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::nullopt;
  return KindOfExtension(name.substr(dot + 1));
}

// --- The shell's pictures, 16 x 16 -------------------------------------------------

constexpr int kSmall = 16;
constexpr int kLarge = 32;

class Canvas {
 public:
  Canvas() {
    image_.width = kSmall;
    image_.height = kSmall;
    image_.argb.assign(kSmall * kSmall, 0);
  }
  void Fill(int x0, int y0, int x1, int y1, std::uint32_t argb) {  // inclusive corners
    for (int y = std::max(0, y0); y <= std::min(kSmall - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(kSmall - 1, x1); ++x) image_.argb[y * kSmall + x] = argb;
  }
  void Dot(int x, int y, std::uint32_t argb) { Fill(x, y, x, y, argb); }
  void Frame(int x0, int y0, int x1, int y1, std::uint32_t argb) {
    Fill(x0, y0, x1, y0, argb);
    Fill(x0, y1, x1, y1, argb);
    Fill(x0, y0, x0, y1, argb);
    Fill(x1, y0, x1, y1, argb);
  }
  Image Take() { return std::move(image_); }

 private:
  Image image_;
};

constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kGrey = 0xFF808080;
constexpr std::uint32_t kLightGrey = 0xFFC0C0C0;

// A page with a folded corner; documents add lines to it.
void Page(Canvas& c) {
  c.Fill(3, 1, 12, 14, kWhite);
  c.Frame(3, 1, 12, 14, kGrey);
  c.Fill(10, 1, 12, 3, 0);
  c.Fill(10, 1, 10, 3, kGrey);
  c.Fill(10, 3, 12, 3, kGrey);
  c.Dot(11, 2, kGrey);
}

Image GenericPicture() {
  Canvas c;
  Page(c);
  return c.Take();
}

Image DocumentPicture() {
  Canvas c;
  Page(c);
  for (int y = 5; y <= 12; y += 2) c.Fill(5, y, y == 5 ? 8 : 10, y, 0xFF2050C0);
  return c.Take();
}

Image ProgramPicture() {
  Canvas c;
  c.Fill(1, 2, 14, 13, kWhite);
  c.Frame(1, 2, 14, 13, 0xFF002080);
  c.Fill(1, 2, 14, 4, 0xFF0040C0);
  c.Fill(12, 3, 13, 3, kWhite);
  return c.Take();
}

Image LibraryPicture() {
  Canvas c;
  constexpr std::uint32_t kGear = 0xFF707880;
  c.Fill(4, 4, 11, 11, kGear);
  c.Fill(6, 1, 9, 14, kGear);
  c.Fill(1, 6, 14, 9, kGear);
  c.Fill(2, 2, 4, 4, kGear);
  c.Fill(11, 2, 13, 4, kGear);
  c.Fill(2, 11, 4, 13, kGear);
  c.Fill(11, 11, 13, 13, kGear);
  c.Fill(6, 6, 9, 9, kLightGrey);
  return c.Take();
}

Image ShortcutPicture() {
  Canvas c;
  constexpr std::uint32_t kArrow = 0xFF008000;
  c.Fill(1, 1, 14, 14, kWhite);
  c.Frame(1, 1, 14, 14, kBlack);
  c.Fill(7, 4, 11, 4, kArrow);  // arrow head pointing up and right
  c.Fill(11, 4, 11, 8, kArrow);
  for (int i = 0; i < 6; ++i) c.Fill(4 + i, 11 - i, 5 + i, 11 - i, kArrow);
  return c.Take();
}

Image FolderPicture() {
  Canvas c;
  constexpr std::uint32_t kYellow = 0xFFF0C830;
  constexpr std::uint32_t kEdge = 0xFF906810;
  c.Fill(1, 3, 6, 4, kYellow);
  c.Frame(1, 3, 6, 5, kEdge);
  c.Fill(1, 5, 14, 13, kYellow);
  c.Frame(1, 5, 14, 13, kEdge);
  return c.Take();
}

Image PicturePicture() {
  Canvas c;
  c.Fill(1, 2, 14, 13, 0xFF80C8FF);   // sky
  c.Fill(2, 9, 13, 12, 0xFF30A030);   // grass
  c.Fill(10, 4, 12, 6, 0xFFFFE000);   // sun
  c.Frame(1, 2, 14, 13, 0xFF604020);  // frame
  return c.Take();
}

Image SoundPicture() {
  Canvas c;
  constexpr std::uint32_t kSpeaker = 0xFF303030;
  constexpr std::uint32_t kWave = 0xFFC02020;
  c.Fill(2, 6, 4, 9, kSpeaker);
  for (int i = 0; i < 4; ++i) c.Fill(5 + i, 5 - i, 5 + i, 10 + i, kSpeaker);
  c.Fill(11, 6, 11, 9, kWave);
  c.Fill(13, 4, 13, 11, kWave);
  return c.Take();
}

Image Draw(FileKind kind) {
  switch (kind) {
    case FileKind::Folder:
      return FolderPicture();
    case FileKind::Program:
      return ProgramPicture();
    case FileKind::Library:
      return LibraryPicture();
    case FileKind::Shortcut:
      return ShortcutPicture();
    case FileKind::Document:
      return DocumentPicture();
    case FileKind::Picture:
      return PicturePicture();
    case FileKind::Sound:
      return SoundPicture();
    default:
      return GenericPicture();
  }
}

// Pictures are drawn once per kind and size; each call hands out a copy.
const Image& PictureOf(FileKind kind, bool large) {
  static std::array<std::optional<Image>, static_cast<std::size_t>(FileKind::kCount) * 2> cache;
  std::optional<Image>& slot = cache[static_cast<std::size_t>(kind) * 2 + (large ? 1 : 0)];
  if (!slot) slot = large ? ScaleImage(PictureOf(kind, false), kLarge, kLarge) : Draw(kind);
  return *slot;
}

void CopyName(std::u16string_view text, WCHAR* out, std::size_t capacity) {
  std::size_t n = std::min(text.size(), capacity - 1);
  std::copy_n(text.data(), n, out);
  out[n] = u'\0';
}

}  // namespace
}  // namespace platform

DWORD_PTR SHGetFileInfo(LPCWSTR path, DWORD fileAttributes, SHFILEINFOW* info, UINT infoSize, UINT flags) {
  platform::ServiceCall call("SHGetFileInfo");
  if (call.Fails()) return 0;
  if (!info || infoSize < sizeof(SHFILEINFOW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  *info = SHFILEINFOW{};
  std::u16string_view name = path ? std::u16string_view(path) : std::u16string_view();
  std::optional<platform::FileKind> kind = platform::KindOf(name, fileAttributes);
  if (!kind) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  if (flags & SHGFI_ICON) {
    bool large = !(flags & SHGFI_SMALLICON);
    info->hIcon = platform::NewIcon(platform::PictureOf(*kind, large));
    if (!info->hIcon) return 0;
  }
  info->iIcon = static_cast<int>(*kind);
  info->dwAttributes = 0;
  platform::CopyName(platform::LastComponent(name), info->szDisplayName, MAX_PATH);
  platform::CopyName(platform::InfoOf(*kind).typeName, info->szTypeName, std::size(info->szTypeName));
  return 1;
}
