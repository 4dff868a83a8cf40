// The project file .TIK through the project document. A refused file leaves the open
// project, its path and its modified flag as they were; a file that opens saves, and
// the saved file opens again and saves to the same bytes.
#include "fuzz_support.h"

#include "core/block.h"
#include "core/line.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "platform/ui_service.h"
#include "project/tik_archive.h"
#include "project/tik_doc.h"

namespace {

using namespace wv;

std::string OpenProjectBytes() {
    CArchive ar;
    WriteTikArchive(ar, g_tikInf, g_surveyPoints, g_lines, g_blocks, g_calcPoints);
    return std::string(ar.Bytes().begin(), ar.Bytes().end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& dir = fuzz::Scratch();
    fuzz::SilentUi().Clear();
    const std::string input = dir + "IN.TIK";
    fuzz::WriteFile(input, data, size);

    // An open, modified project of a few points and lines.
    ResetTikData();
    CTikDoc doc;
    const int a = g_surveyPoints.Add(10.0, 20.0, 0);
    const int b = g_surveyPoints.Add(30.0, -5.5, 0);
    g_lines.Add(10.0, 20.0, 30.0, -5.5, 0, 0, -3.0, kLineDepth, a, b);
    g_blocks.Add(1.0, 2.0);
    doc.SetPathName(dir + "BASE.TIK");
    doc.SetModifiedFlag(true);
    const std::string before = OpenProjectBytes();

    if (!doc.OnOpenDocument(input)) {
        fuzz::Check(OpenProjectBytes() == before, "a refused project file leaves the open project alone");
        fuzz::Check(doc.GetPathName() == dir + "BASE.TIK", "a refused project file leaves the path alone");
        fuzz::Check(doc.IsModified(), "a refused project file leaves the modified flag alone");
        fuzz::Check(!fuzz::SilentUi().Messages().empty(), "a refused project file is reported");
        return 0;
    }
    fuzz::Check(doc.OnSaveDocument(dir + "SAVED1.TIK"), "an opened project saves");
    const std::string first = fuzz::ReadFile(dir + "SAVED1.TIK");
    ResetTikData();
    CTikDoc again;
    fuzz::Check(again.OnOpenDocument(dir + "SAVED1.TIK"), "a saved project opens again");
    fuzz::Check(again.OnSaveDocument(dir + "SAVED2.TIK"), "a reopened project saves");
    fuzz::Check(fuzz::ReadFile(dir + "SAVED2.TIK") == first, "load, save, load, save gives the same bytes");
    return 0;
}
