// Reading compiled resource (.res) images in place.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wintypes.h"

namespace platform {

// A resource type or name: an ordinal, or a string kept in upper case as the
// resource compiler stores it.
struct ResId {
  bool isOrdinal = true;
  WORD ordinal = 0;
  std::u16string name;
  bool operator==(const ResId&) const = default;
};

struct ResEntry {
  ResId type;
  ResId name;
  WORD language = 0;
  std::size_t offset = 0;  // of the data within the image; always a multiple of 4
  std::size_t size = 0;
};

// Reads the entries of |image|. A malformed or truncated image yields false
// and no entries: nothing of it is trusted. An empty image holds nothing.
bool ParseResImage(std::span<const std::byte> image, std::vector<ResEntry>* entries);

// The id a caller means by |id|: MAKEINTRESOURCE values are ordinals, "#123"
// is ordinal 123, anything else a name compared without regard to case.
ResId ResIdFromArgument(LPCWSTR id);

// Upper case as resource names compare: ASCII, Latin-1, Greek, Cyrillic and
// the full-width Latin letters.
std::u16string FoldResName(std::u16string_view text);

}  // namespace platform
