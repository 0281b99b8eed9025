#pragma once

#include "LoadResult.h"
#include "model/OptimisationTable.h"

#include <string>
#include <string_view>

// The parser of MMANA's result tables: the text copied from MMANA's window, or a table saved as
// a file. Header lines hold "Val" or "No,Set,Parameter,"; data lines hold a row number, a set
// number and seven values.
namespace lobex {

// Whether a text (MMANA's whole window text, or a file's first line) is an MMANA table.
bool IsMmanaTable(std::string_view text);

// A table's text: its header words and data lines. fromWindow: the text is MMANA's window's.
Parsed<OptimisationTable> ParseTable(std::string_view text, bool fromWindow);

// The load a table gives for set request.set (0 counts as 1), or every row when no row belongs
// to it: a file's table (DataKind 6) labelled by its header, the window's (DataKind 1) by
// MMANA's columns.
LoadResult DeriveLoad(const OptimisationTable& table, const LoadRequest& request);

// Parses a table's text into the result's DataText, HeaderWords, set list and Series, keeping the
// rows of `set` (0 counts as 1) or, when no row belongs to it, every row. False after adding its
// messages and status to the result.
bool ParseMmanaText(std::string_view text, int set, std::string_view decimalSeparator,
                    LoadResult& result);

// Turns DataText (rows split at CR) into Series 0..6 from the fields 2..8 of each row. With
// renumber, every row first gets the prefix "n<tab>1<tab>" and DataText becomes the rows joined
// by CR LF. Kinds 2 to 5 keep their series. False when a row cannot be split; a row with too
// few fields, or more rows than the grid can count, raises InputError. lines: the line of the
// text each row stood on, for the cause (rows count from 1 without them); refusal: the cause of
// a false.
bool RowsToSeries(DataSet& data, std::string_view decimalSeparator, bool renumber,
                  const std::vector<int>& lines = {}, Rejection* refusal = nullptr);

// The set list: every set 1..count with `set` selected when filtered, otherwise the one set
// `count` alone.
SetList FillSetList(double count, bool filtered, int set);

// The table-file reader (DataKind 6), on the decoded text: ParseTable, then DeriveLoad.
LoadResult ReadTable(std::string_view text, const LoadRequest& request);

} // namespace lobex
