// Growing a table with its contents kept, or failing without change.
//
// TryResize is the one place where tables get bigger. It refuses when the new
// size passes the allocation limit of the build (see capacities.h) or when the
// allocation itself fails; in both cases the table is left exactly as it was
// and the caller reports "memory short" in its own words.
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

}  // namespace dovetam
