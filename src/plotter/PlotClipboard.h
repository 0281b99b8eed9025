#pragma once

#include <QByteArray>
#include <QImage>

namespace lobex::plotter {

// Where CopyPicture puts a graph: one picture in two forms, an image and an SVG drawing. The
// engine reaches the clipboard only through this, so it needs no widgets and tests can record
// what was copied.
class PlotClipboard {
public:
    virtual ~PlotClipboard() = default;
    // False when the picture could not be put there.
    virtual bool SetPicture(const QImage& image, const QByteArray& svg) = 0;
};

// The system clipboard of the running QGuiApplication; fails without one.
class SystemPlotClipboard final : public PlotClipboard {
public:
    bool SetPicture(const QImage& image, const QByteArray& svg) override;
};

} // namespace lobex::plotter
