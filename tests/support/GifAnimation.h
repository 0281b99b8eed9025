#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lobex::test {

// An animated GIF as giflib reads it: the screen, the NETSCAPE2.0 repetitions, and each frame
// as a viewer shows it (drawn over the frames before it).
struct GifAnimation {
    std::string error; // giflib's complaint; empty once the file was read
    int width = 0;
    int height = 0;
    int loopCount = -1; // -1: no NETSCAPE2.0 block
    struct Frame {
        int delay = 0;
        int disposal = 0;
        QRect area;                        // what the frame's image descriptor covers
        std::vector<std::uint8_t> indices; // the whole screen after the frame is drawn
        QImage picture;                    // the same in the global colours
    };
    std::vector<Frame> frames;
};

inline GifAnimation DecodeGifAnimation(const QByteArray& bytes) {
    GifAnimation out;
    struct Source {
        const QByteArray* bytes;
        qsizetype at = 0;
    } source{&bytes};
    const InputFunc read = [](GifFileType* file, GifByteType* into, int wanted) {
        auto* from = static_cast<Source*>(file->UserData);
        const int given =
            static_cast<int>(std::min<qsizetype>(wanted, from->bytes->size() - from->at));
        std::memcpy(into, from->bytes->constData() + from->at, static_cast<std::size_t>(given));
        from->at += given;
        return given;
    };
    int error = 0;
    GifFileType* file = DGifOpen(&source, read, &error);
    if (file == nullptr) {
        out.error = GifErrorString(error);
        return out;
    }
    if (DGifSlurp(file) != GIF_OK || file->SColorMap == nullptr) {
        out.error = GifErrorString(file->Error);
        DGifCloseFile(file, &error);
        return out;
    }
    out.width = file->SWidth;
    out.height = file->SHeight;
    std::vector<std::uint8_t> screen(static_cast<std::size_t>(out.width * out.height), 0);
    for (int i = 0; i < file->ImageCount; ++i) {
        const SavedImage& image = file->SavedImages[i];
        for (int b = 0; b + 1 < image.ExtensionBlockCount; ++b) {
            const ExtensionBlock& block = image.ExtensionBlocks[b];
            const ExtensionBlock& next = image.ExtensionBlocks[b + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 &&
                next.Bytes[0] == 1) {
                out.loopCount = next.Bytes[1] | (next.Bytes[2] << 8);
            }
        }
        GifAnimation::Frame frame;
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(file, i, &control) == GIF_OK) {
            frame.delay = control.DelayTime;
            frame.disposal = control.DisposalMode;
        }
        const GifImageDesc& desc = image.ImageDesc;
        frame.area = QRect(desc.Left, desc.Top, desc.Width, desc.Height);
        for (int y = 0; y < desc.Height; ++y) {
            for (int x = 0; x < desc.Width; ++x) {
                const int sx = desc.Left + x;
                const int sy = desc.Top + y;
                if (sx < out.width && sy < out.height) {
                    screen[static_cast<std::size_t>(sy * out.width + sx)] =
                        image.RasterBits[y * desc.Width + x];
                }
            }
        }
        frame.indices = screen;
        frame.picture = QImage(out.width, out.height, QImage::Format_RGB32);
        const ColorMapObject* colours = file->SColorMap;
        for (int y = 0; y < out.height; ++y) {
            for (int x = 0; x < out.width; ++x) {
                const GifColorType& c = colours->Colors[std::min<int>(
                    screen[static_cast<std::size_t>(y * out.width + x)], colours->ColorCount - 1)];
                frame.picture.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
            }
        }
        out.frames.push_back(std::move(frame));
    }
    DGifCloseFile(file, &error);
    return out;
}

} // namespace lobex::test
