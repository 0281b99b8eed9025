#include "MaaNecDeck.h"

#include "model/Texts.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <complex>
#include <numbers>
#include <set>

namespace lobex {
namespace {

constexpr double kLightMetresMhz = 299.792458;
// MMANA's own defaults, for a model without a segmentation line.
constexpr MaaSegmentation kDefaultSegmentation{400.0, 40.0, 2.0, std::nullopt, 0};
// Average ground, the usual stand-in where the figures are not known.
constexpr double kGroundPermittivity = 13.0;
constexpr double kGroundConductivity = 0.005;
// nec2c breaks cards longer than its buffer; comments are wrapped well inside it.
constexpr std::size_t kCommentWidth = 72;

struct Refusal {
    std::string why;
};

[[noreturn]] void Refuse(int line, std::string_view what) {
    std::string why = line > 0 ? "строка " + std::to_string(line) + ": " : std::string();
    throw Refusal{why.append(what)};
}

std::string Number(double value) {
    if (value == 0.0) {
        return "0";
    }
    char text[32];
    const auto result =
        std::to_chars(std::begin(text), std::end(text), value, std::chars_format::general, 9);
    return std::string(text, result.ptr);
}

double Length(const MaaWire& wire) {
    return std::hypot(wire.End2.X - wire.End1.X, wire.End2.Y - wire.End1.Y,
                      wire.End2.Z - wire.End1.Z);
}

struct PlacedPart {
    MaaPlace place;
    int line = 0;
};

MaaPlace ReadPlace(const std::string& text, int line, const MaaModel& model, const char* what) {
    const std::optional<MaaPlace> place = ParseMaaPlace(text);
    if (!place) {
        Refuse(line, std::string("место ").append(what).append(" \"").append(text).append(
                         "\" не прочитано (ожидалось вида w1c, w2b, w3e1)"));
    }
    if (place->Wire < 1 || static_cast<std::size_t>(place->Wire) > model.Wires.size()) {
        Refuse(line, std::string(what).append(" на проводе, которого нет в файле"));
    }
    if (Length(model.Wires[static_cast<std::size_t>(place->Wire - 1)]) <= 0.0) {
        Refuse(line, std::string(what).append(" на проводе нулевой длины"));
    }
    return *place;
}

class DeckBuilder {
public:
    DeckBuilder(const MaaModel& model, const NecDeckChoices& choices, MaaNecDeck& deck)
        : model_(model), choices_(choices), deck_(deck) {}

    void Build() {
        mhz_ = model_.FrequencyMhz;
        if (!(mhz_ > 0.0) || !std::isfinite(mhz_)) {
            Refuse(model_.FrequencyLine, "частота модели должна быть больше 0 МГц");
        }
        wavelength_ = kLightMetresMhz / mhz_;
        segmentation_ = model_.Segmentation.value_or(kDefaultSegmentation);
        if (!model_.Segmentation) {
            Note(LOBEX_TEXT("в модели нет строки автосегментации: взяты DM1 = 400, DM2 = 40"), {},
                 "No segmentation line: DM1 = 400, DM2 = 40 taken.");
        } else if (!(segmentation_.Dm1 > 0.0) || !(segmentation_.Dm2 > 0.0)) {
            Refuse(segmentation_.Line, "DM1 и DM2 автосегментации должны быть больше 0");
        }
        if (model_.Sources.empty()) {
            Refuse(0, "в модели нет источника");
        }
        ReadPlaces();
        CountSegments();
        ReadGround();
        NoteWhatIsLeftOut();

        std::string cards;
        WriteWires(cards);
        WriteGround(cards);
        WriteLoads(cards);
        WriteSources(cards);
        WriteFrequencies(cards);
        deck_.Text = Comments() + cards + "EN\n";
    }

private:
    void Note(std::string_view pattern, std::vector<std::string> args, std::string comment) {
        deck_.Notes.push_back({pattern, std::move(args), std::move(comment)});
    }

    void ReadPlaces() {
        for (const MaaSource& source : model_.Sources) {
            sources_.push_back(
                {ReadPlace(source.Place, source.Line, model_, "источник"), source.Line});
        }
        for (const MaaLoad& load : model_.Loads) {
            loads_.push_back({ReadPlace(load.Place, load.Line, model_, "нагрузка"), load.Line});
        }
    }

