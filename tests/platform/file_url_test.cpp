// File URLs carry the bytes of the path on disk, those of a folder name that
// is not UTF-8 too, percent-encoded where a URL needs it.
#include "platform/file_url.h"

#include <gtest/gtest.h>

#include "platform/utf8_codec.h"

namespace dovetam {
namespace {

struct UrlCase {
  const char* name;
  std::u16string path;
  std::u16string fragment;
  std::u16string url;
};

TEST(FileUrlTest, EncodesTheBytesOfThePath) {
  const UrlCase cases[] = {
      {"plain", u"/opt/dovetam/dovetam_help.html", u"", u"file:///opt/dovetam/dovetam_help.html"},
      {"fragment", u"/opt/help.html", u"12", u"file:///opt/help.html#12"},
      {"signs kept", u"/a-._~!$&'()*+,;=:@[]b", u"", u"file:///a-._~!$&'()*+,;=:@[]b"},
      {"signs encoded", u"/a \"#%<>?\\^`{|}b", u"60",
       u"file:///a%20%22%23%25%3C%3E%3F%5C%5E%60%7B%7C%7Db#60"},
      {"control characters", u"/a\tb\nc\x7f", u"", u"file:///a%09b%0Ac%7F"},
      {"UTF-8", u"/é/日本/x.html", u"", u"file:///%C3%A9/%E6%97%A5%E6%9C%AC/x.html"},
      {"bytes that are not UTF-8", DecodeNative("/help\xff\x80/x.html"), u"12",
       u"file:///help%FF%80/x.html#12"},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.url, FileUrl(c.path, c.fragment));
  }
}

}  // namespace
}  // namespace dovetam
