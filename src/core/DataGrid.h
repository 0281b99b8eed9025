#pragma once

#include "LoadContext.h"
#include "Texts.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The data grid's logic: the rows the user sees, their order, the read-back of the shown numbers
// into the series, and the CSV export. The window only displays AppState::DataGrid.
namespace lobex {

// The empty grid's header, and the one the language pass gives it.
// Each caption is marked on its own, since the grid shows them one by one.
inline constexpr std::string_view kGridEmptyHeader = LOBEX_TEXT("Парам") "|R|j X|" LOBEX_TEXT(
    "КСВ") "|" LOBEX_TEXT("Усил") "|" LOBEX_TEXT("Впер/Назад") "|" LOBEX_TEXT("Зенит");
inline constexpr std::string_view kGridLanguageHeader = LOBEX_TEXT("Парам") "|R|j X|" LOBEX_TEXT(
    "КСВ") "|" LOBEX_TEXT("Усил") "|" LOBEX_TEXT("Впер/Наз") "|" LOBEX_TEXT("Зенит");
inline constexpr int kGridEmptyRows = 20;
// The grid counts its rows in 16 bits.
inline constexpr int kGridRowLimit = 32767;
// Every cell: at least one integer digit, two to five decimals, the user's decimal symbol.
inline constexpr std::string_view kGridCellPattern = "#0.00###";

// The empty grid: default header, 20 empty rows.
void ClearGrid(AppState& state);

// The header from text ("a|b|c"); the rows stay as they are.
void SetGridHeader(AppState& state, std::string_view text);

// Writes the series into the grid, one row per value, sorted by the first column; sets
// GridRowCount. False (grid unchanged) when there are more rows than the grid can count.
// pumpEvents runs during the sort.
bool FillGrid(AppState& state, const std::function<void()>& pumpEvents = {});

// Reads the shown cells back: DataText becomes the rows ("n<tab>1<tab>cells", CR LF between
// rows) and, for kinds 0, 1 and 6, the series are rebuilt from the cell texts.
bool GridToSeries(AppState& state);

// Where the selection goes when the user moves the grid's current row to `row`: below the last
// data row it snaps back to that row.
int SnapGridRow(const AppState& state, int row);

// Quicksort of row texts, ascending by the number before the first tab (the user's decimal
// symbol turned back into "."); not stable. pumpEvents runs once per partition step.
void SortRows(std::vector<std::string>& lines, int first, int last,
              std::string_view decimalSeparator, const std::function<void()>& pumpEvents = {});

// The data rows of the grid as block text: tab between cells, CR between rows.
std::string GridBlockText(const AppState& state);

// The CSV export: "No,Set," and the labels up to the first empty one; the body is DataText with
// every tab turned into "," and each cell's decimal symbol into ".", so that any CSV reader,
// this program's included, reads the numbers back whatever the locale.
std::string CsvHeader(const DataSet& data);
std::string CsvBody(const DataSet& data, std::string_view decimalSeparator);
// Writes the export to path (through a temporary file); SaveFileName becomes path.
bool ExportCsv(LoadContext& ctx, const std::string& path);
// The status line after an export.
std::string SavedStatus(std::string_view path);

} // namespace lobex
