#include "Touchstone.h"

#include "Impedance.h"

#include <array>
#include <charconv>
#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <vector>

namespace lobex {
namespace {

// Numbers written and read without the user's locale: a decimal comma would break the file for
// every other program.
void Append(std::string& out, double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 9);
    out.append(buffer.data(), result.ptr);
}

void AppendShortest(std::string& out, float value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

std::optional<double> Number(std::string_view token) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        if (i > start) {
            tokens.push_back(line.substr(start, i - start));
        }
    }
    return tokens;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

enum class Format { RealImaginary, MagnitudeAngle, DecibelAngle };

struct Options {
    double toMegahertz = 1000.0; // GHz
    Format format = Format::MagnitudeAngle;
    double z0 = 50.0;
};

// The option line's parts; the refusal's text when a part is not what a one-port S file holds.
std::optional<std::string_view> ReadOptions(std::string_view line, Options& options) {
    const std::vector<std::string_view> tokens = Tokens(line.substr(1));
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string word = Upper(tokens[i]);
        if (word == "HZ" || word == "KHZ" || word == "MHZ" || word == "GHZ") {
            options.toMegahertz = word == "HZ"    ? 1e-6
                                  : word == "KHZ" ? 1e-3
                                  : word == "MHZ" ? 1.0
                                                  : 1e3;
        } else if (word == "RI" || word == "MA" || word == "DB") {
            options.format = word == "RI"   ? Format::RealImaginary
                             : word == "MA" ? Format::MagnitudeAngle
                                            : Format::DecibelAngle;
        } else if (word == "Y" || word == "Z" || word == "H" || word == "G") {
            return kTouchstoneParameterMessage;
        } else if (word == "R" && i + 1 < tokens.size()) {
            const std::optional<double> z0 = Number(tokens[++i]);
            if (!z0 || *z0 <= 0.0) {
                return kTouchstoneLineMessage;
            }
            options.z0 = *z0;
        } else if (word != "S") {
            return kTouchstoneLineMessage;
        }
    }
    return std::nullopt;
}

std::complex<double> S11Of(const Options& options, double a, double b) {
    const double angle = b * std::numbers::pi / 180.0;
    switch (options.format) {
    case Format::RealImaginary:
        return {a, b};
    case Format::MagnitudeAngle:
        return std::polar(a, angle);
    case Format::DecibelAngle:
        break;
    }
    return std::polar(std::pow(10.0, a / 20.0), angle);
}

} // namespace

Checked<std::string> WriteTouchstone(const Sweep& sweep, double z0, std::string_view source) {
    if (!(z0 > 0.0) || !std::isfinite(z0)) {
        return Checked<std::string>::Refuse(kReferenceImpedanceMessage);
    }
    // CR LF as MMANA's own files have it; readers of Touchstone take either ending.
    std::string out = "! Lobex: ";
    out += source;
    out += "\r\n# MHz S RI R ";
    Append(out, z0);
    out += "\r\n";
    for (const SweepPoint& point : sweep.points) {
        const std::complex<double> z(point.impedance);
        const std::complex<double> s = (z - z0) / (z + z0);
        AppendShortest(out, point.frequency);
        out += ' ';
        Append(out, s.real());
        out += ' ';
        Append(out, s.imag());
        out += "\r\n";
    }
    return Checked<std::string>::Accept(std::move(out));
}

Checked<TouchstoneSweep> ReadTouchstone(std::string_view text) {
    using Result = Checked<TouchstoneSweep>;
    Options options;
    bool optionsRead = false;
    TouchstoneSweep read;
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = line.substr(0, line.find('!'));
        const std::vector<std::string_view> tokens = Tokens(line);
        if (tokens.empty()) {
            continue;
        }
        if (tokens.front().front() == '#') {
            if (!optionsRead) { // the first option line counts; later ones are ignored
                optionsRead = true;
                if (const auto message = ReadOptions(line.substr(line.find('#')), options)) {
                    return Result::Refuse(*message, number);
                }
            }
            continue;
        }
        if (tokens.size() > 3) {
            return Result::Refuse(kTouchstonePortsMessage, number);
        }
        std::array<double, 3> values{};
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            const std::optional<double> value = Number(tokens[i]);
            if (!value) {
                return Result::Refuse(kTouchstoneLineMessage, number);
            }
            values[i] = *value;
        }
        const std::complex<double> s = S11Of(options, values[1], values[2]);
        if (tokens.size() < 3 || s == 1.0) { // S11 = 1 is an open circuit: no finite impedance
            return Result::Refuse(kTouchstoneLineMessage, number);
        }
        const std::complex<double> z = options.z0 * (1.0 + s) / (1.0 - s);
        SweepPoint point;
        point.frequency = static_cast<float>(values[0] * options.toMegahertz);
        point.impedance = std::complex<float>(z);
        point.swr = static_cast<float>(Reflect(z, options.z0).value->swr);
        read.sweep.points.push_back(point);
    }
    if (read.sweep.points.empty()) {
        return Result::Refuse(kTouchstoneEmptyMessage);
    }
    read.z0 = options.z0;
    return Result::Accept(std::move(read));
}

} // namespace lobex
