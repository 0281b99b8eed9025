#include "ImageWriter.h"

#include "FileReplace.h"
#include "clsGIF.h"
#include "core/AppState.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <cmath>
#include <exception>

namespace lobex {

namespace {

// A rectangle of device-independent pixels in the picture's own pixels, cut at its edges.
QRect PixelRect(const QImage& picture, const QRect& rect) {
    const qreal ratio = picture.devicePixelRatio();
    const QRect scaled(static_cast<int>(std::lround(rect.x() * ratio)),
                       static_cast<int>(std::lround(rect.y() * ratio)),
                       static_cast<int>(std::lround(rect.width() * ratio)),
                       static_cast<int>(std::lround(rect.height() * ratio)));
    return scaled.intersected(picture.rect());
}

QImage Crop(const QImage& picture, const QRect& rect) {
    const QRect area = PixelRect(picture, rect);
    if (area.isEmpty()) {
        return {};
    }
    // The copy keeps the picture's pixel ratio, so it is drawn at its on-screen size.
    return picture.copy(area);
}

ImageResult Failure(std::string description) {
    return {false, false, std::move(description)};
}

ImageResult Save(const std::string& fileName, const QByteArray& bytes) {
    std::string error = WriteFileReplacing(fileName, bytes);
    if (!error.empty()) {
        return Failure(std::move(error));
    }
    return {true, true, {}};
}

ImageResult WriteFormat(const QImage& picture, std::string_view format, const std::string& fileName,
                        const JpegOptions& jpeg, clsGIF& gif) {
    if (format == "gif") {
        const GifResult result = gif.SaveGIF(picture, fileName);
        switch (result.outcome) {
        case GifOutcome::Written:
            return {true, true, {}};
        case GifOutcome::Busy:
            return Failure("The GIF encoder is busy with another picture");
        case GifOutcome::Failed:
            break;
        }
        return Failure(result.error);
    }
    std::string error;
    const QByteArray bytes = EncodeImage(picture, format, jpeg, error);
    if (bytes.isEmpty()) {
        return Failure(error);
    }
    return Save(fileName, bytes);
}

} // namespace

QImage MakePreview(const QImage& picture, bool view3DActive, bool patternShown) {
    if (view3DActive) {
        const QImage cropped = Crop(picture, kPreview3DRect);
        if (cropped.isNull()) {
            return {};
        }
        // The bottom-left colour fills whatever the crop could not cover.
        const QColor corner = cropped.pixelColor(0, cropped.height() - 1);
        QImage preview(kPreview3DRect.size(), QImage::Format_RGB32);
        preview.fill(corner);
        QPainter painter(&preview);
        painter.setOpacity(1.0);
        painter.drawImage(QPoint(0, 0), cropped);
        painter.end();
        return preview;
    }
    if (patternShown) {
        const QImage cropped = Crop(picture, kPreviewPatternRect);
        if (cropped.isNull()) {
            return {};
        }
        QImage preview =
            cropped.scaled(kPreviewPatternSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        preview.setDevicePixelRatio(1.0);
        return preview;
    }
    return picture;
}

QByteArray EncodeImage(const QImage& picture, std::string_view format, const JpegOptions& jpeg,
                       std::string& error) {
    if (picture.isNull()) {
        error = "Invalid picture";
        return {};
    }
    QImage image = picture;
    QByteArray qtFormat;
    int quality = -1;
    if (format == "jpg") {
        qtFormat = "jpeg";
        quality = EncoderQuality(jpeg.Quality);
        if (jpeg.Width > 0 || jpeg.Height > 0) {
            // A side left at 0 sets no limit: the other side alone decides.
            static constexpr int kUnlimited = 16384;
            const QSize limit(jpeg.Width > 0 ? jpeg.Width : kUnlimited,
                              jpeg.Height > 0 ? jpeg.Height : kUnlimited);
            image = image.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        if (jpeg.Grayscale) {
            image = image.convertToFormat(QImage::Format_Grayscale8);
        }
    } else if (format == "png" || format == "bmp") {
        qtFormat = QByteArray(format.data(), static_cast<qsizetype>(format.size()));
    } else {
        error = "Invalid picture format";
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, qtFormat);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(format == "jpg" && jpeg.Progressive);
    if (!writer.write(image)) {
        error = writer.errorString().toStdString();
        return {};
    }
    return bytes;
}

ImageResult WriteImageFile(const QImage& picture, std::string_view format,
                           const std::string& fileName, const AppState& state,
                           const JpegOptions& jpeg, clsGIF& gif) {
    try {
        if (format == "ppng" || format == "pgif" || format == "pjpg") {
            const QImage preview =
                MakePreview(picture, state.View.View3DActive, state.View.PatternShown);
            if (preview.isNull()) {
                return Failure("Invalid picture");
            }
            // A preview keeps its own size.
            JpegOptions unscaled = jpeg;
            unscaled.Width = unscaled.Height = 0;
            return WriteFormat(preview, format.substr(1), fileName, unscaled, gif);
        }
        if (format == "bmp" || format == "png" || format == "jpg" || format == "gif") {
            return WriteFormat(picture, format, fileName, jpeg, gif);
        }
        // Other codes ("emf", "dsc", ...) belong to their callers.
        return {};
    } catch (const std::bad_alloc&) {
        return Failure("Out of memory");
    } catch (const std::exception& error) {
        return Failure(error.what());
    }
}

} // namespace lobex
