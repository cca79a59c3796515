// The video half of the frame readers: demux, decode and convert with FFmpeg's libraries.

#include "content/import/FrameReaders.h"
#include "content/import/ImageSink.h"

#include <QFile>
#include <QImage>

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

// Pictures larger than this are refused rather than decoded into gigabytes.
constexpr int kMaxEdge = 16384;

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

// Milliseconds of a time stamp in the stream's time base (a missing stamp counts as 0).
qint64 Milliseconds(qint64 stamp, AVRational base) {
    if (stamp == AV_NOPTS_VALUE || base.den == 0) {
        return 0;
    }
    return av_rescale(stamp, qint64(base.num) * 1000, base.den);
}

// The end of the stream in milliseconds, or -1 when the container does not say.
qint64 StreamEnd(const AVFormatContext& format, const AVStream& stream) {
    const qint64 start = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
    if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0) {
        return Milliseconds(start + stream.duration, stream.time_base);
    }
    if (format.duration != AV_NOPTS_VALUE && format.duration > 0) {
        return Milliseconds(start, stream.time_base) + format.duration / 1000;
    }
    return -1;
}

QString ErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

// What a conversion context is made for.
struct ScalerKey {
    int width = 0;
    int height = 0;
    int format = -1;
    QSize size;
    bool operator==(const ScalerKey&) const = default;
};

// A conversion to 32-bit RGB at the kept size that slices its work over the machine's cores.
SwsContext* MakeScaler(const ScalerKey& key) {
    SwsContext* context = sws_alloc_context();
    if (!context) {
        return nullptr;
    }
    av_opt_set_int(context, "srcw", key.width, 0);
    av_opt_set_int(context, "srch", key.height, 0);
    av_opt_set_int(context, "src_format", key.format, 0);
    av_opt_set_int(context, "dstw", key.size.width(), 0);
    av_opt_set_int(context, "dsth", key.size.height(), 0);
    av_opt_set_int(context, "dst_format", AV_PIX_FMT_RGB32, 0);
    av_opt_set_int(context, "sws_flags", SWS_AREA, 0);
    // Scaling a large picture down is worth slicing over the cores; a plain conversion is not.
    const bool scaling = key.size != QSize(key.width, key.height);
    av_opt_set_int(context, "threads", scaling ? 0 : 1, 0);
    if (sws_init_context(context, nullptr, nullptr) < 0) {
        sws_freeContext(context);
        return nullptr;
    }
    return context;
}

// A 32-bit RGB picture the converter may write: its vector code stores whole blocks of pixels,
// past the end of a row whose width is not a multiple of the block, and past the last row. The
// rows are padded to 64 bytes and the buffer ends with a spare 64 bytes, so nothing lands
// outside it.
QImage ConversionTarget(QSize size) {
    constexpr int kPadding = 64;
    const qsizetype stride = (qsizetype(size.width()) * 4 + kPadding - 1) / kPadding * kPadding;
    auto* bits = static_cast<uchar*>(av_malloc(size_t(stride * size.height() + kPadding)));
    if (!bits) {
        return {};
    }
    return QImage(bits, size.width(), size.height(), stride, QImage::Format_RGB32, av_free, bits);
}

// One decoding run: the decoder delivers pictures in display order; each waits, still decoded,
// until the next one's time is known, then goes to the sink with the difference as its delay.
// Every picture is converted into one buffer, which is only replaced while a sink keeps it.
class VideoDecoder {
public:
    VideoDecoder(ImageSink& sink, QString* error) : m_sink(sink), m_error(error) {}

    bool Run(const QString& file) {
        AVFormatContext* opened = nullptr;
        const QByteArray path = QFile::encodeName(file);
        if (int code = avformat_open_input(&opened, path.constData(), nullptr, nullptr); code < 0) {
            return Fail(QStringLiteral("not a picture or clip (%1)").arg(ErrorText(code)));
        }
        m_format.reset(opened);
        if (avformat_find_stream_info(m_format.get(), nullptr) < 0) {
            return Fail(QStringLiteral("the clip's streams cannot be read"));
        }
        const AVCodec* codec = nullptr;
        m_streamIndex = av_find_best_stream(m_format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
        if (m_streamIndex < 0 || !codec) {
            return Fail(m_streamIndex == AVERROR_DECODER_NOT_FOUND
                            ? QStringLiteral("the clip's video cannot be decoded by this program")
                            : QStringLiteral("not a picture or clip with video"));
        }
        m_stream = m_format->streams[m_streamIndex];
        if (!OpenDecoder(codec)) {
            return false;
        }
        if (!Decode()) {
            return false;
        }
        if (m_delivered + (m_hasWaiting ? 1 : 0) == 0) {
            return Fail(QStringLiteral("the clip holds no picture that could be decoded"));
        }
        return FlushWaiting();
    }

private:
    bool Fail(const QString& text) {
        if (m_error) {
            *m_error = text;
        }
        return false;
    }

    bool OpenDecoder(const AVCodec* codec) {
        m_codec.reset(avcodec_alloc_context3(codec));
        if (!m_codec || avcodec_parameters_to_context(m_codec.get(), m_stream->codecpar) < 0) {
            return Fail(QStringLiteral("the clip's video cannot be decoded by this program"));
        }
        m_codec->thread_count = 0;  // as many as the machine has
        m_codec->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
        m_codec->pkt_timebase = m_stream->time_base;
        if (avcodec_open2(m_codec.get(), codec, nullptr) < 0) {
            return Fail(QStringLiteral("the clip's video cannot be decoded by this program"));
        }
        m_frame.reset(av_frame_alloc());
        m_waiting.reset(av_frame_alloc());
        m_packet.reset(av_packet_alloc());
        return m_frame && m_waiting && m_packet ? true : Fail(QStringLiteral("out of memory"));
    }

    // Reads packets until the container ends, the frame limit is reached or the sink stops.
    bool Decode() {
        while (!m_stop) {
            const int read = av_read_frame(m_format.get(), m_packet.get());
            if (read < 0) {
                break;  // the end, or a file cut short: what was decoded stays
            }
            if (m_packet->stream_index == m_streamIndex) {
                // A damaged packet is passed over; the decoder picks up at the next one.
                if (avcodec_send_packet(m_codec.get(), m_packet.get()) >= 0 && !Receive()) {
                    av_packet_unref(m_packet.get());
                    return false;
                }
            }
            av_packet_unref(m_packet.get());
        }
        if (!m_stop && avcodec_send_packet(m_codec.get(), nullptr) >= 0) {
            return Receive();  // the pictures the decoder still holds
        }
        return true;
    }

    bool Receive() {
        while (!m_stop) {
            const int code = avcodec_receive_frame(m_codec.get(), m_frame.get());
            if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) {
                return true;
            }
            if (code < 0) {
                return true;  // a picture that failed to decode is passed over
            }
            const bool taken = Take(*m_frame);
            av_frame_unref(m_frame.get());
            if (!taken) {
                return false;
            }
        }
        return true;
    }

