#include "calcdoc/mesh_csv.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_state.h"
#include "calc/mesh_triangles.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/tyd_doc.h"
#include "calcdoc/wave_calc_command.h"
#include "core/calc_progress.h"
#include "core/numeric.h"
#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/large_memory.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <sys/stat.h>

#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <new>
#include <vector>

namespace wv {

namespace {

// The land marker of the input table; a cell at or above kLandLimit holds a depth.
constexpr float kTableLand = -9999.0f;
constexpr float kTableLandLimit = -9990.0f;

std::string CsvBase(const std::string& docPath) {
    const std::size_t slash = docPath.find_last_of('/');
    const std::size_t dot = docPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return docPath.substr(0, dot);
}

std::string CsvName(const std::string& docPath, const char* kind, int number) {
    const std::string base = CsvBase(docPath);
    return base.empty() ? std::string() : base + Sprintf("_%s%d.CSV", kind, number);
}

void Message(const std::string& text, const char* caption) {
    Ui().MessageBox(text, caption, MbButtons::Ok, MbIcon::Warning);
}

// Depths are held in floats. A value at or beyond this one rounds to a float infinity
// (the largest float plus half its last step); anything below rounds to a finite float,
// so the largest float, written out whole and summed digit by digit, still reads back.
const double kFloatRoundsToInfinity = std::ldexp(1.0, 128) - std::ldexp(1.0, 103);

bool FitsFloat(double v) { return std::fabs(v) < kFloatRoundsToInfinity; }

float ToFloat(double v) {
    return v > FLT_MAX ? FLT_MAX : v < -FLT_MAX ? -FLT_MAX : static_cast<float>(v);
}

// The spacing with as many decimals as it needs to read back as the same double (the
// shortest such text), at least one: a spacing that one decimal holds keeps the bytes it
// always had ("10.0", "12.3"), and 0.04 is no longer written "0.0".
std::string SpacingText(double spacing) {
    char buf[512];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, spacing, std::chars_format::fixed);
    if (r.ec != std::errc() || !std::isfinite(spacing)) return Sprintf("%.1f", spacing);
    std::string text(buf, r.ptr);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

// The text of the index-th number of a line as ParseNumberLine counts them: the fields
// between blanks and commas that hold a digit.
std::string_view NumberField(std::string_view line, int index) {
    std::size_t pos = 0;
    for (int k = 0; pos <= line.size();) {
        const std::size_t end = std::min(line.find_first_of(" ,", pos), line.size());
        const std::string_view field = line.substr(pos, end - pos);
        if (field.find_first_of("0123456789") != std::string_view::npos && k++ == index) return field;
        pos = end + 1;
    }
    return {};
}

// The header's spacing. ParseNumberLine sums the digits one by one and can land a step
// beside the double that the text names (0.3 reads 0.30000000000000004), so a spacing
// written with its shortest text would not come back as it was. A plain decimal field is
// therefore read correctly rounded; any other field (an exponent, a sign carried over
// from an empty field) keeps the digit-by-digit value.
double HeaderSpacing(const std::string& line, double summed) {
    const std::string_view field = NumberField(line, 2);
    std::size_t used = 0;
    const double exact = WinAtof(field, &used);
    if (used != field.size() || field.find_first_of("eE") != std::string_view::npos) return summed;
    return std::fabs(exact - summed) <= 1e-12 * std::fabs(summed) ? exact : summed;
}

// Writes the rows of one file: the header, then rows R-1 down to 0 with the columns
// [first, last]. `cell(node)` gives the value of a sea node; land is 0.000.
template <class Cell>
void WriteCsvFile(AtomicFile& file, const std::string& header, const CDigitalMap& mesh, int first, int last,
                  Cell cell) {
    file.Write(header);
    std::string line;
    for (int r = mesh.GetMeshCountY() - 1; r >= 0; --r) {
        line.clear();
        for (int c = first; c <= last; ++c) {
            const int node = mesh.GetNodeIndex(r, c);
            double v = node < 0 ? 0.0 : cell(mesh.GetAt(node));
            if (!(v >= 0.0)) v = 0.0;
            line += Sprintf(c < last ? "%.3f," : "%.3f\r\n", v);
        }
        if (!file.Write(line)) return;  // the set's commit reports it
    }
}

// Writes every file of a set under temporary names, then puts them in place together.
// On any failure the files already there stay as they were.
template <class Cell>
int WriteCsvSet(const CTydDocData& doc, const char* kind, const std::string& header, bool split,
                const char* failure, Cell cell) {
    const CDigitalMap& mesh = doc.m_mesh;
    const int columns = mesh.GetMeshCountX();
    const int count = split ? CsvFileCount(columns) : 1;
    if (CsvBase(doc.GetPathName()).empty() || columns < 1 || mesh.GetMeshCountY() < 1) {
        Message(failure, docmsg::kCsvOutCaption);
        return -1;
    }
    std::vector<std::string> names;
    for (int k = 1; k <= count; ++k) names.push_back(CsvName(doc.GetPathName(), kind, k));
    AtomicFileSet files(names);
    if (!files.Open(nullptr)) {
        Message(failure, docmsg::kCsvOutCaption);
        return -1;
    }
    for (int k = 1; k <= count; ++k) {
        const int first = split ? (k - 1) * kCsvColumnsPerFile : 0;
        const int last = split ? std::min(columns - 1, first + kCsvColumnsPerFile - 1) : columns - 1;
        WriteCsvFile(files.Member(static_cast<std::size_t>(k - 1)), header, mesh, first, last, cell);
    }
    if (!files.Commit(nullptr)) {
        Message(failure, docmsg::kCsvOutCaption);
        return -1;
    }
    return count;
}

// Asks whether to split a mesh wider than one file. -1 cancelled, else 1 split or 0 not.
int AskSplit(int columns) {
    if (columns <= kCsvColumnsPerFile) return 0;
    const int answer = Ui().MessageBox(docmsg::kSplitQuestion, docmsg::kConfirmCaption, MbButtons::YesNoCancel,
                                       MbIcon::Question);
    if (answer == IDCANCEL) return -1;
    return answer == IDYES ? 1 : 0;
}

// Reads one line whole (without its end), however long. False at the end of the file.
bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// The numbers of a line, at most `capacity` of them; -1 for an empty line.
int ParseLine(const std::string& line, std::vector<double>& values, std::vector<int>& ints, int capacity) {
    values.resize(static_cast<std::size_t>(capacity) + 1);
    ints.resize(static_cast<std::size_t>(capacity) + 1);
    return ParseNumberLine(line.c_str(), values.data(), ints.data(), capacity);
}

void DropMesh(CTydViewData& view) {
    ClearMeshData(view.GetDocument(), 1);
    ClearWaveResults(view);
}

}  // namespace

std::string MeshCsvFileName(const std::string& docPath, int number) { return CsvName(docPath, "M", number); }
std::string ResultCsvFileName(const std::string& docPath, int number) { return CsvName(docPath, "H", number); }

int CsvFileCount(int columns) { return columns < 1 ? 1 : (columns - 1) / kCsvColumnsPerFile + 1; }

int WriteMeshCsvFiles(const CTydDocData& doc, bool split) {
    const CDigitalMap& mesh = doc.m_mesh;
    const std::string header = Sprintf("%d,%d,", mesh.GetMeshCountX(), mesh.GetMeshCountY()) +
                               SpacingText(doc.m_calcArea.GetMeshSize()) + Sprintf(",%.2f\r\n", doc.m_info.m_dTide);
    const int written = WriteCsvSet(doc, "M", header, split, docmsg::kCannotOpenMeshFile, [](const CCalValue& v) {
        const double d = v.GetDepth();
        return d < 0.0001 ? 0.0 : d;
    });
    if (written < 0) return written;
    // The files of an older, longer set would be read with the new ones.
    for (int k = written + 1;; ++k) {
        const std::string old = MeshCsvFileName(doc.GetPathName(), k);
        if (!FileExists(old)) break;
        DeleteFileSilently(old);
    }
    return written;
}

int WriteResultCsvFiles(const CTydDocData& doc, double h0, bool split) {
    const CDigitalMap& mesh = doc.m_mesh;
    const int kind = doc.m_zmn.m_nValueType;
    const char* name = docmsg::kResultKindNames[kind >= 0 && kind <= 2 ? kind : 3];
    const std::string header = Sprintf("%d,%d,", mesh.GetMeshCountX(), mesh.GetMeshCountY()) +
                               SpacingText(doc.m_calcArea.GetMeshSize()) + "," + Utf8ToCp932(name) + "\r\n";
    return WriteCsvSet(doc, "H", header, split, docmsg::kCannotOpenResultFile,
                       [kind, h0](const CCalValue& v) { return v.GetValue(kind, h0); });
}

int OnMeshFileOut(CTydDocData& doc) {
    if (doc.m_info.m_nCalcState == kCalcNoMesh) return -1;
    const int split = AskSplit(doc.m_mesh.GetMeshCountX());
    if (split < 0) return -1;
    return WriteMeshCsvFiles(doc, split == 1);
}

int OnResultFileOut(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame) {
    const double h0 = doc.m_mesh.GetWaveHeight();
    if (LoadCalcResults(doc, view, frame) == -2) return -1;
    const int split = AskSplit(doc.m_mesh.GetMeshCountX());
    if (split < 0) return -1;
    return WriteResultCsvFiles(doc, h0, split == 1);
}

namespace {
int BuildReadMesh(CTydViewData& view, std::vector<float>& table, int columns, int rows, double spacing, int sea,
                  CCalcProgressDlg& progress, int barEnd);
int ReadMeshFiles(CTydViewData& view);
}  // namespace

int OnMeshFileIn(CTydViewData& view) {
    // While the files are read nothing of the document has changed; once the mesh is
    // built, the old one is put back by the build itself.
    try {
        return ReadMeshFiles(view);
    } catch (const std::bad_alloc&) {
        Message(docmsg::kMeshTooLargeForMemory, docmsg::kCsvInCaption);
        return -1;
    }
}

namespace {

int ReadMeshFiles(CTydViewData& view) {
    CTydDocData& doc = view.GetDocument();
    const std::string first = MeshCsvFileName(doc.GetPathName(), 1);
    std::ifstream in;
    if (!first.empty()) in.open(first, std::ios::binary);
    if (!in) {
        Message(docmsg::kCannotOpenMeshFile, docmsg::kCsvInCaption);
        return -1;
    }

    std::string line;
    std::vector<double> values;
    std::vector<int> ints;
    if (!ReadLine(in, line) || ParseLine(line, values, ints, 4) < 3) {
        Message(docmsg::kMeshHeaderMissing, docmsg::kCsvInCaption);
        return -1;
    }
    // Counts are read from the doubles: a count beyond int would read as INT_MIN.
    if (values[0] >= kCsvMaxCount + 1.0 || values[1] >= kCsvMaxCount + 1.0) {
        Message(docmsg::kMeshCountTooLarge, docmsg::kCsvInCaption);
        return -1;
    }
    const int columns = ints[0];
    const int rows = ints[1];
    const double spacing = HeaderSpacing(line, values[2]);
    if (columns <= 1 || rows <= 1) {
        Message(docmsg::kMeshCountTooSmall, docmsg::kCsvInCaption);
        return -1;
    }
    if (!(spacing >= 0.0001)) {
        Message(docmsg::kMeshSpacingTooSmall, docmsg::kCsvInCaption);
        return -1;
    }
    // Node positions are floats: the farthest one must be a number.
    if (!(static_cast<double>(std::max(columns, rows) - 1) * spacing <= FLT_MAX)) {
        Message(docmsg::kMeshSpacingTooLarge, docmsg::kCsvInCaption);
        return -1;
    }
    // Sea nodes are numbered with ints, whatever the machine could hold.
    if (static_cast<std::uint64_t>(columns) * static_cast<std::uint64_t>(rows) > INT_MAX ||
        MeshInputBytes(columns, rows) > MemoryRoom()) {
        Message(docmsg::kMeshTooLargeForMemory, docmsg::kCsvInCaption);
        return -1;
    }

    int files = 1;
    if (columns > kCsvColumnsPerFile) {
        const int n = ReadLine(in, line) ? ParseLine(line, values, ints, columns) : -1;
        if (n < kCsvColumnsPerFile) {
            Message(docmsg::kMeshSplitLineShort, docmsg::kCsvInCaption);
            return -1;
        }
        if (n == kCsvColumnsPerFile) files = CsvFileCount(columns);
    }
    in.close();

    std::vector<float> table;
    try {
        table.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), kTableLand);
    } catch (const std::bad_alloc&) {
        Message(docmsg::kMeshTooLargeForMemory, docmsg::kCsvInCaption);
        return -1;
    }

