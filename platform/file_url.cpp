// File URLs from the bytes of a path (see file_url.h).
#include "platform/file_url.h"

#include "platform/utf8_codec.h"

namespace dovetam {
namespace {

bool KeptAsItIs(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  for (const char kept : std::string_view("/-._~!$&'()*+,;=:@[]")) {
    if (c == static_cast<unsigned char>(kept)) return true;
  }
  return false;
}

void AppendEncoded(std::u16string_view text, std::u16string& url) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  for (const char byte : EncodeNativeLossy(text)) {
    const auto c = static_cast<unsigned char>(byte);
    if (KeptAsItIs(c)) {
      url += static_cast<char16_t>(c);
    } else {
      url += u'%';
      url += kHex[c >> 4];
      url += kHex[c & 0xF];
    }
  }
}

}  // namespace

std::u16string FileUrl(std::u16string_view path, std::u16string_view fragment) {
  std::u16string url = u"file://";
  AppendEncoded(path, url);
  if (!fragment.empty()) {
    url += u'#';
    AppendEncoded(fragment, url);
  }
  return url;
}

}  // namespace dovetam