    // A decoded picture: the waiting one goes to the sink, this one waits.
    bool Take(AVFrame& frame) {
        const qint64 time = Milliseconds(frame.pts, m_stream->time_base);
        m_stamped = m_stamped || frame.pts != AV_NOPTS_VALUE;
        if (m_hasWaiting) {
            m_lastDelay = std::max<qint64>(0, time - m_waitingTime);
            if (!Deliver(m_lastDelay)) {
                return false;
            }
            if (m_stop) {
                return true;
            }
        }
        av_frame_move_ref(m_waiting.get(), &frame);
        m_hasWaiting = true;
        m_waitingTime = time;
        return true;
    }

    bool Deliver(qint64 delay) {
        m_hasWaiting = false;
        const bool converted = Convert(*m_waiting);
        av_frame_unref(m_waiting.get());
        if (!converted) {
            return false;
        }
        const int clamped = int(std::min<qint64>(delay, 65535));
        if (!m_sink.AddImage(m_picture, clamped)) {
            m_stop = true;
        }
        if (++m_delivered >= FrameReaders::kMaxReadFrames) {
            m_stop = true;
        }
        return true;
    }

    bool FlushWaiting() {
        if (!m_hasWaiting || m_delivered >= FrameReaders::kMaxReadFrames) {
            return true;
        }
        // Without time stamps every delay is 0, the last one too.
        const qint64 end = m_stamped ? StreamEnd(*m_format, *m_stream) : -1;
        return Deliver(end > m_waitingTime ? end - m_waitingTime : m_lastDelay);
    }

    // Converts a decoded picture to 32-bit RGB at the size the sink keeps, into m_picture.
    bool Convert(const AVFrame& frame) {
        if (frame.width <= 0 || frame.height <= 0 || frame.width > kMaxEdge ||
            frame.height > kMaxEdge) {
            return Fail(QStringLiteral("the clip's pictures are %1 x %2 pixels, too large")
                            .arg(frame.width)
                            .arg(frame.height));
        }
        const QSize size = m_sink.KeptSize({frame.width, frame.height});
        const ScalerKey key{frame.width, frame.height, frame.format, size};
        if (!m_scaler || !(key == m_scalerKey)) {
            m_scaler.reset(MakeScaler(key));
            m_scalerKey = key;
        }
        if (m_picture.size() != size || !m_picture.isDetached()) {
            m_picture = ConversionTarget(size);
        }
        if (!m_scaler || m_picture.isNull()) {
            return Fail(QStringLiteral("the clip's pictures cannot be converted"));
        }
        uint8_t* planes[4] = {m_picture.bits(), nullptr, nullptr, nullptr};
        const int strides[4] = {int(m_picture.bytesPerLine()), 0, 0, 0};
        sws_scale(m_scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
        return true;
    }

    ImageSink& m_sink;
    QString* m_error;
    std::unique_ptr<AVFormatContext, FormatCloser> m_format;
    std::unique_ptr<AVCodecContext, CodecFreer> m_codec;
    std::unique_ptr<AVFrame, FrameFreer> m_frame;
    std::unique_ptr<AVFrame, FrameFreer> m_waiting;  // decoded, its delay not yet known
    std::unique_ptr<AVPacket, PacketFreer> m_packet;
    std::unique_ptr<SwsContext, ScalerFreer> m_scaler;
    ScalerKey m_scalerKey;
    AVStream* m_stream = nullptr;
    int m_streamIndex = -1;
    QImage m_picture;
    bool m_hasWaiting = false;
    qint64 m_waitingTime = 0;
    qint64 m_lastDelay = 0;
    int m_delivered = 0;
    bool m_stamped = false;
    bool m_stop = false;
};

}  // namespace

namespace FrameReaders {

bool ReadVideo(const QString& file, ImageSink& sink, QString* error) {
    av_log_set_level(AV_LOG_QUIET);  // failures are reported through `error`
    return VideoDecoder(sink, error).Run(file);
}

}  // namespace FrameReaders