    void CountSegments() {
        std::set<int> centred;
        for (const auto* parts : {&sources_, &loads_}) {
            for (const PlacedPart& part : *parts) {
                if (part.place.End == 'C') {
                    centred.insert(part.place.Wire);
                }
            }
        }
        std::string evened;
        for (std::size_t w = 0; w < model_.Wires.size(); ++w) {
            const MaaWire& wire = model_.Wires[w];
            const double length = Length(wire);
            int count = wire.Segments;
            if (count <= 0) {
                count = static_cast<int>(
                    std::clamp(std::ceil(length * segmentation_.Dm2 / wavelength_), 1.0, 10000.0));
            }
            if (centred.contains(static_cast<int>(w) + 1) && count % 2 == 0) {
                if (wire.Segments > 0) {
                    evened += (evened.empty() ? "" : ", ") + std::to_string(w + 1);
                }
                ++count;
            }
            segments_.push_back(count);
        }
        if (!evened.empty()) {
            Note(LOBEX_TEXT("на одном сегменте больше, чтобы середина была сегментом (номера "
                            "проводов: %1)"),
                 {evened}, "Wires " + evened + ": one segment more, to put one on the centre.");
        }
    }

    // The segment of the deck that holds a place, as the header describes.
    int SegmentOf(const PlacedPart& part) const {
        const std::size_t w = static_cast<std::size_t>(part.place.Wire - 1);
        const MaaWire& wire = model_.Wires[w];
        const double length = Length(wire);
        const int count = segments_[w];
        const bool ownCount = wire.Segments > 0;
        const char end = part.place.End;
        double at = end == 'B' ? 0.0 : end == 'E' ? length : length / 2.0;
        int steps = part.place.Offset;
        double direction = 1.0;
        if (end == 'E' && !part.place.Signed) {
            direction = -1.0;
        } else if (steps < 0) {
            direction = -1.0;
            steps = -steps;
        }
        double step = ownCount ? length / wire.Segments
                               : (end == 'C' ? wavelength_ / segmentation_.Dm2
                                             : wavelength_ / segmentation_.Dm1);
        for (int i = 0; i < steps; ++i) {
            at += direction * step;
            if (!ownCount && end != 'C') {
                step = std::min(step * std::max(segmentation_.Sc, 1.0),
                                wavelength_ / segmentation_.Dm2);
            }
        }
        const double slack = length * 1e-9;
        if (at < -slack || at > length + slack) {
            Refuse(part.line, "место за концом провода");
        }
        return std::clamp(static_cast<int>(std::floor(at / (length / count))) + 1, 1, count);
    }

    void ReadGround() {
        if (!model_.Environment) {
            Note(LOBEX_TEXT("в модели нет строки окружения: расчёт в свободном пространстве"), {},
                 "No environment line: computed in free space.");
            return;
        }
        const MaaEnvironment& environment = *model_.Environment;
        if (environment.Ground < 0 || environment.Ground > 2) {
            Refuse(environment.Line, "вид земли " + std::to_string(environment.Ground) +
                                         " не известен (0 свободное пространство, 1 идеальная, "
                                         "2 реальная)");
        }
        ground_ = environment.Ground;
        if (ground_ == 0) {
            return;
        }
        height_ = environment.Height;
        for (const MaaWire& wire : model_.Wires) {
            if (std::min(wire.End1.Z, wire.End2.Z) + height_ < -1e-9) {
                Refuse(wire.Line, "провод уходит под землю");
            }
        }
        if (ground_ == 2) {
            Note(LOBEX_TEXT("реальная земля: проницаемость 13, проводимость 0,005 См/м (в модели "
                            "их нет); NEC-2 считает её и под проводами, MININEC только в "
                            "диаграмме"),
                 {},
                 "Real ground: permittivity 13, conductivity 0.005 S/m (the model has none); "
                 "NEC-2 computes it under the wires too, MININEC only in the pattern.");
        }
    }

    void NoteWhatIsLeftOut() {
        if (model_.StackAcross * model_.StackUp > 1) {
            const std::string stack =
                std::to_string(model_.StackAcross) + "x" + std::to_string(model_.StackUp);
            Note(LOBEX_TEXT("стек %1 не перенесён: в колоде одна антенна"), {stack},
                 "Stack " + stack + " not carried: the deck holds one antenna.");
        }
        std::string tapered;
        std::string empty;
        for (std::size_t w = 0; w < model_.Wires.size(); ++w) {
            const MaaWire& wire = model_.Wires[w];
            const std::string number = std::to_string(w + 1);
            if (Length(wire) <= 0.0) {
                empty += (empty.empty() ? "" : ", ") + number;
            } else if (wire.Radius < 0.0) {
                tapered += (tapered.empty() ? "" : ", ") + number;
            } else if (!(wire.Radius > 0.0)) {
                Refuse(wire.Line, "у провода нулевой радиус");
            }
        }
        if (!tapered.empty()) {
            Note(LOBEX_TEXT("ступенчатый диаметр не перенесён, радиус взят по номеру набора "
                            "(номера проводов: %1)"),
                 {tapered},
                 "Wires " + tapered + ": stepped diameters not carried; radius = |set number|.");
        }
        if (!empty.empty()) {
            Note(LOBEX_TEXT("провода нулевой длины пропущены (номера проводов: %1)"), {empty},
                 "Wires " + empty + " of no length left out.");
        }
        if (model_.Environment && model_.Environment->Material.value_or(0) != 0) {
            const std::string material = std::to_string(*model_.Environment->Material);
            Note(LOBEX_TEXT("материал проводов (код %1) не перенесён: провода без потерь"),
                 {material}, "Wire material (code " + material + ") not carried: lossless wires.");
        }
        for (const std::string& section : model_.OtherSections) {
            Note(LOBEX_TEXT("раздел %1 не перенесён"), {section},
                 "Section " + section + " not carried.");
        }
    }

