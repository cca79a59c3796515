#pragma once

#include "archive/ArchivePathRouter.h"
#include "content/Content.h"
#include "content/ContentModelMutex.h"
#include "content/ledimage/GifWriter.h"
#include "content/ledimage/LEDImageRender.h"
#include "content/ledimage/LumoRDMImage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <memory>
#include <vector>

// One frame: its delay, its own transparent index (0: the image's applies) and one palette
// index per LED in LED order.
template <int LedCount>
struct LEDImageFrame {
    quint16 delay = 0;  // milliseconds
    quint8 transparent = 0;
    std::array<quint8, LedCount> leds{};

    bool operator==(const LEDImageFrame&) const = default;
};

// An LED image of one fixture family: a palette of 256 colours and a list of frames. It is a
// content item, an image file and the record exchanged with fixtures. Every access to its
// values holds ContentModelMutex, since transfers and views use the same images from
// different threads.
template <class Image, class Traits>
class LEDImage : public Content {
public:
    using Record = typename Traits::RDMImageType;
    static constexpr int kLedCount = Record::kLedCount;
    using Frame = LEDImageFrame<kLedCount>;
    // Format byte, frame count, background and transparent index, palette.
    static constexpr int kSummarySize = 4 + LumoRDMImage::kPaletteSize;

    LEDImage() { m_palette.fill(qRgb(0, 0, 0)); }

    static const LEDImageRender& Renderer() { return Traits::Renderer(); }

    QString Suffix() const override { return Traits::Suffix(); }
    bool IsFlagged() const override {
        const ContentModelLock lock;
        return m_flag != 0;
    }

    std::unique_ptr<Content> Clone() const override { return CloneImage(); }
    quint32 DataKey() const override {
        if (const quint32 key = ContentKey(); key != 0) {
            return key;
        }
        Record record;
        ToRDMImage(&record);
        return LumoRDMImage::KeyOf(record.ToBytes());
    }

    std::unique_ptr<Image> CloneImage() const {
        const ContentModelLock lock;
        auto copy = std::make_unique<Image>();
        copy->CopyFrom(static_cast<const Image&>(*this));
        return copy;
    }

    // Reads an image file. A name field left empty takes the file's base name. On any
    // failure the image keeps its values, LoadProblem() says why and false is returned.
    bool Load(const QString& path) override {
        m_loadProblem.clear();
        // Read whole first: the path may lead into a package archive.
        QByteArray bytes;
        QString error;
        if (!ArchivePathRouter::ReadAll(path, &bytes, &error, LumoRDMImage::kMaxFileBytes)) {
            m_loadProblem =
                ArchivePathRouter::Exists(path) ? error : QStringLiteral("no such file");
            return false;
        }
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        Record record;
        if (!record.Read(file, &m_loadProblem)) {
            return false;
        }
        if (record.NameText().isEmpty()) {
            record.SetNameText(QFileInfo(path).completeBaseName());
        }
        {
            const ContentModelLock lock;
            if (!Apply(record)) {
                m_loadProblem = QStringLiteral("entries of the wrong length for the family");
                return false;
            }
            m_flag = 0;
        }
        emit ContentChanged();
        return true;
    }
    QString LoadProblem() const override { return m_loadProblem; }

    // Writes the image file through a temporary file that replaces it only when complete (or
    // into the package being written, for a path into one).
    bool Save(const QString& path) override {
        Record record;
        ToRDMImage(&record);
        QByteArray bytes;
        QBuffer file(&bytes);
        file.open(QIODevice::WriteOnly);
        return record.Write(file) && ArchivePathRouter::WriteFile(path, bytes);
    }

    QString StoreProblem() const override {
        const ContentModelLock lock;
        if (m_frames.size() <= size_t(LumoRDMImage::kMaxFrames)) {
            return {};
        }
        return QStringLiteral("%1 has %2 frames, more than the %3 an LED image can hold")
            .arg(Name())
            .arg(m_frames.size())
            .arg(LumoRDMImage::kMaxFrames);
    }

