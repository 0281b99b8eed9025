#include "clsGIF.h"

#include "FileReplace.h"
#include "core/TextRules.h"

#include <QCoreApplication>

#include <exception>
#include <limits>

namespace lobex {

namespace {

constexpr std::array<int, 5> kLevels = {0, 64, 128, 192, 255};
constexpr int kClearCode = 256;
constexpr int kEndCode = 257;
constexpr int kFirstLearnedCode = 258;
constexpr int kMaxLearned = 253;
constexpr int kCodeBits = 9;
constexpr int kMaxSubBlock = 255;
constexpr int kMaxGifSide = std::numeric_limits<std::uint16_t>::max();

// Level number nearest to a channel value; ties go to the lower level.
constexpr std::array<std::uint8_t, 256> MakeLevelTable() {
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        int best = 0;
        for (int level = 1; level < static_cast<int>(kLevels.size()); ++level) {
            const int distance =
                value > kLevels[level] ? value - kLevels[level] : kLevels[level] - value;
            const int bestDistance =
                value > kLevels[best] ? value - kLevels[best] : kLevels[best] - value;
            if (distance < bestDistance) {
                best = level;
            }
        }
        table[value] = static_cast<std::uint8_t>(best);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kLevelOf = MakeLevelTable();

void PutWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Packs codes least significant bit first into bytes, and the bytes into data sub-blocks of
// at most 255.
class CodeWriter {
public:
    explicit CodeWriter(QByteArray& out) : out_(out) {}

    void Write(int code) {
        bits_ |= static_cast<std::uint32_t>(code) << bitCount_;
        bitCount_ += kCodeBits;
        while (bitCount_ >= 8) {
            PutByte(static_cast<std::uint8_t>(bits_ & 0xFF));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }

    // The partly filled last byte and the last sub-block.
    void Finish() {
        if (bitCount_ > 0) {
            PutByte(static_cast<std::uint8_t>(bits_ & 0xFF));
            bits_ = 0;
            bitCount_ = 0;
        }
        FlushBlock();
    }

private:
    void PutByte(std::uint8_t byte) {
        if (count_ == kMaxSubBlock) {
            FlushBlock();
        }
        block_[static_cast<std::size_t>(++count_)] = byte;
    }

    void FlushBlock() {
        if (count_ == 0) {
            return;
        }
        block_[0] = static_cast<std::uint8_t>(count_);
        out_.append(reinterpret_cast<const char*>(block_.data()), count_ + 1);
        count_ = 0;
    }

    QByteArray& out_;
    std::array<std::uint8_t, kMaxSubBlock + 1> block_{};
    int count_ = 0;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
};

// The strings learned since the last clear code, keyed by (code of the string's prefix, last
// pixel): the same as keying by the whole pixel sequence, since every code names one string.
class CodeTable {
public:
    CodeTable() : codes_(static_cast<std::size_t>(kFirstLearnedCode + kMaxLearned) * 256, 0) {}

    int Find(int prefix, std::uint8_t pixel) const { return codes_[Slot(prefix, pixel)]; }
    bool Full() const { return learned_ == kMaxLearned; }

    void Learn(int prefix, std::uint8_t pixel) {
        const std::size_t slot = Slot(prefix, pixel);
        codes_[slot] = static_cast<std::uint16_t>(kFirstLearnedCode + learned_);
        slots_[static_cast<std::size_t>(learned_++)] = slot;
    }

    // Forgets only what was learned, so a reset costs at most 253 stores.
    void Reset() {
        for (int i = 0; i < learned_; ++i) {
            codes_[slots_[static_cast<std::size_t>(i)]] = 0;
        }
        learned_ = 0;
    }

private:
    static std::size_t Slot(int prefix, std::uint8_t pixel) {
        return static_cast<std::size_t>(prefix) * 256 + pixel;
    }

    std::vector<std::uint16_t> codes_;
    std::array<std::size_t, kMaxLearned> slots_{};
    int learned_ = 0;
};

} // namespace

const std::array<QRgb, 256>& ScreenPalette() {
    static const std::array<QRgb, 256> palette = [] {
        std::array<QRgb, 256> colours{};
        colours.fill(qRgb(0, 0, 0));
        for (int blue = 0; blue < 5; ++blue) {
            for (int green = 0; green < 5; ++green) {
                for (int red = 0; red < 5; ++red) {
                    colours[static_cast<std::size_t>(25 * blue + 5 * green + red)] =
                        qRgb(kLevels[red], kLevels[green], kLevels[blue]);
                }
            }
        }
        return colours;
    }();
    return palette;
}

std::uint8_t NearestScreenIndex(int red, int green, int blue) {
    // On a grid of levels the nearest colour is the nearest level of each channel.
    const auto level = [](int value) {
        return kLevelOf[static_cast<std::size_t>(value < 0 ? 0 : value > 255 ? 255 : value)];
    };
    return static_cast<std::uint8_t>(25 * level(blue) + 5 * level(green) + level(red));
}

IndexedPicture ReduceToPalette(const QImage& picture) {
    IndexedPicture out;
    if (picture.isNull()) {
        return out;
    }
    out.width = picture.width();
    out.height = picture.height();
    out.indices.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    const auto rowOf = [&](int y) {
        return out.indices.data() +
               static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width);
    };

    if (picture.format() == QImage::Format_Indexed8 ||
        picture.format() == QImage::Format_Grayscale8) {
        out.palette.fill(qRgb(0, 0, 0));
        if (picture.format() == QImage::Format_Grayscale8) {
            for (int i = 0; i < 256; ++i) {
                out.palette[static_cast<std::size_t>(i)] = qRgb(i, i, i);
            }
        } else {
            const QList<QRgb> table = picture.colorTable();
            for (int i = 0; i < table.size() && i < 256; ++i) {
                out.palette[static_cast<std::size_t>(i)] =
                    qRgb(qRed(table[i]), qGreen(table[i]), qBlue(table[i]));
            }
        }
        for (int y = 0; y < out.height; ++y) {
            const uchar* line = picture.constScanLine(y);
            std::copy(line, line + out.width, rowOf(y));
        }
        return out;
    }

    out.palette = ScreenPalette();
    const QImage rgb =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
            ? picture
            : picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* row = rowOf(y);
        for (int x = 0; x < out.width; ++x) {
            const QRgb colour = line[x];
            row[x] =
                static_cast<std::uint8_t>(25 * kLevelOf[qBlue(colour)] +
                                          5 * kLevelOf[qGreen(colour)] + kLevelOf[qRed(colour)]);
        }
    }
    return out;
}

std::uint8_t TransparentIndex(const std::array<QRgb, 256>& palette, QRgb colour) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if ((palette[i] & RGB_MASK) == (colour & RGB_MASK)) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return 0;
}

