// The folder of the running program file, from /proc/self/exe.
#include "platform/program_folder.h"

#include <unistd.h>

#include <vector>

#include "platform/utf8_codec.h"

namespace dovetam {

std::u16string ProgramFolder() {
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return u"/";
    if (static_cast<std::size_t>(n) < buf.size()) {
      std::string path(buf.data(), static_cast<std::size_t>(n));
      const std::size_t slash = path.rfind('/');
      return DecodeNative(slash == std::string::npos ? std::string("/")
                                                     : path.substr(0, slash + 1));
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace dovetam
