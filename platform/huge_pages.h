// Large buffers (the log and report texts of a big operation, tens of
// mebibytes) are first touched page by page; on a system that has to map
// every small page with a fault of its own, that costs more than filling
// them. Advised buffers are backed by huge pages where the system can.
#pragma once

#include <cstddef>

namespace dovetam {

// A hint only: nothing happens for a buffer below a few mebibytes or where
// the system does not take it, and the buffer's contents are never touched.
void AdviseHugePages(const void* data, std::size_t bytes);

// For a buffer that is about to be written whole: its pages are made in one
// call rather than with a fault each. A hint too (nothing happens where the
// system does not take it); the contents stay as they are.
void PrepareForWriting(void* data, std::size_t bytes);

}  // namespace dovetam
