#pragma once

#include "LoadResult.h"
#include "model/Sweep.h"

#include <string>
#include <string_view>

// Touchstone one-port files (.s1p) opened as a sweep, so that a network analyser's measurement
// is read like MMANA's own sweeps.
namespace lobex {

// Whether a file name ends in ".s1p", in any case: such files are opened by their name, since
// their first line may be any comment.
bool HasTouchstoneExtension(const std::string& path);

// A .s1p file's text as a measured sweep: R and jX from S11, the SWR against the file's own
// reference impedance, which the SWR column's header names as MMANA's sweeps do. A refusal
// says why, with the line it stopped at.
Parsed<Sweep> ParseTouchstone(std::string_view text);

// The Touchstone reader of the load flow (DataKind 3): ParseTouchstone, then DeriveLoad.
LoadResult ReadTouchstoneFile(std::string_view text, const LoadRequest& request);

} // namespace lobex
