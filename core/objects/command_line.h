// Splitting one command-line text into object paths.
//
// Paths are separated by blanks (the space character only; a tab is part of a
// path). A path that begins with a double quote may hold blanks and ends at
// the next double quote that is followed by a blank or the end of the text;
// inside it two double quotes stand for one, a double quote followed by any
// other character stays in the path, and a path without its closing quote
// runs to the end of the text. A double quote inside an unquoted path is an
// ordinary character. "" gives one empty path.
//
// The program itself receives its arguments already split by the shell, one
// path each, and does not call this: it stays, tested, as the reading of one
// whole command-line text by these quoting rules, one pass from left to right.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dovetam {

std::vector<std::u16string> SplitCommandLine(std::u16string_view text);

}  // namespace dovetam