    auto progress = CreateCalcProgressDlg();
    progress->SetWindowText(docmsg::kMeshInputTitle);
    progress->m_bCancel = 0;
    const int barEnd = files * rows + rows;
    progress->SetRange32(0, barEnd);
    progress->SetPos(0);
    progress->SetStep(1);

    // A file of a split set holds its own 250 columns; an unsplit one every column.
    const int perLine = files > 1 ? kCsvColumnsPerFile : columns;
    bool cancelled = false;
    std::string refusal;  // why a value cannot be used; reading stops at the first
    for (int k = 1; k <= files && !cancelled && refusal.empty(); ++k) {
        const std::string name = MeshCsvFileName(doc.GetPathName(), k);
        std::ifstream part(name, std::ios::binary);
        if (!part) {
            progress->SetPos(files * rows);
            Message(docmsg::kCannotOpenMeshFile, docmsg::kCsvInCaption);
            break;
        }
        ReadLine(part, line);  // the header
        const int base = (k - 1) * kCsvColumnsPerFile;
        for (int r = rows - 1; r >= 0 && ReadLine(part, line); --r) {
            const int n = ParseLine(line, values, ints, perLine);
            for (int i = 0; i < n && base + i < columns; ++i) {
                const double v = values[static_cast<std::size_t>(i)];
                if (v >= 0.0001 && !FitsFloat(v)) {
                    // The header is line 1, row R-1 line 2.
                    refusal = Sprintf(docmsg::kMeshDepthTooLarge, FileNameOf(name).c_str(), rows - r + 1, i + 1);
                    break;
                }
                table[static_cast<std::size_t>(r) * columns + base + i] = v < 0.0001 ? kTableLand : ToFloat(v);
            }
            if (!refusal.empty()) break;
            if (progress->GetPos() < barEnd) progress->StepIt();
            progress->PumpMessages();
            if (progress->m_bCancel) {
                cancelled = true;
                break;
            }
        }
    }

