#pragma once

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

// A far-field file as MMANA writes it, for tests and benchmarks that need a large or a fine
// grid: every zenith 0..zenithLast for each azimuth 0..360-step in turn, one decimal for the
// angles, two for the gains, -999.00 for a component that vanishes, CR LF line ends. The
// pattern is a horizontally polarised lobe towards azimuth 0 at elevation 30 degrees.
namespace lobex::test {

inline std::string MakeFarFieldCsv(double step = 0.5, double zenithLast = 180.0) {
    std::string text = "ZENITH(DEG),AZIMUTH(DEG),VERT(dBi),HORI(dBi),TOTAL(dBi)\r\n";
    const int azimuths = static_cast<int>(std::lround(360.0 / step));
    const int zeniths = static_cast<int>(std::lround(zenithLast / step)) + 1;
    text.reserve(static_cast<std::size_t>(azimuths) * static_cast<std::size_t>(zeniths) * 34);
    const double degree = 3.14159265358979323846 / 180.0;
    char line[96];
    for (int a = 0; a < azimuths; ++a) {
        const double azimuth = a * step;
        for (int z = 0; z < zeniths; ++z) {
            const double zenith = z * step;
            double horizontal = -180.0;
            double vertical = -999.0;
            if (zenith <= 90.0) {
                const double lobe = std::cos(azimuth * degree) * std::sin(zenith * degree);
                horizontal = 9.0 - 14.0 * (1.0 - lobe) - 0.003 * (zenith - 60.0) * (zenith - 60.0);
                vertical =
                    zenith == 0.0 ? -999.0 : horizontal - 25.0 + 5.0 * std::sin(azimuth * degree);
            }
            const double total = vertical <= -999.0
                                     ? horizontal
                                     : 10.0 * std::log10(std::pow(10.0, horizontal / 10.0) +
                                                         std::pow(10.0, vertical / 10.0));
            const int length = std::snprintf(line, sizeof line, "%.1f,%.1f,%.2f,%.2f,%.2f\r\n",
                                             zenith, azimuth, vertical, horizontal, total);
            text.append(line, static_cast<std::size_t>(length));
        }
    }
    return text;
}

inline void WriteFarFieldCsv(const std::string& path, double step = 0.5,
                             double zenithLast = 180.0) {
    const std::string text = MakeFarFieldCsv(step, zenithLast);
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace lobex::test
