// The folder of the running program file, ending in "/".
#pragma once

#include <string>

namespace dovetam {

std::u16string ProgramFolder();

}  // namespace dovetam
