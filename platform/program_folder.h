// The folder of the running program file, ending in "/"; empty when the
// system does not tell it (a folder deeper than a path it gives whole, 4,096
// bytes). The program's own files (help, log, report) are only ever looked
// for there: without it they are not found, never looked for elsewhere.
#pragma once

#include <string>

namespace dovetam {

std::u16string ProgramFolder();

}  // namespace dovetam
