#include "content/import/ImageImporter.h"

#include "content/import/ColourOperations.h"
#include "content/import/FrameReaders.h"
#include "content/import/PaletteBuilder.h"
#include "content/import/ParallelFor.h"

ImageImporter::ImageImporter(const LEDImageRender& layout) : m_layout(layout) {}

namespace {

// The picture in one of the two formats the sampler reads.
QImage InSampledFormat(const QImage& picture) {
    const QImage::Format format = picture.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) {
        return picture;
    }
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
}

}  // namespace

void ImageImporter::SetFrames(const std::vector<ImageStore::Frame>& frames) {
    m_pictures.clear();
    m_delays.clear();
    for (const ImageStore::Frame& frame : frames) {
        if (FrameCount() >= FrameReaders::kMaxReadFrames) {
            break;
        }
        m_pictures.push_back(InSampledFormat(frame.picture));
        m_delays.push_back(frame.delayMs);
    }
    m_samplers.clear();
    m_colours.clear();
    m_indices.clear();
}

bool ImageImporter::AddFrame(const QImage& picture, int delayMs) {
    if (FrameCount() >= FrameReaders::kMaxReadFrames) {
        return false;
    }
    if (picture.isNull()) {
        return true;
    }
    const QImage sampled = InSampledFormat(picture);
    SamplerFor(sampled.size());
    const size_t leds = size_t(LedCount());
    m_colours.resize(m_colours.size() + leds);
    SampleFrame(sampled, m_colours.data() + m_colours.size() - leds);
    m_delays.push_back(std::max(0, delayMs));
    return true;
}

std::vector<QRgb> ImageImporter::SamplePicture(const QImage& picture) {
    std::vector<QRgb> colours(static_cast<size_t>(LedCount()));
    if (!picture.isNull()) {
        const QImage sampled = InSampledFormat(picture);
        SamplerFor(sampled.size());
        m_samplers.at({sampled.width(), sampled.height()})->SetWeights(m_settings);
        SampleFrame(sampled, colours.data());
    }
    return colours;
}

const LedSampler& ImageImporter::SamplerFor(QSize size) {
    auto& sampler = m_samplers[{size.width(), size.height()}];
    if (!sampler || sampler->Aspect() != m_settings.aspect ||
        sampler->SampleSize() != m_settings.sampleSize) {
        sampler =
            std::make_unique<LedSampler>(m_layout, size, m_settings.aspect, m_settings.sampleSize);
        sampler->SetWeights(m_settings);
    }
    return *sampler;
}

// One placement per picture size, its weights set once per computation.
void ImageImporter::PrepareSamplers() {
    for (const QImage& picture : m_pictures) {
        SamplerFor(picture.size());
    }
    for (auto& [size, sampler] : m_samplers) {
        sampler->SetWeights(m_settings);
    }
}

const QRgb* ImageImporter::LedColours(int frame) const {
    return m_colours.data() + size_t(frame) * size_t(LedCount());
}

const quint8* ImageImporter::LedIndices(int frame) const {
    return m_indices.data() + size_t(frame) * size_t(LedCount());
}

// Invert, then brightness, then contrast, then the colour mode.
QRgb ImageImporter::Adjust(QRgb colour) const {
    if (m_settings.invert) {
        colour = qRgb(255 - qRed(colour), 255 - qGreen(colour), 255 - qBlue(colour));
    }
    if (m_settings.brightness != ImportSettings::kNeutral) {
        colour = ColourOperations::ScaleColour(
            colour, double(m_settings.brightness) / ImportSettings::kNeutral);
    }
    if (m_settings.contrast != ImportSettings::kNeutral) {
        colour = ColourOperations::ApplyContrast(
            colour,
            double(m_settings.contrast - ImportSettings::kNeutral) / ImportSettings::kNeutral);
    }
    if (m_settings.colour != ImportSettings::ColourMode::Normal) {
        const double luminance = ColourOperations::Luminance(colour);
        const int grey = m_settings.colour == ImportSettings::ColourMode::Greyscale
                             ? std::clamp(int(luminance * 255.0), 0, 255)
                             : (luminance >= 0.5 ? 255 : 0);
        colour = qRgb(grey, grey, grey);
    }
    return colour;
}

void ImageImporter::SampleFrame(const QImage& picture, QRgb* colours) const {
    const LedSampler& sampler = *m_samplers.at({picture.width(), picture.height()});
    sampler.Sample(picture, colours);
    for (int n = 0; n < LedCount(); ++n) {
        if (qAlpha(colours[n]) != 0) {
            colours[n] = Adjust(colours[n]);
        }
    }
}

void ImageImporter::Compute() {
    PrepareSamplers();
    const size_t leds = size_t(LedCount());
    m_colours.assign(m_pictures.size() * leds, 0);
    ParallelFor(int(m_pictures.size()), [this, leds](int f) {
        SampleFrame(m_pictures[size_t(f)], m_colours.data() + size_t(f) * leds);
    });
    ChoosePalette();
}

void ImageImporter::ChoosePalette() {
    PaletteBuilder builder;
    bool transparent = false;
    for (const QRgb colour : m_colours) {
        if (qAlpha(colour) == 0) {
            transparent = true;
        } else {
            builder.Add(colour);
        }
    }
    m_transparent = transparent ? quint8(kTransparentIndex) : 0;
    const std::vector<QRgb> chosen = builder.Build(transparent ? kTransparentIndex : 256);
    m_palette.fill(qRgb(0, 0, 0));
    std::copy(chosen.begin(), chosen.end(), m_palette.begin());
    m_paletteSize = int(chosen.size());
    m_indices.resize(m_colours.size());
    for (size_t i = 0; i < m_colours.size(); ++i) {
        m_indices[i] =
            qAlpha(m_colours[i]) == 0 ? m_transparent : quint8(builder.IndexOf(m_colours[i]));
    }
}
