#include "clsGIF.h"

#include "FileReplace.h"
#include "core/TextRules.h"

#include <QCoreApplication>
#include <QRect>

#include <algorithm>

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

// The picture with one QRgb a pixel, alpha aside.
QImage AsRgb32(const QImage& picture) {
    return picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
               ? picture
               : picture.convertToFormat(QImage::Format_RGB32);
}

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
    const QImage rgb = AsRgb32(picture);
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

namespace {

int Channel(std::uint32_t colour, int channel) {
    return static_cast<int>((colour >> (8 * (2 - channel))) & 0xFF);
}

// The distinct colours of pictures with how many pixels have each, and later the palette entry
// each is shown with. Open addressing: the colours of rendered pictures are a few thousand,
// and neighbouring pixels mostly repeat one.
class ColourCounts {
public:
    ColourCounts() { Resize(12); }

    void Count(QRgb colour) { ++counts_[Find(colour & RGB_MASK)]; }
    std::uint8_t& IndexOf(QRgb colour) { return indices_[Find(colour & RGB_MASK)]; }

    // Each distinct colour and its count, in no order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        for (std::size_t slot = 0; slot < keys_.size(); ++slot) {
            if (keys_[slot] != kEmpty) {
                visit(keys_[slot] & RGB_MASK, counts_[slot]);
            }
        }
    }

private:
    // Keys are colours with the alpha byte set, so that 0 marks a free slot.
    static constexpr std::uint32_t kEmpty = 0;

    std::size_t Find(std::uint32_t colour) {
        const std::uint32_t key = colour | 0xFF000000U;
        std::size_t slot = Home(key);
        while (keys_[slot] != key) {
            if (keys_[slot] == kEmpty) {
                if (2 * (used_ + 1) > keys_.size()) {
                    Resize(bits_ + 1);
                    return Find(colour);
                }
                keys_[slot] = key;
                ++used_;
                return slot;
            }
            slot = (slot + 1) & (keys_.size() - 1);
        }
        return slot;
    }

    std::size_t Home(std::uint32_t key) const {
        return static_cast<std::size_t>((key * 2654435761U) >> (32 - bits_));
    }

    void Resize(int bits) {
        std::vector<std::uint32_t> keys(std::size_t{1} << bits, kEmpty);
        std::vector<std::uint64_t> counts(keys.size(), 0);
        keys.swap(keys_);
        counts.swap(counts_);
        bits_ = bits;
        for (std::size_t slot = 0; slot < keys.size(); ++slot) {
            if (keys[slot] != kEmpty) {
                std::size_t home = Home(keys[slot]);
                while (keys_[home] != kEmpty) {
                    home = (home + 1) & (keys_.size() - 1);
                }
                keys_[home] = keys[slot];
                counts_[home] = counts[slot];
            }
        }
        indices_.assign(keys_.size(), 0);
    }

    std::vector<std::uint32_t> keys_;
    std::vector<std::uint64_t> counts_;
    std::vector<std::uint8_t> indices_;
    std::size_t used_ = 0;
    int bits_ = 0;
};

struct ColourCount {
    std::uint32_t colour = 0;
    std::uint64_t count = 0;
};

// A run of colours that will share one palette entry.
struct ColourBox {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint64_t count = 0;
    int longest = 0; // the channel the box is widest in
    int side = 0;    // its width there

    void Measure(const std::vector<ColourCount>& colours) {
        std::array<int, 3> low{255, 255, 255};
        std::array<int, 3> high{0, 0, 0};
        count = 0;
        for (std::size_t i = begin; i < end; ++i) {
            count += colours[i].count;
            for (std::size_t channel = 0; channel < 3; ++channel) {
                const int level = Channel(colours[i].colour, static_cast<int>(channel));
                low[channel] = std::min(low[channel], level);
                high[channel] = std::max(high[channel], level);
            }
        }
        side = -1;
        for (std::size_t channel = 0; channel < 3; ++channel) {
            if (high[channel] - low[channel] > side) {
                side = high[channel] - low[channel];
                longest = static_cast<int>(channel);
            }
        }
    }
};

