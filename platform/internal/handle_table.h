// A table of live objects addressed by handles.
//
// A handle packs the table's kind tag, a slot index and the slot's generation,
// so a handle that was released, or that belongs to another kind, finds
// nothing. Handle values are never 0 and never -1 (INVALID_HANDLE_VALUE).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

enum class HandleKind : std::uint8_t {
  File = 1,
  Find,
  Icon,
  Bitmap,
  ImageList,
  Window,
  DeferBatch,
  Mutex,
  Menu,
  Resource,
  Module,
  RemoteWindow,
  Process,
};

template <class T>
class HandleTable {
 public:
  explicit HandleTable(HandleKind kind) : kind_(kind) {}

  template <class H>
  H Add(std::unique_ptr<T> object) {
    std::size_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      index = slots_.size();
      slots_.push_back({});
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    ++live_;
    return reinterpret_cast<H>(Encode(index, slot.generation));
  }

  template <class H>
  T* Find(H handle) const {
    const Slot* slot = SlotOf(reinterpret_cast<std::uintptr_t>(handle));
    return slot ? slot->object.get() : nullptr;
  }

  // Removes the object; returns it so the caller can finish releasing it.
  template <class H>
  std::unique_ptr<T> Remove(H handle) {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    Slot* slot = const_cast<Slot*>(SlotOf(value));
    if (!slot) return nullptr;
    std::unique_ptr<T> object = std::move(slot->object);
    ++slot->generation;
    free_.push_back(IndexOf(value));
    --live_;
    return object;
  }

  std::size_t Live() const { return live_; }

  // Visits every live object in slot order.
  template <class F>
  void ForEach(F&& visit) const {
    for (std::size_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].object) visit(Encode(i, slots_[i].generation), *slots_[i].object);
  }

  void Clear() {
    slots_.clear();
    free_.clear();
    live_ = 0;
  }

 private:
  struct Slot {
    std::unique_ptr<T> object;
    std::uint32_t generation = 1;
  };

  // [kind:8][generation:24][index+1:24], kept within 56 bits.
  std::uintptr_t Encode(std::size_t index, std::uint32_t generation) const {
    return (static_cast<std::uintptr_t>(kind_) << 48) | (static_cast<std::uintptr_t>(generation & 0xFFFFFF) << 24) |
           static_cast<std::uintptr_t>(index + 1);
  }
  static std::size_t IndexOf(std::uintptr_t value) { return static_cast<std::size_t>(value & 0xFFFFFF) - 1; }

  const Slot* SlotOf(std::uintptr_t value) const {
    if ((value >> 48) != static_cast<std::uintptr_t>(kind_)) return nullptr;
    if ((value & 0xFFFFFF) == 0) return nullptr;
    std::size_t index = IndexOf(value);
    if (index >= slots_.size()) return nullptr;
    const Slot& slot = slots_[index];
    if (!slot.object || (slot.generation & 0xFFFFFF) != ((value >> 24) & 0xFFFFFF)) return nullptr;
    return &slot;
  }

  HandleKind kind_;
  std::vector<Slot> slots_;
  std::vector<std::size_t> free_;
  std::size_t live_ = 0;
};

}  // namespace platform