    QByteArray Summary() const {
        const ContentModelLock lock;
        QByteArray summary;
        summary.append(char(m_format));
        summary.append(char(quint8(m_frames.size())));
        summary.append(char(m_background));
        summary.append(char(m_transparent));
        for (const QRgb color : m_palette) {
            summary.append(char(qRed(color)));
            summary.append(char(qGreen(color)));
            summary.append(char(qBlue(color)));
        }
        return summary;
    }

    quint8 Format() const {
        const ContentModelLock lock;
        return m_format;
    }
    void SetFormat(quint8 format) {
        const ContentModelLock lock;
        m_format = format;
    }

    // Takes the values of a record: header indices, content key, palette, name and one frame
    // per entry (the header's frame count is not used). False, with nothing changed, for a
    // record whose entries do not hold one value per LED.
    bool FromRDMImage(const Record& record) {
        {
            const ContentModelLock lock;
            if (!Apply(record)) {
                return false;
            }
        }
        emit ContentChanged();
        return true;
    }

    void ToRDMImage(Record* record) const {
        const ContentModelLock lock;
        record->header.format = 1;
        record->header.frameCount = quint8(m_frames.size());
        record->header.background = m_background;
        record->header.transparent = m_transparent;
        record->header.contentKey = ContentKey();
        record->SetNameText(Name());
        for (int i = 0; i < 256; ++i) {
            record->header.palette[size_t(i) * 3] = quint8(qRed(m_palette[size_t(i)]));
            record->header.palette[size_t(i) * 3 + 1] = quint8(qGreen(m_palette[size_t(i)]));
            record->header.palette[size_t(i) * 3 + 2] = quint8(qBlue(m_palette[size_t(i)]));
        }
        record->entries.clear();
        for (const Frame& frame : m_frames) {
            LumoRDMImage::Entry entry;
            entry.type = 2;
            entry.transparent = frame.transparent;
            entry.delay = frame.delay;
            entry.leds = QByteArray(reinterpret_cast<const char*>(frame.leds.data()), kLedCount);
            record->entries.push_back(std::move(entry));
        }
    }

