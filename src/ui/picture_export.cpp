#include "ui/picture_export.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "ui/session.h"

namespace morvane {

WriteOutcome savePicture(
    const QString& path, QSize size, const std::function<void(QPainter&, const QRectF&)>& paint,
    const std::function<WriteOutcome(const std::string&, std::string_view)>& write) {
    if (size.width() < 1 || size.height() < 1)
        return {false, "cannot write " + path.toStdString() + ": the picture has no pixels"};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {false, "cannot write " + path.toStdString() + ": the picture cannot be encoded"};
    const std::string_view png(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return write ? write(path.toStdString(), png) : writeFileAtomically(path.toStdString(), png);
}

bool exportPicture(QWidget* parent, const QString& title, QSize proposed,
                   const std::function<void(QPainter&, const QRectF&)>& paint) {
    Session& s = Session::instance();
    const Dialogs::ImageChoice choice = s.saveImage(parent, title, proposed);
    if (choice.path.isEmpty()) return false;
    const WriteOutcome written = savePicture(
        choice.path, choice.size, paint,
        [&s](const std::string& path, std::string_view bytes) { return s.writeFile(path, bytes); });
    if (!written.ok) s.info(parent, QString::fromStdString(written.reason));
    return written.ok;
}

}  // namespace morvane
