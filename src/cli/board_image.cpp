#include "cli/board_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

namespace morvane {

namespace {
constexpr int kCellPixels = 12;
constexpr int kDotPixels = 4;
}  // namespace

std::string boardPng(const World& w) {
    QImage image(w.NumColumnas * kCellPixels, w.NumFilas * kCellPixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        for (int r = 0; r < w.NumFilas; ++r) {
            for (int c = 0; c < w.NumColumnas; ++c) {
                const auto& col = w.genoma(kActual, w.cellAt(r, c)).Colores;
                const int x = c * kCellPixels, y = r * kCellPixels;
                painter.fillRect(x, y, kCellPixels, kCellPixels, QColor(col[0], col[1], col[2]));
                const int off = (kCellPixels - kDotPixels) / 2;
                painter.fillRect(x + off, y + off, kDotPixels, kDotPixels,
                                 QColor(col[3], col[4], col[5]));
            }
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return {};
    return bytes.toStdString();
}

}  // namespace morvane
