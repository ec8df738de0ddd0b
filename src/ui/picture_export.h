#pragma once

#include <QSize>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "io/atomic_writer.h"

class QPainter;
class QRectF;
class QWidget;

namespace morvane {

// Paints a picture of `size` pixels into an image (no window needed, so it works offscreen and
// with the window closed) and writes it as PNG through `write` (the one writer unless given).
WriteOutcome savePicture(
    const QString& path, QSize size, const std::function<void(QPainter&, const QRectF&)>& paint,
    const std::function<WriteOutcome(const std::string&, std::string_view)>& write = {});

// Asks for a file and a size (proposing `proposed`), saves the picture through the session's
// writer, and says in an "Info" box why it could not be written. False when the user cancelled or
// the write failed.
bool exportPicture(QWidget* parent, const QString& title, QSize proposed,
                   const std::function<void(QPainter&, const QRectF&)>& paint);

}  // namespace morvane
