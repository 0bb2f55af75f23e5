// The file: URL of a local path, for a program that is handed URLs (the
// browser the help opens in): "file://", then the bytes of the path on disk
// (utf8_codec.h: a byte of a name that is not UTF-8 is that byte again), each
// byte that a URL's path cannot hold as it is written as %XX (upper-case
// hex), then "#" and the fragment when there is one. Letters, digits and
// / - . _ ~ ! $ & ' ( ) * + , ; = : @ [ ] stay as they are; a blank, the
// other ASCII signs, control characters and every byte of 0x80 and above are
// encoded. So "/a b/é/x.html", fragment "12", gives
// "file:///a%20b/%C3%A9/x.html#12", and a folder byte 0xFF gives "%FF".
#pragma once

#include <string>
#include <string_view>

namespace dovetam {

std::u16string FileUrl(std::u16string_view path, std::u16string_view fragment = {});

}  // namespace dovetam
