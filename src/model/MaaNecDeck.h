#pragma once

#include "model/MaaModel.h"

#include <string>
#include <string_view>
#include <vector>

// An MMANA model written as a NEC-2 input deck, for nec2c.
//
// Segmentation. NEC-2 wants uniform segments on a wire; MMANA shortens them towards the ends.
// A wire with its own count (above 0) keeps it; any other gets ceil(length x DM2 / wavelength)
// segments, at least 1, so that none is longer than a wavelength / DM2 (the segments per
// wavelength of the model's segmentation line, 40 when the file has none). A wire with a source
// or load at its centre (c) gets an odd count, one more where needed, so that a segment sits on
// the centre. DM1, SC and EC only place offsets (below).
//
// Places. b is the wire's first segment, e its last, c the centre one. An offset counts MMANA's
// pulses from there (inwards from b and e, towards the second end for +, the first for -); a
// pulse lies where MMANA's own segmentation puts it: from an end, segments of wavelength / DM1
// growing SC times each up to wavelength / DM2, from the centre wavelength / DM2, on a wire
// with its own count length / count. The source or load takes the deck's segment holding that
// point.
//
// Sources are voltage sources (EX 0) of the file's volts at its phase. Loads: L/C/Q (µH, pF)
// as a series (one element) or parallel (L and C, a trap) RLC card, the coil's Q as a resistance
// at the model's frequency (ωL/Q in series, QωL across a trap); R+jX as a fixed impedance
// (LD 4); Laplace coefficients as their impedance at the model's frequency (LD 4).
//
// Ground: free space GE 0 without GN; perfect GE 1 / GN 1; real GE 1 / GN 2 of permittivity 13
// and conductivity 0.005 S/m (MMANA keeps its ground's figures in its settings, not in the
// model). Over a ground the environment's height is added to every Z. The deck computes the
// model's frequency and a sweep around it (FR) with a 5° pattern (RP: the whole sphere in free
// space, the upper half over a ground).
namespace lobex {

struct NecDeckChoices {
    // Half the sweep's width, in percent of the model's frequency; 0 for the frequency alone.
    double SweepPercent = 2.0;
    // Frequencies of the sweep, the model's own in the middle when the count is odd.
    int Steps = 11;
};

// Something of the model the deck holds only in part or not at all: said to the user (Pattern,
// Russian, "%1".. filled from Args) and in the deck's comment cards (Comment, English).
struct DeckNote {
    std::string_view Pattern;
    std::vector<std::string> Args;
    std::string Comment;
};

// The note's text with its arguments in place.
std::string NoteText(const DeckNote& note);
// The same for a pattern looked up in another language.
std::string NoteText(std::string_view pattern, const std::vector<std::string>& args);

struct MaaNecDeck {
    std::string Text;
    std::vector<DeckNote> Notes;
};

// Writes the deck. False, with the reason in why ("строка N: ..." where a line is to blame),
// when the model cannot be computed: no frequency, no source, a wire of no radius, a place on
// no wire or beyond its end, a load of an unknown kind, a wire under the ground.
bool WriteMaaNecDeck(const MaaModel& model, const NecDeckChoices& choices, MaaNecDeck& deck,
                     std::string& why);

} // namespace lobex
