#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QRgb>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lobex {

// A picture as GIF sees it: one palette index per pixel, rows top to bottom, and 256 colours.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    std::array<QRgb, 256> palette{};
};

// The fixed table for true-colour pictures: levels 0, 64, 128, 192, 255 of red (inner), green
// and blue (outer), index = 25 x blue level + 5 x green level + red level; 125..255 are black.
const std::array<QRgb, 256>& ScreenPalette();

// Index of the colour of ScreenPalette nearest to (red, green, blue) by RGB distance; a tie
// goes to the lower index.
std::uint8_t NearestScreenIndex(int red, int green, int blue);

// An 8-bit picture keeps its own palette (a greyscale one its grey levels); any other is
// matched against ScreenPalette. A null picture gives an empty result.
IndexedPicture ReduceToPalette(const QImage& picture);

// Pictures shown one after another (the frames of an animation) reduced to one palette of their
// own colours: median cut of all their pixels, each entry the mean colour of its pixels.
// Unused entries are black. Null pictures give empty results.
std::vector<IndexedPicture> ReduceToSharedPalette(const std::vector<QImage>& pictures);

// The whole GIF file for a reduced picture. Every code is 9 bits wide; the code table restarts
// at each row and after 253 learned strings. rowDone is called after every tenth row with the
// number of rows coded so far.
QByteArray EncodeGif(const IndexedPicture& picture, bool gif89a, std::uint8_t transparentIndex,
                     const std::function<void(int row)>& rowDone = {});

// A GIF89a animation shown over and over: the first frame's palette is the file's colour table
// (all frames must have the same size and palette), each frame stays for delayCentiseconds, and
// each after the first codes only the rectangle where it differs from the one before, with the
// same 9-bit codes as EncodeGif. frameDone is called with the number of frames coded so far.
// Empty when there is no frame or the frames differ in size.
QByteArray EncodeAnimatedGif(const std::vector<IndexedPicture>& frames, int delayCentiseconds,
                             const std::function<void(int frame)>& frameDone = {});

// The first palette index holding colour (alpha ignored), 0 when none does.
std::uint8_t TransparentIndex(const std::array<QRgb, 256>& palette, QRgb colour);

enum class GifOutcome { Written, Busy, Failed };

struct GifResult {
    GifOutcome outcome = GifOutcome::Written;
    std::string error; // the description when the outcome is Failed
};

// The program's own GIF writer. One instance serves a whole run; a call made while another is
// running (the message loop runs during Progress) is refused.
class clsGIF : public QObject {
    Q_OBJECT
public:
    explicit clsGIF(QObject* parent = nullptr);

    // Writes picture to fileName as GIF87a, or as GIF89a with a graphic control extension
    // naming the palette index of transparentColour. A read-only file of that name is replaced.
    GifResult SaveGIF(const QImage& picture, const std::string& fileName, bool gif89a = false,
                      QRgb transparentColour = qRgb(0, 0, 0));

    bool Busy() const { return busy_; }

signals:
    // Percentage of rows written, after every tenth row.
    void Progress(std::int16_t percent);

private:
    bool busy_ = false;
};

} // namespace lobex
