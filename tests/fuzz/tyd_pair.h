// The calculation-document harnesses: one of the two archives comes from the fuzzer, the
// other is a good golden file. A refused pair leaves the open document exactly as it
// was; a pair that opens saves, and the saved pair opens again and saves to the same
// bytes.
#pragma once

#include "fuzz_support.h"

#include "calcdoc/tyd_doc.h"
#include "core/sansyutu.h"
#include "platform/files.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <cstdio>

namespace wv::fuzz {

// Both archives of the document as it would save them, with its path and flag.
inline std::string Snapshot(CTydDoc& doc) {
    const std::string path = doc.GetPathName();
    const bool modified = doc.IsModified();
    Check(doc.OnSaveDocument(Scratch() + "SNAP.TYD"), "the open calculation saves");
    const std::string s = ReadFile(Scratch() + "SNAP.TYD") + "|" + ReadFile(Scratch() + "SNAP.DPT") + "|" + path;
    doc.SetPathName(path);
    doc.SetModifiedFlag(modified);
    return s;
}

// The contour marks of an opened calculation come from its saved positions only, and
// each position marks at most the one segment it names.
inline void CheckMarksFromPositions(const CTydDoc& doc) {
    long long labels = 0, erased = 0, labelPositions = 0, erasedPositions = 0;
    const CContGroup& g = doc.m_contGroup;
    for (int i = 0; i < g.GetCount(); ++i)
        for (int j = 0; j < g.GetPointCount(i); ++j) {
            const CContPoint p = g.GetPoint(i, j);
            if (p.m_nLabel == 1) ++labels;
            if (p.m_nLine == 0) ++erased;
        }
    for (const CContHgtPos& set : doc.m_labelPos) labelPositions += std::max(0, set.GetCount());
    for (const CContHgtPos& set : doc.m_labelPos2) erasedPositions += std::max(0, set.GetCount());
    Check(labels <= labelPositions, "each label position marks at most one segment");
    Check(erased <= erasedPositions, "each erased position erases at most one segment");
}

// Opens <scratch>IN.TYD, whose archives the caller has written, and checks what a user
// relies on.
inline void CheckCalculationOpen() {
    const std::string& dir = Scratch();
    g_calcPoints.Reset();
    static bool copied = false;
    if (!copied) {
        WriteFile(dir + "GOOD.TYD", ReadFile(TestData("calcdoc/small_v12.TYD")));
        WriteFile(dir + "GOOD.DPT", ReadFile(TestData("calcdoc/small_v12.DPT")));
        copied = true;
    }
    CTydDoc doc;
    Check(doc.OnOpenDocument(dir + "GOOD.TYD"), "the golden calculation opens");
    doc.SetModifiedFlag(true);
    const std::string before = Snapshot(doc);
    SilentUi().Clear();

    if (!doc.OnOpenDocument(dir + "IN.TYD")) {
        Check(Snapshot(doc) == before, "a refused calculation file leaves the open document alone");
        Check(doc.IsModified(), "a refused calculation file leaves the modified flag alone");
        Check(!SilentUi().Messages().empty(), "a refused calculation file is reported");
        return;
    }
    CheckMarksFromPositions(doc);
    Check(doc.OnSaveDocument(dir + "SAVED1.TYD"), "an opened calculation saves");
    const std::string first = ReadFile(dir + "SAVED1.TYD") + "|" + ReadFile(dir + "SAVED1.DPT");
    CTydDoc again;
    SilentUi().Clear();
    const bool reopened = again.OnOpenDocument(dir + "SAVED1.TYD");
    if (!reopened && !SilentUi().Messages().empty())
        std::fprintf(stderr, "%s\n", SilentUi().Messages().back().text.c_str());
    Check(reopened, "a saved calculation opens again");
    Check(again.OnSaveDocument(dir + "SAVED2.TYD"), "a reopened calculation saves");
    Check(ReadFile(dir + "SAVED2.TYD") + "|" + ReadFile(dir + "SAVED2.DPT") == first,
          "load, save, load, save gives the same bytes");
}

}  // namespace wv::fuzz
