// Not a test: prints the folder of the running program as ProgramFolder()
// finds it, "folder:" and its bytes (nothing after the colon when it is
// unknown), for program_folder_test.cpp, which runs copies of it.
#include <cstdio>
#include <string>

#include "platform/program_folder.h"
#include "platform/utf8_codec.h"

int main() {
  const std::string line = "folder:" + dovetam::EncodeNativeLossy(dovetam::ProgramFolder()) + "\n";
  return std::fwrite(line.data(), 1, line.size(), stdout) == line.size() && std::fflush(stdout) == 0
             ? 0
             : 1;
}