    // Writes the frames as an endlessly looping GIF of frame pictures (kDefaultSize pixels).
    bool ExportGif(const QString& fileName) const {
        std::vector<Frame> frames;
        LEDPalette palette;
        quint8 background = 0;
        quint8 transparent = 0;
        {
            const ContentModelLock lock;
            frames = m_frames;
            palette = m_palette;
            background = m_background;
            transparent = m_transparent;
        }
        const int size = LEDImageRender::kDefaultSize;
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly)) {
            return false;
        }
        GifWriter gif(&file);
        bool ok = gif.Begin(size, size, palette, background);
        for (size_t i = 0; ok && i < frames.size(); ++i) {
            const Frame& frame = frames[i];
            const QImage picture =
                Renderer().RenderIndexed(frame.leds.data(), background, palette, size);
            const int frameTransparent = frame.transparent != 0 ? frame.transparent
                                         : transparent != 0     ? transparent
                                                                : -1;
            ok = gif.AddFrame(picture.constBits(), quint16(frame.delay / 10), frameTransparent);
        }
        return ok && gif.Finish() && file.commit();
    }

    // Takes every value of another image of the family: name, address, tag, content key,
    // the header indices, the palette, the frames and the flag.
    void CopyFrom(const Image& other) {
        {
            const ContentModelLock lock;
            if (&other == this) {
                return;
            }
            SetName(other.Name());
            SetAddress(other.Address());
            SetTag(other.Tag());
            SetContentKey(other.ContentKey());
            m_flag = other.m_flag;
            m_format = other.m_format;
            m_background = other.m_background;
            m_transparent = other.m_transparent;
            m_palette = other.m_palette;
            m_frames = other.m_frames;
        }
        emit ContentChanged();
    }

    std::vector<Frame> Frames() const {
        const ContentModelLock lock;
        return m_frames;
    }
    int FrameCount() const {
        const ContentModelLock lock;
        return int(m_frames.size());
    }
    void SetFrames(std::vector<Frame> frames) {
        {
            const ContentModelLock lock;
            m_frames = std::move(frames);
        }
        emit ContentChanged();
    }
    LEDPalette Palette() const {
        const ContentModelLock lock;
        return m_palette;
    }
    void SetPalette(const LEDPalette& palette) {
        {
            const ContentModelLock lock;
            for (size_t i = 0; i < palette.size(); ++i) {
                m_palette[i] = palette[i] | 0xFF000000u;
            }
        }
        emit ContentChanged();
    }
    quint8 BackgroundIndex() const {
        const ContentModelLock lock;
        return m_background;
    }
    void SetBackgroundIndex(quint8 index) {
        const ContentModelLock lock;
        m_background = index;
    }
    quint8 TransparentIndex() const {
        const ContentModelLock lock;
        return m_transparent;
    }
    void SetTransparentIndex(quint8 index) {
        const ContentModelLock lock;
        m_transparent = index;
    }
    void SetFlagged(bool flagged) {
        const ContentModelLock lock;
        m_flag = flagged ? 1 : 0;
    }

    // Frame `frame` as an 8-bit indexed picture of palette indices (the palette is its
    // colour table); null for a frame or size out of range.
    QImage RenderFrame(int frame, int size = LEDImageRender::kDefaultSize) const {
        const ContentModelLock lock;
        if (frame < 0 || frame >= int(m_frames.size())) {
            return {};
        }
        return Renderer().RenderIndexed(m_frames[size_t(frame)].leds.data(), m_background,
                                        m_palette, size);
    }

    // Frame `frame` for the content views: the LEDs in colour on a grey field (LEDs of the
    // background colour when there is no such frame).
    QImage RenderPreview(int frame = 0, int size = LEDImageRender::kDefaultSize) const {
        const ContentModelLock lock;
        if (frame < 0 || frame >= int(m_frames.size())) {
            std::array<quint8, kLedCount> leds;
            leds.fill(m_background);
            return Renderer().RenderPreview(leds.data(), m_palette, 0, size);
        }
        const Frame& shown = m_frames[size_t(frame)];
        const quint8 transparent = shown.transparent != 0 ? shown.transparent : m_transparent;
        return Renderer().RenderPreview(shown.leds.data(), m_palette, transparent, size);
    }

private:
    bool Apply(const Record& record) {
        for (const LumoRDMImage::Entry& entry : record.entries) {
            if (entry.leds.size() != kLedCount) {
                return false;
            }
        }
        m_format = record.header.format;
        m_background = record.header.background;
        m_transparent = record.header.transparent;
        SetContentKey(record.header.contentKey);
        for (size_t i = 0; i < m_palette.size(); ++i) {
            m_palette[i] = qRgb(record.header.palette[i * 3], record.header.palette[i * 3 + 1],
                                record.header.palette[i * 3 + 2]);
        }
        std::vector<Frame> frames;
        frames.reserve(record.entries.size());
        for (const LumoRDMImage::Entry& entry : record.entries) {
            Frame frame;
            frame.delay = entry.delay;
            frame.transparent = entry.transparent;
            std::copy_n(reinterpret_cast<const quint8*>(entry.leds.constData()), kLedCount,
                        frame.leds.begin());
            frames.push_back(frame);
        }
        m_frames = std::move(frames);
        SetName(record.NameText());
        return true;
    }

    quint8 m_flag = 1;
    QString m_loadProblem;  // of the last Load, on the thread that called it
    std::vector<Frame> m_frames;
    quint8 m_format = 1;
    quint8 m_background = 0;
    quint8 m_transparent = 0;
    LEDPalette m_palette;
};
