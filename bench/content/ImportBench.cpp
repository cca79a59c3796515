// Importing a clip into an LED image: a colourful 255-frame 512 x 512 clip (made by the ffmpeg
// program) decoded alone with FFmpeg, against imported end to end (read, scaled to the import
// limits, sampled onto the LEDs, one palette); re-sampling all frames after a colour setting
// and after a weight setting changes; and the colour error the palette leaves: each LED's
// palette colour against the plain average of the source pixels under its mask, as PSNR over
// all LEDs and frames.
//
//   build/bin/import_bench [--codec libx264|mpeg4] [--runs N]

#include "BestTime.h"
#include "content/import/FrameReaders.h"
#include "content/import/ImageImporter.h"
#include "content/import/SettingsImageImport.h"
#include "content/ledimage/MarqaImage.h"
#include "content/ledimage/SolviImage.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <functional>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

// Decodes every picture of the first video stream, as a player would, and nothing more.
int DecodeOnly(const QString& file) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, QFile::encodeName(file).constData(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(format, nullptr) < 0) {
        return -1;
    }
    const AVCodec* codec = nullptr;
    const int stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    AVCodecContext* context = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(context, format->streams[stream]->codecpar);
    context->thread_count = 0;
    context->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    avcodec_open2(context, codec, nullptr);
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int pictures = 0;
    const auto receive = [&] {
        while (avcodec_receive_frame(context, frame) == 0) {
            ++pictures;
            av_frame_unref(frame);
        }
    };
    while (av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == stream && avcodec_send_packet(context, packet) >= 0) {
            receive();
        }
        av_packet_unref(packet);
    }
    avcodec_send_packet(context, nullptr);
    receive();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
    avformat_close_input(&format);
    return pictures;
}

// The plain average of the picture's pixels under LED n's mask.
QRgb PlainAverage(const QImage& picture, const LedSampler& sampler, int n) {
    const QPoint at = sampler.LedPixels()[size_t(n)];
    const int first = -(sampler.MaskCells() * sampler.MaskStep() / 2);
    double sum[3] = {0, 0, 0};
    int count = 0;
    for (int y = 0; y < sampler.MaskCells(); ++y) {
        for (int x = 0; x < sampler.MaskCells(); ++x) {
            const QPoint pixel =
                at + QPoint(first + x * sampler.MaskStep(), first + y * sampler.MaskStep());
            if (!sampler.MaskCell(x, y) || !picture.rect().contains(pixel)) {
                continue;
            }
            const QRgb colour = picture.pixel(pixel);
            sum[0] += qRed(colour);
            sum[1] += qGreen(colour);
            sum[2] += qBlue(colour);
            ++count;
        }
    }
    count = std::max(count, 1);
    return qRgb(int(sum[0] / count + 0.5), int(sum[1] / count + 0.5), int(sum[2] / count + 0.5));
}

double Psnr(ImageImporter& importer) {
    double squares = 0;
    qint64 values = 0;
    for (int f = 0; f < importer.FrameCount(); ++f) {
        const LedSampler& sampler = importer.SamplerFor(importer.Picture(f).size());
        const quint8* indices = importer.LedIndices(f);
        for (int n = 0; n < importer.LedCount(); ++n) {
            const QRgb want = PlainAverage(importer.Picture(f), sampler, n);
            const QRgb got = importer.Palette()[indices[n]];
            for (const int shift : {16, 8, 0}) {
                const double error = int((want >> shift) & 0xFF) - int((got >> shift) & 0xFF);
                squares += error * error;
                ++values;
            }
        }
    }
    const double mse = squares / double(std::max<qint64>(values, 1));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

template <class Image>
void Measure(const char* family, const QString& clip, int runs, double decode) {
    ImageStore store(SettingsImageImport::kMaxFrameEdge, SettingsImageImport::kMaxFrameEdge);
    LEDImageImporter<Image> importer;
    const double import = BestTime(runs, [&] {
        Image image;
        SettingsImageImport::ImportFile(image, clip, {}, nullptr);
    });
    const double read = BestTime(runs, [&] {
        ImageStore again(SettingsImageImport::kMaxFrameEdge, SettingsImageImport::kMaxFrameEdge);
        FrameReaders::ReadFrames(clip, again);
    });
    std::printf("%-6s read alone %6.3f s\n", family, read);
    FrameReaders::ReadFrames(clip, store);
    importer.SetFrames(store.Frames());
    importer.Compute();
    const double psnr = Psnr(importer);
    // A colour setting keeps every pixel's weight; a weight setting makes each pixel count
    // differently, the slower sampling.
    const auto resample = [&](int ImportSettings::*setting, int first) {
        return BestTime(runs, [&, value = first]() mutable {
            ImportSettings settings = importer.Settings();
            settings.*setting = value++;
            importer.SetSettings(settings);
            importer.Compute();
        });
    };
    const double contrast = resample(&ImportSettings::contrast, 100);
    const double weighted = resample(&ImportSettings::luminanceWeight, 100);
    std::printf(
        "%-6s import %6.3f s (%.2f x decode)   re-sample %6.3f s (weighted %5.3f s)   PSNR %5.1f "
        "dB with %d colours\n",
        family, import, import / decode, contrast, weighted, psnr, importer.PaletteSize());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const QString codec = arguments.contains("--codec")
                              ? arguments.value(arguments.indexOf("--codec") + 1)
                              : QStringLiteral("libx264");
    const int runs =
        arguments.contains("--runs") ? arguments.value(arguments.indexOf("--runs") + 1).toInt() : 3;
    QTemporaryDir dir;
    // testsrc2: moving colour bars, gradients and a counter; the grained one adds the moving
    // noise of camera footage, which costs the decoder what real clips cost it.
    const struct {
        const char* name;
        const char* source;
    } clips[] = {
        {"bars", "testsrc2=s=512x512:r=25:d=10.2"},
        {"grained", "testsrc2=s=512x512:r=25:d=10.2,noise=alls=24:allf=t+u"},
    };
    for (const auto& made : clips) {
        const QString clip = dir.filePath(QStringLiteral("%1.mkv").arg(made.name));
        QString error;
        if (!TestMedia::MakeClip(clip, made.source,
                                 {"-c:v", codec, "-pix_fmt", "yuv420p", "-frames:v", "255"},
                                 &error)) {
            std::fprintf(stderr, "import_bench: cannot make the clip: %s\n", qPrintable(error));
            return 1;
        }
        int pictures = 0;
        const double decode = BestTime(runs, [&] { pictures = DecodeOnly(clip); });
        std::printf(
            "%s clip: %d frames of 512 x 512 (%s, %lld kB), %d threads; decode alone %.3f s\n",
            made.name, pictures, qPrintable(codec), QFileInfo(clip).size() / 1024,
            QThread::idealThreadCount(), decode);
        Measure<MarqaImage>("Marqa", clip, runs, decode);
        Measure<SolviImage>("Solvi", clip, runs, decode);
    }
    return 0;
}
