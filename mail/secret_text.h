#pragma once
// Memory that held a password is wiped before it goes back to the heap: the sign-in text, the
// outbox that carries it to the socket and the buffers the TLS layer encrypts it in. A vector
// with a wiping allocator rather than a string: a string keeps short texts inside the object
// and copies them on a move, where no allocator sees them.
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

// Writes zeros over the bytes in a way the optimiser may not drop: the barrier tells it the
// memory is read afterwards. As fast as memset, which matters for a message of megabytes.
inline void WipeBytes(void* data, std::size_t size) {
  if (size == 0) return;
  std::memset(data, 0, size);
  __asm__ __volatile__("" : : "r"(data) : "memory");
}

template <typename T>
struct WipingAllocator {
  using value_type = T;
  WipingAllocator() = default;
  template <typename U>
  WipingAllocator(const WipingAllocator<U>&) {}  // NOLINT: allocators convert implicitly
  T* allocate(std::size_t count) { return std::allocator<T>{}.allocate(count); }
  void deallocate(T* data, std::size_t count) {
    WipeBytes(data, count * sizeof(T));
    std::allocator<T>{}.deallocate(data, count);
  }
  template <typename U>
  bool operator==(const WipingAllocator<U>&) const {
    return true;
  }
};

using WipedBytes = std::vector<char, WipingAllocator<char>>;

class SecretText {
 public:
  SecretText() = default;
  explicit SecretText(std::string_view text) { Append(text); }
  SecretText(SecretText&&) noexcept = default;
  SecretText& operator=(SecretText&&) noexcept = default;
  SecretText(const SecretText&) = delete;
  SecretText& operator=(const SecretText&) = delete;
  ~SecretText() { Clear(); }

  void Append(std::string_view text) { bytes_.insert(bytes_.end(), text.begin(), text.end()); }
  std::string_view View() const { return {bytes_.data(), bytes_.size()}; }
  bool Empty() const { return bytes_.empty(); }
  void Clear() {
    WipeBytes(bytes_.data(), bytes_.size());
    bytes_.clear();
  }

 private:
  WipedBytes bytes_;
};
