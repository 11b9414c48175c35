#include "heap_counter.h"

#include <malloc.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void __libc_free(void*);
}

namespace pelo::bench {

namespace {

std::atomic<std::int64_t> held{0};
std::atomic<std::int64_t> peak{0};

void Add(void* block) {
  if (block == nullptr) return;
  const auto now = held.fetch_add(static_cast<std::int64_t>(malloc_usable_size(block))) +
                   static_cast<std::int64_t>(malloc_usable_size(block));
  std::int64_t top = peak.load();
  while (now > top && !peak.compare_exchange_weak(top, now)) {
  }
}

void Remove(void* block) {
  if (block != nullptr) held.fetch_sub(static_cast<std::int64_t>(malloc_usable_size(block)));
}

// The anonymous mappings the module makes for its large buffers. Only
// direct calls of mmap reach the replacements below (the C library's own
// use does not), so a few slots under a spin lock are enough. A mapping
// may be given back in parts (the module trims its own to align them).
struct Mapping {
  std::uintptr_t start = 0;
  std::size_t length = 0;
};
Mapping mappings[64];
std::atomic_flag mappingsLock = ATOMIC_FLAG_INIT;

class MappingsLock {
 public:
  MappingsLock() {
    while (mappingsLock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~MappingsLock() { mappingsLock.clear(std::memory_order_release); }
};

void AddMapping(void* address, std::size_t length) {
  MappingsLock lock;
  for (Mapping& m : mappings) {
    if (m.length != 0) continue;
    m = {reinterpret_cast<std::uintptr_t>(address), length};
    const auto now =
        held.fetch_add(static_cast<std::int64_t>(length)) + static_cast<std::int64_t>(length);
    std::int64_t top = peak.load();
    while (now > top && !peak.compare_exchange_weak(top, now)) {
    }
    return;
  }
}

// Unmaps a whole mapping, its head or its tail.
void RemoveMapping(void* address, std::size_t length) {
  MappingsLock lock;
  const auto start = reinterpret_cast<std::uintptr_t>(address);
  for (Mapping& m : mappings) {
    if (m.length == 0 || start < m.start || start >= m.start + m.length) continue;
    const std::size_t removed = std::min(length, m.start + m.length - start);
    if (start == m.start) m.start += removed;
    m.length -= removed;
    held.fetch_sub(static_cast<std::int64_t>(removed));
    return;
  }
}

}  // namespace

std::int64_t HeapCounter::Current() {
  return held.load();
}

std::int64_t HeapCounter::Peak() {
  return peak.load();
}

void HeapCounter::ResetPeak() {
  peak.store(held.load());
}

}  // namespace pelo::bench

// The process's allocator, counted. glibc lets a program replace these; the
// originals stay reachable under their __libc_ names.
extern "C" {

void* malloc(std::size_t size) {
  void* block = __libc_malloc(size);
  pelo::bench::Add(block);
  return block;
}

void* calloc(std::size_t count, std::size_t size) {
  void* block = __libc_calloc(count, size);
  pelo::bench::Add(block);
  return block;
}

void* realloc(void* old, std::size_t size) {
  const auto before = old == nullptr ? 0 : static_cast<std::int64_t>(malloc_usable_size(old));
  void* block = __libc_realloc(old, size);
  if (block == nullptr && size != 0) return nullptr;  // the old block is still held
  pelo::bench::held.fetch_sub(before);
  pelo::bench::Add(block);
  return block;
}

void free(void* block) {
  pelo::bench::Remove(block);
  __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) {
  void* block = __libc_memalign(alignment, size);
  pelo::bench::Add(block);
  return block;
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
  return memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
  void* block = memalign(alignment, size);
  if (block == nullptr) return ENOMEM;
  *out = block;
  return 0;
}

// Anonymous mappings count as heap: the module takes its large buffers so.
void* mmap(void* address, std::size_t length, int protection, int flags, int fd, off_t offset) {
  const long result = syscall(SYS_mmap, address, length, protection, flags, fd, offset);
  if (result == -1) return MAP_FAILED;
  void* mapped = reinterpret_cast<void*>(result);
  if ((flags & MAP_ANONYMOUS) != 0) pelo::bench::AddMapping(mapped, length);
  return mapped;
}

int munmap(void* address, std::size_t length) {
  const int result = static_cast<int>(syscall(SYS_munmap, address, length));
  if (result == 0) pelo::bench::RemoveMapping(address, length);
  return result;
}

}  // extern "C"