QByteArray EncodeGif(const IndexedPicture& picture, bool gif89a, std::uint8_t transparentIndex,
                     const std::function<void(int row)>& rowDone) {
    QByteArray out;
    // Worst case: one 9-bit code per pixel plus a clear code per row.
    out.reserve(static_cast<qsizetype>(800 + picture.indices.size() * 9 / 8 +
                                       static_cast<std::size_t>(picture.height) * 4));
    out.append(gif89a ? "GIF89a" : "GIF87a", 6);
    PutWord(out, picture.width);
    PutWord(out, picture.height);
    out.append(static_cast<char>(0xF7)); // global table of 256, 8-bit colour resolution
    out.append(static_cast<char>(0));    // background index
    out.append(static_cast<char>(0));    // pixel aspect ratio
    for (const QRgb colour : picture.palette) {
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
    if (gif89a) {
        // Graphic control extension: restore to background, transparency on, no delay.
        out.append("\x21\xF9\x04\x09\x00\x00", 6);
        out.append(static_cast<char>(transparentIndex));
        out.append(static_cast<char>(0));
    }
    out.append(static_cast<char>(0x2C));
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, picture.width);
    PutWord(out, picture.height);
    out.append(static_cast<char>(0x07));
    out.append(static_cast<char>(8)); // LZW minimum code size

    CodeWriter writer(out);
    CodeTable table;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row =
            picture.indices.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width);
        table.Reset();
        writer.Write(kClearCode);
        int match = row[0];
        for (int x = 1; x < picture.width; ++x) {
            const std::uint8_t pixel = row[x];
            const int known = table.Find(match, pixel);
            if (known != 0) {
                match = known;
                continue;
            }
            // The table stops at 253 strings so that no code ever needs more than 9 bits.
            if (table.Full()) {
                writer.Write(match);
                writer.Write(kClearCode);
                table.Reset();
            } else {
                table.Learn(match, pixel);
                writer.Write(match);
            }
            match = pixel;
        }
        writer.Write(match);
        if ((y + 1) % 10 == 0 && rowDone) {
            rowDone(y + 1);
        }
    }
    writer.Write(kEndCode);
    writer.Finish();
    out.append(static_cast<char>(0));    // block terminator
    out.append(static_cast<char>(0x3B)); // trailer
    return out;
}

clsGIF::clsGIF(QObject* parent) : QObject(parent) {}

GifResult clsGIF::SaveGIF(const QImage& picture, const std::string& fileName, bool gif89a,
                          QRgb transparentColour) {
    if (busy_) {
        return {GifOutcome::Busy, {}};
    }
    busy_ = true;
    struct BusyGuard {
        bool& flag;
        ~BusyGuard() { flag = false; }
    } guard{busy_};

    if (picture.isNull()) {
        return {GifOutcome::Failed, "Invalid picture"};
    }
    if (picture.width() > kMaxGifSide || picture.height() > kMaxGifSide) {
        return {GifOutcome::Failed, "Invalid picture"};
    }
    try {
        const IndexedPicture reduced = ReduceToPalette(picture);
        const int height = reduced.height;
        const QByteArray bytes =
            EncodeGif(reduced, gif89a, TransparentIndex(reduced.palette, transparentColour),
                      [this, height](int row) {
                          emit Progress(static_cast<std::int16_t>(
                              RoundHalfEven(static_cast<double>(row) * 100.0 / height)));
                          // Keeps the windows painting while a large picture is coded.
                          if (QCoreApplication::instance() != nullptr) {
                              QCoreApplication::processEvents();
                          }
                      });
        const std::string error = WriteFileReplacing(fileName, bytes);
        if (!error.empty()) {
            return {GifOutcome::Failed, error};
        }
    } catch (const std::bad_alloc&) {
        return {GifOutcome::Failed, "Out of memory"};
    } catch (const std::exception& error) {
        return {GifOutcome::Failed, error.what()};
    }
    return {GifOutcome::Written, {}};
}

} // namespace lobex