    int sea = 0;
    for (float v : table) sea += v >= kTableLandLimit ? 1 : 0;
    if (cancelled || !refusal.empty() || sea == 0) {
        progress->DestroyWindow();
        if (!cancelled) Message(refusal.empty() ? std::string(docmsg::kMeshAllLand) : refusal, docmsg::kCsvInCaption);
        return -1;
    }

    // The old mesh is kept aside until the new one stands: memory that runs out on the
    // way (the measure above is a worst case of the mesh, not of the rest of the program)
    // leaves the document as it was.
    DerivedDataAside old(view);
    try {
        return BuildReadMesh(view, table, columns, rows, spacing, sea, *progress, barEnd);
    } catch (const std::bad_alloc&) {
        std::vector<float>().swap(table);
        old.PutBack();
        progress->DestroyWindow();
        view.RedrawAll();
        Message(docmsg::kMeshTooLargeForMemory, docmsg::kCsvInCaption);
        return -1;
    }
}

// The mesh from the table read in, then its triangulation, in place of the old one;
// results as OnMeshFileIn's.
int BuildReadMesh(CTydViewData& view, std::vector<float>& table, int columns, int rows, double spacing, int sea,
                  CCalcProgressDlg& progress, int barEnd) {
    CTydDocData& doc = view.GetDocument();
    bool cancelled = false;
    DropMesh(view);
    CDigitalMap& mesh = doc.m_mesh;
    mesh.SetMeshCountX(columns);
    mesh.SetMeshCountY(rows);
    mesh.AllocNodeIndex();
    mesh.SetMeshSize(spacing);
    mesh.SetBaseLevel(doc.m_info.m_dTide);
    mesh.SetCount(sea);
    mesh.AllocValues();
    mesh.AllocDepthFlag();
    mesh.AllocHeightFlag();
    mesh.AllocDirFlag();
    mesh.AllocVectorFlag();

    int next = 0;
    for (int r = 0; r < rows && !cancelled; ++r) {
        if (progress.GetPos() < barEnd) progress.StepIt();
        progress.PumpMessages();
        if (progress.m_bCancel) {
            cancelled = true;
            break;
        }
        for (int c = 0; c < columns; ++c) {
            mesh.SetNodeIndex(r, c, -1);
            const float v = table[static_cast<std::size_t>(r) * columns + c];
            if (v < kTableLandLimit) continue;
            CCalValue node;
            node.SetPos(static_cast<float>(c * spacing), static_cast<float>(r * spacing));
            node.SetDepth(v);
            mesh.SetAt(next, node);
            mesh.SetNodeIndex(r, c, next++);
        }
    }
    std::vector<float>().swap(table);

    if (cancelled) {
        DropMesh(view);
        progress.DestroyWindow();
        doc.SetModifiedFlag(true);
        return 1;
    }
    mesh.CalcDepthRange();
    progress.DestroyWindow();
    if (BuildMeshTriangles(view, 1) != 0) {
        DropMesh(view);
        doc.SetModifiedFlag(true);
        return 1;
    }
    doc.m_calcArea.SetMeshCountX(columns);
    doc.m_calcArea.SetMeshCountY(rows);
    doc.m_calcArea.SetMeshSize(spacing);
    doc.m_info.m_nCalcState = kCalcDepths;
    DeleteDecFile(doc);
    doc.SetModifiedFlag(true);
    return 0;
}

}  // namespace

}  // namespace wv
