// The paths of a drop from a file manager: the "text/uri-list" of the drop
// data. A local file URL gives its path with the bytes of the name kept as
// they are (names that are not UTF-8 included); any other URL gives its text,
// which names no object and is counted as not added.
#pragma once

#include <string>
#include <vector>

class QMimeData;

namespace dovetam {

// False when the data carries no file list.
bool DroppedPaths(const QMimeData* data, std::vector<std::u16string>& paths);

}  // namespace dovetam