// Median cut: the box with most pixels times width is halved, by pixel count, across its widest
// channel, until there are 256 boxes or none can be split.
std::vector<ColourBox> CutIntoBoxes(std::vector<ColourCount>& colours) {
    std::vector<ColourBox> boxes;
    if (colours.empty()) {
        return boxes;
    }
    boxes.push_back({0, colours.size()});
    boxes.back().Measure(colours);
    while (boxes.size() < 256) {
        ColourBox* widest = nullptr;
        for (ColourBox& box : boxes) {
            if (box.end - box.begin > 1 &&
                (widest == nullptr ||
                 box.count * static_cast<std::uint64_t>(box.side) >
                     widest->count * static_cast<std::uint64_t>(widest->side))) {
                widest = &box;
            }
        }
        if (widest == nullptr) {
            break;
        }
        const int channel = widest->longest;
        std::sort(colours.begin() + static_cast<std::ptrdiff_t>(widest->begin),
                  colours.begin() + static_cast<std::ptrdiff_t>(widest->end),
                  [channel](const ColourCount& a, const ColourCount& b) {
                      const int first = Channel(a.colour, channel);
                      const int second = Channel(b.colour, channel);
                      return first != second ? first < second : a.colour < b.colour;
                  });
        // The colour at the median goes with those below it, unless it holds half the box by
        // itself (a flat ground): then it starts the upper box, and ends up alone.
        std::uint64_t below = 0;
        std::size_t median = widest->begin;
        while (2 * (below + colours[median].count) < widest->count) {
            below += colours[median++].count;
        }
        const bool heavy = 2 * colours[median].count >= widest->count;
        const std::size_t split =
            heavy && median > widest->begin ? median : std::min(median + 1, widest->end - 1);
        ColourBox upper{split, widest->end};
        widest->end = split;
        widest->Measure(colours);
        upper.Measure(colours);
        boxes.push_back(upper);
    }
    return boxes;
}

} // namespace

std::vector<IndexedPicture> ReduceToSharedPalette(const std::vector<QImage>& pictures) {
    std::vector<QImage> rgb;
    rgb.reserve(pictures.size());
    ColourCounts counts;
    for (const QImage& picture : pictures) {
        rgb.push_back(AsRgb32(picture));
        const QImage& image = rgb.back();
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                counts.Count(line[x]);
            }
        }
    }
    std::vector<ColourCount> colours;
    counts.ForEach([&colours](std::uint32_t colour, std::uint64_t count) {
        colours.push_back({colour, count});
    });
    const std::vector<ColourBox> boxes = CutIntoBoxes(colours);

    // Each entry is the mean colour of its box's pixels.
    std::array<QRgb, 256> palette{};
    palette.fill(qRgb(0, 0, 0));
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        std::array<std::uint64_t, 3> sum{};
        for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i) {
            for (std::size_t channel = 0; channel < 3; ++channel) {
                sum[channel] += static_cast<std::uint64_t>(
                                    Channel(colours[i].colour, static_cast<int>(channel))) *
                                colours[i].count;
            }
            counts.IndexOf(colours[i].colour) = static_cast<std::uint8_t>(b);
        }
        const auto mean = [&](std::size_t channel) {
            return static_cast<int>((sum[channel] + boxes[b].count / 2) / boxes[b].count);
        };
        palette[b] = qRgb(mean(0), mean(1), mean(2));
    }

    std::vector<IndexedPicture> reduced(rgb.size());
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        const QImage& image = rgb[i];
        IndexedPicture& out = reduced[i];
        out.width = image.width();
        out.height = image.height();
        out.palette = palette;
        out.indices.resize(static_cast<std::size_t>(out.width) *
                           static_cast<std::size_t>(out.height));
        for (int y = 0; y < out.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            std::uint8_t* row = out.indices.data() +
                                static_cast<std::size_t>(y) * static_cast<std::size_t>(out.width);
            for (int x = 0; x < out.width; ++x) {
                row[x] = counts.IndexOf(line[x]);
            }
        }
    }
    return reduced;
}

std::uint8_t TransparentIndex(const std::array<QRgb, 256>& palette, QRgb colour) {
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if ((palette[i] & RGB_MASK) == (colour & RGB_MASK)) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return 0;
}

