// Growing a table with its contents kept, or failing without change.
//
// TryResize is the one place where the tables of the lists and of the rule
// engine get bigger (TryRecreate makes one anew, its contents dropped). It
// refuses when the new size passes the allocation limit of the build (see
// capacities.h) or when the allocation itself fails; in both cases the table
// is left exactly as it was and the caller says "memory short" with its text
// of core/common/memory_short.h.
//
// The indexes and texts of a run, re-run or restore grow without a check at
// every step: memory running out there stops the whole operation at its edge
// (operation_frame.h). AllowGrowth makes their limits fail as such an
// allocation does, with std::bad_alloc, so that both take one road.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>
#include <vector>

namespace dovetam {

template <class T>
bool TryResize(std::vector<T>& table, std::size_t newSize, std::size_t allocationLimit) {
  if (newSize > allocationLimit) return false;
  try {
    table.resize(newSize);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

// Makes `table` anew with `newSize` elements of their first value, or
// leaves it as it was (false), as TryResize.
template <class T>
bool TryRecreate(std::vector<T>& table, std::size_t newSize, std::size_t allocationLimit) {
  if (newSize > allocationLimit) return false;
  try {
    std::vector<T> fresh(newSize);
    table.swap(fresh);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

// Throws std::bad_alloc when a table or text is to grow past its limit.
inline void AllowGrowth(std::size_t newSize, std::size_t limit) {
  if (newSize > limit) throw std::bad_alloc();
}

// Room for `size` elements (a vector) or characters (a string) ahead of many
// single steps, so that they do not move the contents again and again. Only
// a hint: a refusal, by the limit or by the allocation, leaves the steps
// themselves to meet the need.
template <class Table>
void ReserveHint(Table& table, std::size_t size, std::size_t limit) noexcept {
  if (size > limit) return;
  try {
    table.reserve(size);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

}  // namespace dovetam
