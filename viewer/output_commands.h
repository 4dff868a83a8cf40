// The two area outputs as commands: the checks, the questions to the user (a file name,
// the DXF options) and the atomic write, with every message through the UI service.
#pragma once

#include "viewer/dxf3d_writer.h"
#include "viewer/dxf_output_dlg.h"
#include "viewer/reliefscope_doc.h"

#include <optional>
#include <string>
#include <vector>

namespace wv {

enum class SaveFileKind {
    Qsona,  // no filter, no default extension
    Dxf,    // "Dxf Files (*.dxf)", default extension "dxf"
};

// The questions the output commands ask; the program asks with dialogs, tests script them.
class OutputPrompts {
public:
    virtual ~OutputPrompts() = default;
    // A file name to write, or none when the user cancels.
    virtual std::optional<std::string> AskSaveFile(SaveFileKind kind) = 0;
    // Shows the DXF dialog on `dlg`; false when the user cancels.
    virtual bool AskDxfOptions(CDxfOutputDlg& dlg) = 0;
    // The wait cursor while a file is written.
    virtual void BeginWait() {}
    virtual void EndWait() {}
};

// Outcome of a command, for the caller and for tests.
enum class OutputResult {
    Written,
    NoArea,
    UnknownDatum,
    Cancelled,
    WriteFailed,
};

// Menu "Q-SONAﾌｧｲﾙ(&B)...".
OutputResult OnOutputAreaFile(const CReliefscopeDoc& doc, OutputPrompts& prompts);
// Menu "3D DXFﾌｧｲﾙ(&D)...".
OutputResult OnOutput3dDxf(const CReliefscopeDoc& doc, OutputPrompts& prompts);

// The ellipsoid of the file (Meshgate code) from its first point record, if it names one.
std::optional<int> FileEllipsoid(const CReliefscopeDoc& doc);

}  // namespace wv