    void WriteWires(std::string& cards) const {
        for (std::size_t w = 0; w < model_.Wires.size(); ++w) {
            const MaaWire& wire = model_.Wires[w];
            if (Length(wire) <= 0.0) {
                continue;
            }
            const double lift = ground_ == 0 ? 0.0 : height_;
            cards += "GW " + std::to_string(w + 1) + ' ' + std::to_string(segments_[w]) + ' ' +
                     Number(wire.End1.X) + ' ' + Number(wire.End1.Y) + ' ' +
                     Number(wire.End1.Z + lift) + ' ' + Number(wire.End2.X) + ' ' +
                     Number(wire.End2.Y) + ' ' + Number(wire.End2.Z + lift) + ' ' +
                     Number(std::abs(wire.Radius)) + '\n';
        }
    }

    void WriteGround(std::string& cards) const {
        switch (ground_) {
        case 1:
            cards += "GE 1\nGN 1\n";
            break;
        case 2:
            cards += "GE 1\nGN 2 0 0 0 " + Number(kGroundPermittivity) + ' ' +
                     Number(kGroundConductivity) + '\n';
            break;
        default:
            cards += "GE 0\n";
            break;
        }
    }

    std::string Segment(const PlacedPart& part) const {
        const std::string segment = std::to_string(SegmentOf(part));
        return std::to_string(part.place.Wire) + ' ' + segment;
    }

    void WriteLoads(std::string& cards) {
        const double omega = 2.0 * std::numbers::pi * mhz_ * 1e6;
        bool withQ = false;
        std::string laplace;
        for (std::size_t i = 0; i < model_.Loads.size(); ++i) {
            const MaaLoad& load = model_.Loads[i];
            const std::string at = Segment(loads_[i]);
            const std::string range = at + ' ' + at.substr(at.find(' ') + 1);
            const std::vector<double>& v = load.Values;
            const int kind = v.empty() ? -1 : static_cast<int>(v[0]);
            if (kind == 0 && v.size() >= 4) {
                const double henries = v[1] * 1e-6;
                const double farads = v[2] * 1e-12;
                const double q = v[3];
                if (henries < 0.0 || farads < 0.0 || q < 0.0) {
                    Refuse(load.Line, "L, C и Q нагрузки не могут быть отрицательными");
                }
                withQ = withQ || q > 0.0;
                if (henries > 0.0 && farads > 0.0) {
                    const double across = q > 0.0 ? q * omega * henries : 0.0;
                    cards += "LD 1 " + range + ' ' + Number(across) + ' ' + Number(henries) + ' ' +
                             Number(farads) + '\n';
                } else {
                    double series = 0.0;
                    if (q > 0.0) {
                        series = henries > 0.0  ? omega * henries / q
                                 : farads > 0.0 ? 1.0 / (omega * farads * q)
                                                : 0.0;
                    }
                    cards += "LD 0 " + range + ' ' + Number(series) + ' ' + Number(henries) + ' ' +
                             Number(farads) + '\n';
                }
            } else if (kind == 1 && v.size() >= 3) {
                cards += "LD 4 " + range + ' ' + Number(v[1]) + ' ' + Number(v[2]) + '\n';
            } else if (kind == 2 && v.size() >= 11) {
                // Numerator and denominator coefficients alternate, lowest power first.
                const std::complex<double> s(0.0, omega);
                std::complex<double> numerator;
                std::complex<double> denominator;
                for (int k = 4; k >= 0; --k) {
                    numerator = numerator * s + v[static_cast<std::size_t>(1 + 2 * k)];
                    denominator = denominator * s + v[static_cast<std::size_t>(2 + 2 * k)];
                }
                if (std::abs(denominator) == 0.0) {
                    Refuse(load.Line, "знаменатель нагрузки равен 0 на частоте модели");
                }
                const std::complex<double> z = numerator / denominator;
                cards += "LD 4 " + range + ' ' + Number(z.real()) + ' ' + Number(z.imag()) + '\n';
                laplace += (laplace.empty() ? "" : ", ") + std::to_string(load.Line);
            } else if (kind < 0 || kind > 2) {
                Refuse(load.Line, "вид нагрузки " + std::to_string(kind) +
                                      " не известен (0 L/C/Q, 1 R+jX, 2 S-параметры)");
            } else {
                Refuse(load.Line, "в строке нагрузки не хватает полей");
            }
        }
        if (withQ) {
            Note(LOBEX_TEXT("добротность Q нагрузок взята сопротивлением на частоте модели"), {},
                 "Load Q taken as a resistance at the model's frequency.");
        }
        if (!laplace.empty()) {
            Note(
                LOBEX_TEXT("нагрузки в строках %1 (S-параметры) взяты их сопротивлением на частоте "
                           "модели для всех частот"),
                {laplace},
                "Laplace loads (lines " + laplace +
                    ") taken as their impedance at the model's frequency.");
        }
    }

