// Makes the program's icons from its one picture, the 32 x 32 pixel-art hamburger in
// window/hamburger.xpm (drawn by scripts/make_icon.py):
//   xpm_to_png INPUT.xpm OUTPUT.png SIZE   one PNG for the desktop's icon theme, SIZE x SIZE
//   xpm_to_png INPUT.xpm OUTPUT.ico        the Windows icon: 16, 20, 24, 32, 40, 48, 64 and 256
//                                          pixels, the sizes Windows picks from at 100 % to 200 %
// Larger sizes repeat each pixel a whole number of times (2 x 2 for 64, 4 x 4 for 128, 8 x 8 for
// 256), so the pixel art stays sharp; where that does not fill the size (40, 48) the picture is
// centred on a transparent margin. Smaller sizes average the pixels each new pixel covers, so
// thin details such as the sesame seeds fade instead of vanishing or jumping about.
#include <QBuffer>
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int PictureSize = 32;

// The picture reduced to `size` (below 32) by averaging, weighted by how much of each source pixel
// a target pixel covers. Colours are averaged premultiplied by their opacity, so the transparent
// background darkens no edge.
QImage Reduced(const QImage& picture, int size) {
  const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage target(size, size, QImage::Format_ARGB32_Premultiplied);
  const double step = static_cast<double>(PictureSize) / size;  // source pixels per target pixel
  for (int ty = 0; ty < size; ++ty) {
    for (int tx = 0; tx < size; ++tx) {
      double sum[4] = {0, 0, 0, 0};
      const double x0 = tx * step, x1 = x0 + step, y0 = ty * step, y1 = y0 + step;
      for (int sy = static_cast<int>(y0); sy < y1 && sy < PictureSize; ++sy) {
        const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
        for (int sx = static_cast<int>(x0); sx < x1 && sx < PictureSize; ++sx) {
          const double w = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
          const QRgb p = source.pixel(sx, sy);
          sum[0] += w * qRed(p);
          sum[1] += w * qGreen(p);
          sum[2] += w * qBlue(p);
          sum[3] += w * qAlpha(p);
        }
      }
      const double area = step * step;
      auto channel = [&](int i) { return static_cast<int>(sum[i] / area + 0.5); };
      target.setPixel(tx, ty, qRgba(channel(0), channel(1), channel(2), channel(3)));
    }
  }
  return target.convertToFormat(QImage::Format_ARGB32);
}

