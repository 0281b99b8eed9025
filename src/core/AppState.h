#pragma once

#include "GridTable.h"
#include "model/FarFieldPattern.h"
#include "model/Result.h"

#include <array>
#include <complex>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lobex {

// What the data set holds; written by the loader that succeeded last.
enum DataKindValue : std::int16_t {
    KindNone = 0,
    KindMmanaWindow = 1,
    KindNearField = 2,
    KindSweep = 3,
    KindCurrents = 4,
    KindFarField = 5,
    KindTable = 6,
};

// Index of the last column in use for a data kind: the grid and the curve lists show
// columns 0..LastColumnInUse(kind).
int LastColumnInUse(std::int16_t kind);

struct SeriesRecord {
    std::string Label;
    float Min = 0.0f;
    float Max = 0.0f;
    std::vector<float> Values{0.0f};
};

constexpr int kSeriesCount = 7;
constexpr int kSeriesUpperBound = kSeriesCount - 1;

struct DataSet {
    std::int16_t DataKind = KindNone;
    std::array<SeriesRecord, kSeriesCount> Series;
    std::string DataText;
    std::vector<std::string> HeaderWords;
    std::int16_t SelectedSetIndex = 0;
    std::int16_t GridRowCount = 0;
    // Curves worked out from the columns rather than read (the reflection at the chosen
    // reference impedance), columns kSeriesCount on; never in the grid or the CSV export.
    std::vector<SeriesRecord> Derived;
};

// Column `column`: a series, or one of the derived curves after them; null for none.
const SeriesRecord* SeriesOf(const DataSet& data, int column);

// The figures of the pattern on show, with what its diagrams were drawn on.
struct PatternResults : PatternFigures {
    float PlotFloor = -60.0f;
    float PlotRange = 0.0f;
    bool ElevationCutAvailable = false;
};

// One entry of the set / wire / elevation list (cmbParam): its text and its item data (the set or
// wire number, or the zenith index of an elevation).
struct SetListEntry {
    std::string text;
    int itemData = 0;
    friend bool operator==(const SetListEntry&, const SetListEntry&) = default;
};

// The set / wire / elevation list as the program filled it, and the entry selected (-1: none).
struct SetList {
    std::vector<SetListEntry> entries;
    int selected = -1;
    friend bool operator==(const SetList&, const SetList&) = default;
};

// Which window shows the pattern read-outs and receives polar plots.
enum class PlotHostKind : std::int8_t { None, MainWindow, PolarWindow };

// The float nearest to pi; the system's angle conversions use it rather than a double pi.
constexpr float kPiValue = 3.14159274f;

// The data on show and where it came from. Only a load that succeeded replaces it.
struct LoadedData {
    DataSet Data;
    SharedGrid FarField;
    PatternResults Pattern;
    // What the data grid shows; the grid read-back and the CSV export work from it.
    GridTable DataGrid;
    std::vector<NearFieldPoint> NearFieldPoints{NearFieldPoint{}};
    bool ElectricField = false;
    // The list the user chooses sets, wires or elevations from.
    SetList Sets;
    std::string CurrentFile;
    std::string LastSource;
    // The typed result the data on show was derived from.
    std::shared_ptr<const Result> Document;
    // What of it is drawn against compared results: the document itself, or of a NEC-2 output
    // the pattern or sweep on show. Derived once per load; redraws only read it.
    std::shared_ptr<const Result> Shown;
};

// Where the program keeps its files and the folders the user last chose.
struct ProgramPaths {
    std::string AppFolder;
    std::string TempFolder;
    std::string DataInFile;
    std::string TempModelFile;
    std::string ExportFile;
    std::string TempBitmapFile;
    std::string UtilsFolder;
    // Holds Help/ and Utils/: the program's folder in the build tree, share/lobex/ installed.
    std::string DataFolder;
    // The file the last save dialog chose.
    std::string SaveFileName;
    std::string SavePath;
    std::string DataPath;
    std::string DescPath;
};

// What of a NEC-2 output's frequency is shown.
enum class NecPart { Pattern, Sweep, Currents, NearField };

// How the data is shown: the source chosen, the set picked, the axes, the diagrams.
struct ViewFlags {
    std::int16_t SourceIndex = 0;
    bool SetChosen = false;
    std::string SelectedSetText;
    bool LogX = false;
    bool LogY = false;
    bool PatternShown = false;
    std::int16_t CutKind = 0;
    PlotHostKind PlotHost = PlotHostKind::None;
    bool View3DActive = false;
    // The 3D view sits in its own large window (frmD3D).
    bool D3DWindowOpen = false;
    // The reference impedance the user chose for SWR and reflection; none: the file's own.
    std::optional<std::complex<double>> ReferenceImpedance;
    // The SWR up to which a sweep's range counts as bandwidth.
    double SwrThreshold = 2.0;
    // Of a NEC-2 output: the frequency on show (MHz, 0 the first) and what of it.
    double NecFrequency = 0.0;
    NecPart NecShown = NecPart::Pattern;
};

// A result drawn against the one on show, under the name its legend gives it.
struct ComparedResult {
    std::string Label;
    std::shared_ptr<const Result> Document;
};

// The results the graphs draw against the one on show, in order, and how the polar diagrams
// put them on one scale: absolute dBi, or each to its own maximum ("Нормировать").
struct CompareView {
    std::string ShownLabel;
    std::vector<ComparedResult> Results;
    bool Normalise = false;
    // "Разность": the first compared far field less the one on show, as curves in place of the
    // polar diagrams and as the colours of the 3D surface.
    bool Difference = false;
};

// The one shared state of the program. main() owns one; tests build their own.
struct AppState {
    LoadedData Loaded;
    ProgramPaths Paths;
    ViewFlags View;
    CompareView Compare;
    std::string AppTitle = "Lobex";
    std::string DecimalSeparator = ".";
    float PiValue = kPiValue;
};

// Largest element, scanning from index 0; replaced only by a strictly greater element.
float SeriesMax(const std::vector<float>& values);
// Smallest element, scanning from index 1; replaced only by a strictly smaller element.
float SeriesMin(const std::vector<float>& values);

// Stores Max and then Min of series 0..last from their values.
void StoreSeriesLimits(DataSet& data, int last);

// Labels of series 0..6.
void SetLabels(DataSet& data, const std::array<const char*, kSeriesCount>& labels);
// The labels of series 0..6, as the grid heads its columns.
std::vector<std::string> SeriesLabels(const DataSet& data);

// The labels shown right after start-up, before anything is loaded.
void SetDefaultLabels(DataSet& data);

} // namespace lobex