namespace {

// Signature, logical screen descriptor and the global colour table of 256.
void PutScreen(QByteArray& out, const char* signature, int width, int height,
               const std::array<QRgb, 256>& palette) {
    out.append(signature, 6);
    PutWord(out, width);
    PutWord(out, height);
    out.append(static_cast<char>(0xF7)); // global table of 256, 8-bit colour resolution
    out.append(static_cast<char>(0));    // background index
    out.append(static_cast<char>(0));    // pixel aspect ratio
    for (const QRgb colour : palette) {
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
}

// The image descriptor and the coded pixels of area of the picture.
void PutImage(QByteArray& out, const IndexedPicture& picture, const QRect& area,
              const std::function<void(int row)>& rowDone) {
    out.append(static_cast<char>(0x2C));
    PutWord(out, area.left());
    PutWord(out, area.top());
    PutWord(out, area.width());
    PutWord(out, area.height());
    out.append(static_cast<char>(0x07));
    out.append(static_cast<char>(8)); // LZW minimum code size

    CodeWriter writer(out);
    CodeTable table;
    for (int y = 0; y < area.height(); ++y) {
        const std::uint8_t* row =
            picture.indices.data() +
            static_cast<std::size_t>(area.top() + y) * static_cast<std::size_t>(picture.width) +
            static_cast<std::size_t>(area.left());
        table.Reset();
        writer.Write(kClearCode);
        int match = row[0];
        for (int x = 1; x < area.width(); ++x) {
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
    out.append(static_cast<char>(0)); // block terminator
}

// The smallest rectangle holding every pixel in which frame differs from previous; a single
// pixel when the two are alike, since an image cannot be empty.
QRect ChangedArea(const IndexedPicture& previous, const IndexedPicture& frame) {
    int top = frame.height;
    int bottom = -1;
    int left = frame.width;
    int right = -1;
    for (int y = 0; y < frame.height; ++y) {
        const std::size_t start =
            static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width);
        const std::uint8_t* was = previous.indices.data() + start;
        const std::uint8_t* now = frame.indices.data() + start;
        int x = 0;
        while (x < frame.width && was[x] == now[x]) {
            ++x;
        }
        if (x == frame.width) {
            continue;
        }
        int last = frame.width - 1;
        while (was[last] == now[last]) {
            --last;
        }
        top = std::min(top, y);
        bottom = y;
        left = std::min(left, x);
        right = std::max(right, last);
    }
    if (bottom < 0) {
        return {0, 0, 1, 1};
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

QByteArray EncodeGif(const IndexedPicture& picture, bool gif89a, std::uint8_t transparentIndex,
                     const std::function<void(int row)>& rowDone) {
    QByteArray out;
    // Worst case: one 9-bit code per pixel plus a clear code per row.
    out.reserve(static_cast<qsizetype>(800 + picture.indices.size() * 9 / 8 +
                                       static_cast<std::size_t>(picture.height) * 4));
    PutScreen(out, gif89a ? "GIF89a" : "GIF87a", picture.width, picture.height, picture.palette);
    if (gif89a) {
        // Graphic control extension: restore to background, transparency on, no delay.
        out.append("\x21\xF9\x04\x09\x00\x00", 6);
        out.append(static_cast<char>(transparentIndex));
        out.append(static_cast<char>(0));
    }
    PutImage(out, picture, QRect(0, 0, picture.width, picture.height), rowDone);
    out.append(static_cast<char>(0x3B)); // trailer
    return out;
}

QByteArray EncodeAnimatedGif(const std::vector<IndexedPicture>& frames, int delayCentiseconds,
                             const std::function<void(int frame)>& frameDone) {
    if (frames.empty() || frames.front().width <= 0 || frames.front().height <= 0) {
        return {};
    }
    const IndexedPicture& first = frames.front();
    const std::size_t pixels = first.indices.size();
    for (const IndexedPicture& frame : frames) {
        if (frame.width != first.width || frame.height != first.height ||
            frame.indices.size() != pixels ||
            pixels !=
                static_cast<std::size_t>(first.width) * static_cast<std::size_t>(first.height)) {
            return {};
        }
    }
    const int delay = std::clamp(delayCentiseconds, 0, 0xFFFF);

    QByteArray out;
    PutScreen(out, "GIF89a", first.width, first.height, first.palette);
    // The application extension browsers read the repetitions from: 0, over and over.
    out.append("\x21\xFF\x0B"
               "NETSCAPE2.0"
               "\x03\x01\x00\x00\x00",
               19);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // Graphic control extension: the frame stays (the next one is drawn over it), no
        // transparency, shown for the delay.
        out.append("\x21\xF9\x04\x04", 4);
        PutWord(out, delay);
        out.append("\x00\x00", 2);
        // After the first, a frame codes only the rectangle in which it differs from the one
        // before: the rest of the picture stays on the screen as it is.
        const QRect area =
            i == 0 ? QRect(0, 0, first.width, first.height) : ChangedArea(frames[i - 1], frames[i]);
        PutImage(out, frames[i], area, {});
        if (frameDone) {
            frameDone(static_cast<int>(i) + 1);
        }
    }
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
