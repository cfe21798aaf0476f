// Converts the window's XPM icon into the PNG that the desktop's icon theme takes, at build time,
// so that the hamburger has a single source: window/hamburger.xpm.
//   xpm_to_png INPUT.xpm OUTPUT.png SIZE
// Fails unless the picture loads and is SIZE x SIZE pixels, since the theme folder it is
// installed into names that size.
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: xpm_to_png INPUT.xpm OUTPUT.png SIZE\n", stderr);
    return 2;
  }
  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);
  const int size = std::atoi(argv[3]);

  // QImage reads XPM and writes PNG with the handlers built into QtGui: no application object and
  // no display are needed.
  QImage image;
  if (!image.load(input, "XPM")) {
    std::fprintf(stderr, "xpm_to_png: cannot read %s as XPM\n", argv[1]);
    return 1;
  }
  if (image.width() != size || image.height() != size) {
    std::fprintf(stderr, "xpm_to_png: %s is %d x %d pixels, not %d x %d\n", argv[1], image.width(),
                 image.height(), size, size);
    return 1;
  }
  if (!image.convertToFormat(QImage::Format_ARGB32).save(output, "PNG")) {
    std::fprintf(stderr, "xpm_to_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
