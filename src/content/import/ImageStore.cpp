#include "content/import/ImageStore.h"

#include <algorithm>

ImageStore::ImageStore(int maxWidth, int maxHeight)
    : m_maxWidth(maxWidth), m_maxHeight(maxHeight) {}

QSize ImageStore::KeptSize(QSize size) const {
    double factor = 1.0;
    if (m_maxWidth >= 0 && size.width() > m_maxWidth) {
        factor = std::min(factor, double(m_maxWidth) / size.width());
    }
    if (m_maxHeight >= 0 && size.height() > m_maxHeight) {
        factor = std::min(factor, double(m_maxHeight) / size.height());
    }
    if (factor >= 1.0) {
        return size;
    }
    // Truncated to whole pixels, but never to nothing.
    return {std::max(1, int(size.width() * factor)), std::max(1, int(size.height() * factor))};
}

QImage ImageStore::Fit(const QImage& picture) const {
    const QSize fitted = KeptSize(picture.size());
    return fitted == picture.size()
               ? picture
               : picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

bool ImageStore::AddImage(const QImage& picture, int delayMs) {
    if (picture.isNull()) {
        return true;
    }
    m_frames.push_back({Fit(picture), std::max(0, delayMs)});
    return true;
}
