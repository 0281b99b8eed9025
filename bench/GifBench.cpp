#include "images/ImageWriter.h"
#include "images/clsGIF.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// What a screen save holds: a title bar, menus, a data table, a graph with curves and a
// polar diagram, on a flat window background.
QImage ScreenPicture() {
    QImage picture(1280, 800, QImage::Format_RGB32);
    picture.fill(QColor(240, 240, 240));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(0, 0, 1280, 28, QColor(45, 95, 165));
    painter.setPen(Qt::white);
    painter.drawText(10, 19, QStringLiteral("Lobex - просмотр результатов MMANA"));
    painter.setPen(Qt::black);
    painter.drawText(10, 46, QStringLiteral("Файл   Данные   Сервис   Помощь"));

    painter.fillRect(10, 60, 560, 720, Qt::white);
    painter.setPen(QColor(200, 200, 200));
    for (int y = 60; y <= 780; y += 20) {
        painter.drawLine(10, y, 570, y);
    }
    painter.setPen(Qt::black);
    for (int row = 0; row < 35; ++row) {
        const double f = 14.0 + row * 0.01;
        painter.drawText(16, 76 + row * 20,
                         QStringLiteral("%1   %2   %3   %4   %5   %6")
                             .arg(row + 1)
                             .arg(f, 0, 'f', 3)
                             .arg(50.0 + 3 * std::sin(row / 4.0), 0, 'f', 2)
                             .arg(-2.0 + std::cos(row / 3.0), 0, 'f', 2)
                             .arg(1.1 + row * 0.02, 0, 'f', 2)
                             .arg(7.0 + std::sin(row / 5.0), 0, 'f', 2));
    }

    const QRect plot(600, 60, 660, 340);
    painter.fillRect(plot, Qt::white);
    painter.setPen(QColor(210, 210, 210));
    for (int i = 1; i < 10; ++i) {
        painter.drawLine(plot.left() + i * plot.width() / 10, plot.top(),
                         plot.left() + i * plot.width() / 10, plot.bottom());
        painter.drawLine(plot.left(), plot.top() + i * plot.height() / 10, plot.right(),
                         plot.top() + i * plot.height() / 10);
    }
    QPainterPath red, blue;
    for (int x = 0; x < plot.width(); ++x) {
        const QPointF r(plot.left() + x, plot.center().y() + 120 * std::sin(x / 70.0));
        const QPointF b(plot.left() + x, plot.center().y() + 60 * std::cos(x / 40.0));
        x == 0 ? red.moveTo(r) : red.lineTo(r);
        x == 0 ? blue.moveTo(b) : blue.lineTo(b);
    }
    painter.setPen(QPen(Qt::red, 2));
    painter.drawPath(red);
    painter.setPen(QPen(Qt::blue, 2));
    painter.drawPath(blue);

    const QPointF centre(930, 590);
    painter.setPen(QColor(180, 180, 180));
    for (int r = 40; r <= 160; r += 40) {
        painter.drawEllipse(centre, r, r);
    }
    QPainterPath lobe;
    for (int a = 0; a <= 360; ++a) {
        const double angle = a * 3.14159265 / 180.0;
        const double gain = 160 * std::pow(std::abs(std::cos(angle)), 3) + 20;
        const QPointF p = centre + QPointF(gain * std::sin(angle), -gain * std::cos(angle));
        a == 0 ? lobe.moveTo(p) : lobe.lineTo(p);
    }
    painter.setPen(QPen(Qt::red, 2));
    painter.drawPath(lobe);
    painter.end();
    return picture;
}

const QImage& Picture() {
    static const QImage picture = ScreenPicture();
    return picture;
}

void GifEncodeInMemory(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        const lobex::IndexedPicture reduced = lobex::ReduceToPalette(Picture());
        const QByteArray file = lobex::EncodeGif(reduced, false, 0);
        bytes = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(GifEncodeInMemory)->Unit(benchmark::kMillisecond);

void GifReduceOnly(benchmark::State& state) {
    for (auto _ : state) {
        const lobex::IndexedPicture reduced = lobex::ReduceToPalette(Picture());
        benchmark::DoNotOptimize(reduced.indices.data());
    }
}
BENCHMARK(GifReduceOnly)->Unit(benchmark::kMillisecond);

void GifSaveToFile(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("screen.gif")).toStdString();
    lobex::clsGIF gif;
    for (auto _ : state) {
        const lobex::GifResult result = gif.SaveGIF(Picture(), path);
        if (result.outcome != lobex::GifOutcome::Written) {
            state.SkipWithError(result.error.c_str());
            break;
        }
    }
    state.counters["file_bytes"] =
        static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
}
BENCHMARK(GifSaveToFile)->Unit(benchmark::kMillisecond);

// A turntable of the 3D view: 36 frames of 800x600, a shaded lobe turning over a flat ground
// with fixed corner text.
const std::vector<QImage>& TurningFrames() {
    static const std::vector<QImage> frames = [] {
        std::vector<QImage> pictures;
        for (int i = 0; i < 36; ++i) {
            QImage picture(800, 600, QImage::Format_RGB32);
            picture.fill(QColor(128, 128, 128));
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::white);
            painter.drawText(10, 20, QStringLiteral("Lobex"));
            const double squeeze = std::abs(std::cos(i * 3.14159265 / 18.0));
            QRadialGradient shade(QPointF(400 - 80 * squeeze, 260), 260);
            shade.setColorAt(0, QColor(110, 110, 255));
            shade.setColorAt(1, QColor(40, 40, 200));
            painter.setBrush(shade);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(QPointF(400, 300), 80 + 220 * squeeze, 120);
            painter.drawEllipse(QPointF(400, 220), 60, 90);
            painter.end();
            pictures.push_back(picture);
        }
        return pictures;
    }();
    return frames;
}

void GifTurntableEncode(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray file =
            lobex::EncodeAnimatedGif(lobex::ReduceToSharedPalette(TurningFrames()), 10);
        bytes = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(GifTurntableEncode)->Unit(benchmark::kMillisecond);

void GifTurntablePaletteOnly(benchmark::State& state) {
    for (auto _ : state) {
        const auto reduced = lobex::ReduceToSharedPalette(TurningFrames());
        benchmark::DoNotOptimize(reduced.data());
    }
}
BENCHMARK(GifTurntablePaletteOnly)->Unit(benchmark::kMillisecond);

void PngEncodeInMemory(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray file;
        QBuffer buffer(&file);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(Picture());
        bytes = file.size();
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(PngEncodeInMemory)->Unit(benchmark::kMillisecond);

void JpegEncodeInMemory(benchmark::State& state) {
    qsizetype bytes = 0;
    std::string error;
    for (auto _ : state) {
        bytes = lobex::EncodeImage(Picture(), "jpg", {75, false, false}, error).size();
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(JpegEncodeInMemory)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Text in the picture needs the application's fonts.
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc > 1 && std::string_view(argv[1]) == "--save-picture" && argc > 2) {
        return Picture().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