    void WriteSources(std::string& cards) const {
        for (std::size_t i = 0; i < model_.Sources.size(); ++i) {
            const MaaSource& source = model_.Sources[i];
            const double phase = source.PhaseDegrees * std::numbers::pi / 180.0;
            cards += "EX 0 " + Segment(sources_[i]) + " 0 " +
                     Number(source.Volts * std::cos(phase)) + ' ' +
                     Number(source.Volts * std::sin(phase)) + '\n';
        }
    }

    void WriteFrequencies(std::string& cards) const {
        const int steps = choices_.SweepPercent > 0.0 ? std::max(choices_.Steps, 1) : 1;
        if (steps == 1) {
            cards += "FR 0 1 0 0 " + Number(mhz_) + " 0\n";
        } else {
            const double width = mhz_ * choices_.SweepPercent / 100.0;
            cards += "FR 0 " + std::to_string(steps) + " 0 0 " + Number(mhz_ - width) + ' ' +
                     Number(2.0 * width / (steps - 1)) + '\n';
        }
        cards += ground_ == 0 ? "RP 0 37 73 1000 0 0 5 5\n" : "RP 0 19 73 1000 0 0 5 5\n";
    }

    std::string Comments() const {
        std::vector<std::string> lines;
        if (!model_.Name.empty()) {
            lines.push_back(model_.Name);
        }
        lines.push_back("Written by Lobex from an MMANA model.");
        lines.push_back("Computed by NEC-2: its figures differ a little from MMANA's MININEC.");
        lines.push_back("Uniform segments of at most a wavelength / " + Number(segmentation_.Dm2) +
                        " at " + Number(mhz_) + " MHz.");
        for (const DeckNote& note : deck_.Notes) {
            lines.push_back(note.Comment);
        }
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string_view rest = lines[i];
            while (!rest.empty()) {
                std::size_t cut = rest.size();
                if (cut > kCommentWidth) {
                    cut = rest.rfind(' ', kCommentWidth);
                    if (cut == std::string_view::npos || cut == 0) {
                        cut = kCommentWidth;
                        // Never inside a character of several bytes.
                        while (cut > 0 && (static_cast<unsigned char>(rest[cut]) & 0xC0) == 0x80) {
                            --cut;
                        }
                    }
                }
                text += (i + 1 == lines.size() && cut >= rest.size() ? "CE " : "CM ");
                text.append(rest.substr(0, cut));
                text += '\n';
                rest.remove_prefix(
                    std::min(rest.size(), cut + (cut < rest.size() && rest[cut] == ' ')));
            }
        }
        return text;
    }

    const MaaModel& model_;
    const NecDeckChoices& choices_;
    MaaNecDeck& deck_;
    double mhz_ = 0.0;
    double wavelength_ = 0.0;
    MaaSegmentation segmentation_;
    int ground_ = 0;
    double height_ = 0.0;
    std::vector<PlacedPart> sources_;
    std::vector<PlacedPart> loads_;
    std::vector<int> segments_;
};

} // namespace

std::string NoteText(std::string_view pattern, const std::vector<std::string>& args) {
    std::string text(pattern);
    for (std::size_t i = args.size(); i-- > 0;) {
        const std::string mark = "%" + std::to_string(i + 1);
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + args[i].size())) {
            text.replace(at, mark.size(), args[i]);
        }
    }
    return text;
}

std::string NoteText(const DeckNote& note) {
    return NoteText(note.Pattern, note.Args);
}

bool WriteMaaNecDeck(const MaaModel& model, const NecDeckChoices& choices, MaaNecDeck& deck,
                     std::string& why) {
    MaaNecDeck result;
    try {
        DeckBuilder(model, choices, result).Build();
    } catch (const Refusal& refusal) {
        why = refusal.why;
        return false;
    }
    deck = std::move(result);
    return true;
}

} // namespace lobex
