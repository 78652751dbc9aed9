// The solver's transposition table (internal to solver/, here so that it can be tested alone).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zendra::solver {

// Memory for the search's large tables, in huge pages where the system gives them on request
// (Linux's transparent huge pages): the tables are read at random across tens of megabytes, and
// with 4 KB pages most lookups miss the address cache as well as the data cache, and the growing
// table takes a page fault every 4 KB. Small blocks come from the usual allocator.
template <class T>
struct LargePageAllocator {
  using value_type = T;
  static constexpr size_t kHugePage = size_t{2} << 20;

  LargePageAllocator() = default;
  template <class U>
  LargePageAllocator(const LargePageAllocator<U>&) {}

  T* allocate(size_t n) {
    const size_t bytes = n * sizeof(T);
    if (bytes < kHugePage) return std::allocator<T>{}.allocate(n);
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (!block) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(block, rounded, MADV_HUGEPAGE);  // a hint: without it the pages are small
#endif
    return static_cast<T*>(block);
  }
  void deallocate(T* block, size_t n) {
    if (n * sizeof(T) < kHugePage) {
      std::allocator<T>{}.deallocate(block, n);
      return;
    }
    std::free(block);
  }
  template <class U>
  bool operator==(const LargePageAllocator<U>&) const {
    return true;
  }
};

// The transposition table: proof and disproof numbers by position key, in one flat array with
// linear probing (a lookup is mostly one cache line; the search looks up every child of every
// node it enters). Key 0 marks a free slot, so a position whose key is 0 is never stored. Grows
// at half full; erasing shifts the entries after the slot back (no tombstones).
class ProofTable {
 public:
  struct Entry {
    uint64_t key = 0;
    uint32_t pn = 0;
    uint32_t dn = 0;
  };

  const Entry* Find(uint64_t key) const {
    if (key == 0 || entries_.empty()) return nullptr;
    for (size_t i = Slot(key);; i = (i + 1) & mask_) {
      const Entry& e = entries_[i];
      if (e.key == key) return &e;
      if (e.key == 0) return nullptr;
    }
  }

  // Asks the processor to bring the key's slot into the cache: a caller about to look up many
  // keys issues these first, so that the cache misses overlap instead of coming one by one.
  void Prefetch(uint64_t key) const {
    if (!entries_.empty()) __builtin_prefetch(&entries_[Slot(key)]);
  }

  void Put(uint64_t key, uint32_t pn, uint32_t dn) {
    if (key == 0) return;
    if (2 * (size_ + 1) > entries_.size()) Grow();
    for (size_t i = Slot(key);; i = (i + 1) & mask_) {
      Entry& e = entries_[i];
      if (e.key == 0) ++size_;
      if (e.key == 0 || e.key == key) {
        e = Entry{key, pn, dn};
        return;
      }
    }
  }

  void Erase(uint64_t key) {
    if (key == 0 || entries_.empty()) return;
    size_t i = Slot(key);
    while (entries_[i].key != key) {
      if (entries_[i].key == 0) return;
      i = (i + 1) & mask_;
    }
    // Shift back every later entry of the run that may sit at the freed slot.
    for (size_t j = (i + 1) & mask_; entries_[j].key != 0; j = (j + 1) & mask_) {
      const size_t home = Slot(entries_[j].key);
      // Movable when its home is not in the cyclic range (i, j].
      const bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
      if (between) continue;
      entries_[i] = entries_[j];
      i = j;
    }
    entries_[i] = Entry{};
    --size_;
  }

 private:
  using Entries = std::vector<Entry, LargePageAllocator<Entry>>;

  size_t Slot(uint64_t key) const { return static_cast<size_t>(key >> 20) & mask_; }

  void Grow() {
    Entries old = std::move(entries_);
    entries_.assign(old.empty() ? size_t{1} << 12 : 2 * old.size(), Entry{});
    mask_ = entries_.size() - 1;
    size_ = 0;
    for (const Entry& e : old)
      if (e.key != 0) Put(e.key, e.pn, e.dn);
  }

  Entries entries_;
  size_t mask_ = 0;
  size_t size_ = 0;
};

}  // namespace zendra::solver