// The picture at `size` x `size` pixels.
QImage IconAt(const QImage& picture, int size) {
  if (size < PictureSize) return Reduced(picture, size);
  const int factor = size / PictureSize;
  const QImage scaled =
      picture.scaled(PictureSize * factor, PictureSize * factor, Qt::IgnoreAspectRatio,
                     Qt::FastTransformation);  // nearest neighbour
  QImage icon(size, size, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const int margin = (size - scaled.width()) / 2;
  painter.drawImage(margin, margin, scaled);
  painter.end();
  return icon;
}

// One image of an .ico as a device-independent bitmap: the header with twice the height (colour
// rows, then the mask's), the palette for 8 bits per pixel, the colour rows and the transparency
// mask (1 = transparent), both bottom row first, each row padded to 4 bytes.
QByteArray IcoBitmap(const QImage& icon, int bits_per_pixel) {
  const int size = icon.width();
  std::vector<QRgb> palette;
  std::vector<int> indices;
  if (bits_per_pixel == 8) {
    palette.push_back(qRgb(0, 0, 0));  // under the transparent pixels
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb p = icon.pixel(x, y);
        int index = 0;
        if (qAlpha(p) >= 128) {
          const QRgb opaque = qRgb(qRed(p), qGreen(p), qBlue(p));
          auto found = std::find(palette.begin() + 1, palette.end(), opaque);
          if (found == palette.end()) found = palette.insert(found, opaque);
          index = static_cast<int>(found - palette.begin());
        }
        indices.push_back(index);
      }
    }
    if (palette.size() > 256) return {};
  }
  const int colour_stride = (size * bits_per_pixel / 8 + 3) / 4 * 4;
  const int mask_stride = (size + 31) / 32 * 4;

  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint32(40) << qint32(size) << qint32(2 * size) << quint16(1) << quint16(bits_per_pixel)
      << quint32(0) << quint32((colour_stride + mask_stride) * size) << qint32(0) << qint32(0)
      << quint32(bits_per_pixel == 8 ? 256 : 0) << quint32(0);
  if (bits_per_pixel == 8) {
    for (int i = 0; i < 256; ++i) {
      const QRgb c =
          i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
      out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    int written = 0;
    for (int x = 0; x < size; ++x) {
      const QRgb p = icon.pixel(x, y);
      if (bits_per_pixel == 8) {
        out << quint8(indices[static_cast<std::size_t>(y * size + x)]);
        written += 1;
      } else {
        out << quint8(qBlue(p)) << quint8(qGreen(p)) << quint8(qRed(p)) << quint8(qAlpha(p));
        written += 4;
      }
    }
    for (; written < colour_stride; ++written) out << quint8(0);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<quint8> row(static_cast<std::size_t>(mask_stride), 0);
    for (int x = 0; x < size; ++x) {
      if (qAlpha(icon.pixel(x, y)) < 128) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    for (quint8 b : row) out << b;
  }
  return bytes;
}

// The Windows icon: 32 pixels in 256 colours with a transparency mask (as the window's icon is
// described), 256 pixels as PNG, as Windows takes it at that size, and the other sizes in 32-bit
// colour with alpha.
QByteArray Ico(const QImage& picture) {
  struct Entry {
    int size;
    int bits_per_pixel;
    QByteArray data;
  };
  std::vector<Entry> entries = {{16, 32, {}}, {20, 32, {}}, {24, 32, {}}, {32, 8, {}},
                                {40, 32, {}}, {48, 32, {}}, {64, 32, {}}, {256, 32, {}}};
  for (Entry& e : entries) {
    const QImage icon = IconAt(picture, e.size);
    if (e.size == 256) {
      QBuffer buffer(&e.data);
      buffer.open(QIODevice::WriteOnly);
      if (!icon.save(&buffer, "PNG")) return {};
    } else {
      e.data = IcoBitmap(icon, e.bits_per_pixel);
    }
    if (e.data.isEmpty()) return {};
  }
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint16(0) << quint16(1) << quint16(entries.size());
  quint32 offset = 6 + 16 * static_cast<quint32>(entries.size());
  for (const Entry& e : entries) {
    // Width and height 0 stand for 256; a colour count of 0 for 256 colours or more.
    out << quint8(e.size % 256) << quint8(e.size % 256) << quint8(0) << quint8(0) << quint16(1)
        << quint16(e.bits_per_pixel) << quint32(e.data.size()) << quint32(offset);
    offset += static_cast<quint32>(e.data.size());
  }
  for (const Entry& e : entries)
    out.writeRawData(e.data.constData(), static_cast<int>(e.data.size()));
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fputs("usage: xpm_to_png INPUT.xpm OUTPUT.png SIZE | xpm_to_png INPUT.xpm OUTPUT.ico\n",
               stderr);
    return 2;
  }
  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);

  // QImage reads XPM and writes PNG with the handlers built into QtGui: no application object and
  // no display are needed.
  QImage picture;
  if (!picture.load(input, "XPM")) {
    std::fprintf(stderr, "xpm_to_png: cannot read %s as XPM\n", argv[1]);
    return 1;
  }
  if (picture.width() != PictureSize || picture.height() != PictureSize) {
    std::fprintf(stderr, "xpm_to_png: %s is %d x %d pixels, not %d x %d\n", argv[1],
                 picture.width(), picture.height(), PictureSize, PictureSize);
    return 1;
  }
  picture = picture.convertToFormat(QImage::Format_ARGB32);

  if (argc == 3) {
    const QByteArray ico = Ico(picture);
    QFile file(output);
    if (ico.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(ico) != ico.size()) {
      std::fprintf(stderr, "xpm_to_png: cannot write %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  const int size = std::atoi(argv[3]);
  if (size < 1 || size > 1024) {
    std::fprintf(stderr, "xpm_to_png: no icon of %s pixels\n", argv[3]);
    return 1;
  }
  if (!IconAt(picture, size).save(output, "PNG")) {
    std::fprintf(stderr, "xpm_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
