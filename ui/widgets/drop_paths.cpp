// Paths of dropped data (see drop_paths.h).
#include "ui/widgets/drop_paths.h"

#include <QByteArray>
#include <QMimeData>
#include <QUrl>

#include "platform/utf8_codec.h"

namespace dovetam {

bool DroppedPaths(const QMimeData* data, std::vector<std::u16string>& paths) {
  paths.clear();
  if (data == nullptr || !data->hasFormat(QStringLiteral("text/uri-list"))) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) {
      const QByteArray bytes =
          QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
      paths.push_back(DecodeNative(std::string_view(bytes.constData(), bytes.size())));
    } else {
      paths.push_back(url.toString().toStdU16String());
    }
  }
  return true;
}

}  // namespace dovetam
