// The program's bitmaps. Those of the first frame (the logo, also the
// window's icon, and the sigma squared) are compiled in as XPM: decoding
// them needs none of the image-format plugins, whose discovery alone costs
// more at start-up than the decoding. The others are PNG resources, decoded
// when first shown; their size is read from the PNG header.
#include <QFile>
#include <QPixmap>
#include <cstring>
#include <iterator>

#include "resources/logo.xpm"
#include "resources/sigma2.xpm"
#include "ui/qt/internal.h"

namespace ui {

namespace {

// The compiled-in bitmap of that name, decoded once; null if none.
const QImage* CompiledIn(const std::string& name) {
  struct Compiled {
    const char* name;
    const char* const* xpm;
  };
  static const Compiled kCompiled[] = {{"logo.xpm", logo_xpm}, {"sigma2.xpm", sigma2_xpm}};
  static QImage decoded[std::size(kCompiled)];
  for (size_t i = 0; i < std::size(kCompiled); ++i) {
    if (name != kCompiled[i].name) continue;
    if (decoded[i].isNull()) decoded[i] = QImage(kCompiled[i].xpm);
    return &decoded[i];
  }
  return nullptr;
}

}  // namespace

QSize PictureSize(const std::string& name) {
  if (const QImage* image = CompiledIn(name)) return image->size();
  // A PNG file starts with its signature and its header chunk, which holds
  // the width and the height (big-endian).
  QFile file(":/" + Q(name));
  const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(24) : QByteArray();
  int w = 0, h = 0;
  const bool png = PngSize(reinterpret_cast<const unsigned char*>(head.constData()),
                           static_cast<size_t>(head.size()), w, h);
  return png ? QSize(w, h) : QSize();
}

bool PicturePixels(const std::string& name, int& width, int& height) {
  const QSize size = PictureSize(name);
  const bool valid = size.isValid();
  width = valid ? size.width() : 0;
  height = valid ? size.height() : 0;
  return valid;
}

QPixmap LoadPicture(const std::string& name) {
  if (const QImage* image = CompiledIn(name)) return QPixmap::fromImage(*image);
  return QPixmap(":/" + Q(name));
}

}  // namespace ui
