#pragma once

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

// Saves a 300 x 200 picture, red on its left half and blue on its right, in `dir`; its path.
inline QString SaveSplitPicture(const QTemporaryDir& dir) {
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QPainter(&picture).fillRect(0, 0, 150, 200, Qt::red);
    const QString path = dir.filePath("split.png");
    return picture.save(path) ? path : QString();
}
