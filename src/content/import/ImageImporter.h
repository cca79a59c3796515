#pragma once

#include "content/import/ImageStore.h"
#include "content/import/ImportSettings.h"
#include "content/import/LedSampler.h"
#include "content/ledimage/LEDImageRender.h"

#include <QImage>

#include <map>
#include <memory>
#include <vector>

// Samples the frames of a picture or clip onto one family's LEDs. The frames and the LED
// placement are kept between computations, so changing a setting only samples again: every
// frame in parallel, then one palette for the whole clip.
class ImageImporter {
public:
    // Palette index of transparent LEDs, used only when a picture has transparent parts.
    static constexpr int kTransparentIndex = 255;

    explicit ImageImporter(const LEDImageRender& layout);
    virtual ~ImageImporter() = default;

    const LEDImageRender& Layout() const { return m_layout; }
    int LedCount() const { return m_layout.LedCount(); }

    // The frames to sample (at most 255 are kept), for sampling again as settings change.
    void SetFrames(const std::vector<ImageStore::Frame>& frames);
    // Sampling while a clip is read, when no setting changes afterwards: each frame is sampled
    // with the current settings as it comes and only its LED colours and delay are kept;
    // FinishFrames() then chooses the palette. False past the frame limit.
    bool AddFrame(const QImage& picture, int delayMs);
    void FinishFrames() { ChoosePalette(); }
    // The LED colours of one picture under the current settings; nothing is kept (previews).
    std::vector<QRgb> SamplePicture(const QImage& picture);

    int FrameCount() const { return int(m_delays.size()); }
    // A frame's picture (frames given to SetFrames only).
    const QImage& Picture(int frame) const { return m_pictures[size_t(frame)]; }
    int Delay(int frame) const { return m_delays[size_t(frame)]; }

    const ImportSettings& Settings() const { return m_settings; }
    void SetSettings(const ImportSettings& settings) { m_settings = settings; }

    // Samples every frame with the current settings and chooses the palette.
    void Compute();

    // After Compute: each LED's colour before the palette (alpha 0: transparent), the palette
    // and each LED's palette index, frame by frame.
    const QRgb* LedColours(int frame) const;
    const LEDPalette& Palette() const { return m_palette; }
    const quint8* LedIndices(int frame) const;
    // kTransparentIndex when some LED is transparent, otherwise 0 (none).
    quint8 TransparentIndex() const { return m_transparent; }
    int PaletteSize() const { return m_paletteSize; }

    // The placement for pictures of `size` under the current settings.
    const LedSampler& SamplerFor(QSize size);

private:
    void PrepareSamplers();
    // Samples a picture of a size PrepareSamplers or SamplerFor has placed.
    void SampleFrame(const QImage& picture, QRgb* colours) const;
    QRgb Adjust(QRgb colour) const;
    void ChoosePalette();

    const LEDImageRender& m_layout;
    std::vector<QImage> m_pictures;  // ARGB32 or RGB32
    std::vector<int> m_delays;
    ImportSettings m_settings;
    std::map<std::pair<int, int>, std::unique_ptr<LedSampler>> m_samplers;
    std::vector<QRgb> m_colours;    // frames x LEDs
    std::vector<quint8> m_indices;  // frames x LEDs
    LEDPalette m_palette{};
    quint8 m_transparent = 0;
    int m_paletteSize = 0;
};

// The importer of one LED image family: the computed frames as an image of that family.
template <class Image>
class LEDImageImporter : public ImageImporter {
public:
    LEDImageImporter() : ImageImporter(Image::Renderer()) {}

    // Gives `image` the palette and frames of the last Compute.
    void Fill(Image& image) const {
        std::vector<typename Image::Frame> frames(static_cast<size_t>(FrameCount()));
        for (int f = 0; f < FrameCount(); ++f) {
            auto& frame = frames[size_t(f)];
            frame.delay = quint16(std::clamp(Delay(f), 0, 65535));
            const quint8* leds = LedIndices(f);
            std::copy(leds, leds + frame.leds.size(), frame.leds.begin());
        }
        image.SetPalette(Palette());
        image.SetTransparentIndex(TransparentIndex());
        image.SetBackgroundIndex(0);
        image.SetFrames(std::move(frames));
    }

    std::unique_ptr<Image> Build() const {
        auto image = std::make_unique<Image>();
        Fill(*image);
        return image;
    }
};
