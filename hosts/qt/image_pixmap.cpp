#include "hosts/qt/image_pixmap.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace jc::qt {
namespace {

constexpr std::uint32_t kLock = fourCharCode("lock");
constexpr std::uint32_t kUnlock = fourCharCode("ulck");

QSize sizeOf(const Image& image) {
  return QSize(image.width > 0 ? image.width : 16, image.height > 0 ? image.height : 16);
}

// A padlock: the body below, the shackle above, swung open for `open`.
QPixmap padlock(QSize size, bool open) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink = QApplication::palette().color(QPalette::WindowText);
  const qreal w = size.width();
  const qreal h = size.height();
  const QRectF body(w * 0.18, h * 0.45, w * 0.64, h * 0.48);
  QPen pen(ink, std::max<qreal>(1.5, w / 9));
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const qreal shackleWidth = w * 0.42;
  const qreal left = open ? w * 0.52 : (w - shackleWidth) / 2;
  QPainterPath shackle;
  shackle.moveTo(left, body.top() + (open ? -h * 0.08 : 0));
  shackle.lineTo(left, h * 0.32);
  shackle.arcTo(QRectF(left, h * 0.08, shackleWidth, h * 0.48), 180, -180);
  shackle.lineTo(left + shackleWidth, body.top());
  p.drawPath(shackle);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawRoundedRect(body, w * 0.08, w * 0.08);
  return pixmap;
}

}  // namespace

QPixmap pixmapFor(const ImagePtr& image) {
  if (!image) return {};
  const QSize size = sizeOf(*image);
  if (image->iconType == kLock || image->iconType == kUnlock)
    return padlock(size, image->iconType == kUnlock);
  if (!image->file.empty()) {
    QPixmap file(QString::fromStdString(image->file.string()));
    if (!file.isNull()) return file.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  QPixmap blank(size);
  blank.fill(Qt::transparent);
  return blank;
}

// One icon per picture and size: a pop-up of thousands of folders shows the
// same two pictures thousands of times.
QIcon iconFor(const ImagePtr& image) {
  if (!image) return {};
  static QHash<QString, QIcon> icons;
  const QString key = QStringLiteral("%1/%2/%3x%4")
                          .arg(image->iconType)
                          .arg(QString::fromStdString(image->file.string()))
                          .arg(image->width)
                          .arg(image->height);
  auto it = icons.find(key);
  if (it == icons.end()) it = icons.insert(key, QIcon(pixmapFor(image)));
  return *it;
}

}  // namespace jc::qt
