#include "viewer/output_commands.h"

#include "geoconv/meshgate.h"
#include "geoconv/qsona_record.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "viewer/area_qsona_writer.h"
#include "viewer/messages.h"

#include <exception>

namespace wv {

std::optional<int> FileEllipsoid(const CReliefscopeDoc& doc)
{
    const int first = doc.FirstPointRecord();
    if (first < 0) {
        return std::nullopt;
    }
    return ReadQsonaLine(doc.Line(first)).record->EllipsoidCode();
}

namespace {

class WaitCursor {
public:
    explicit WaitCursor(OutputPrompts& p) : m_p(p) { m_p.BeginWait(); }
    ~WaitCursor() { m_p.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    OutputPrompts& m_p;
};

// Writes atomically: a failed write leaves no partial file and an older file as it was.
OutputResult Save(const std::string& path, const std::string& bytes, const char* caption)
{
    std::string err;
    if (!AtomicWriteFile(path, bytes, &err)) {
        Ui().MessageBox(std::string(viewer_text::kFileOpenError) + "\n" + err, caption, MbButtons::Ok,
                        MbIcon::Error);
        return OutputResult::WriteFailed;
    }
    return OutputResult::Written;
}

}  // namespace

OutputResult OnOutputAreaFile(const CReliefscopeDoc& doc, OutputPrompts& prompts)
{
    if (!doc.Area().IsSet()) {
        Ui().MessageBox(viewer_text::kSetAreaFirst, viewer_text::kCaptionQsona, MbButtons::Ok, MbIcon::None);
        return OutputResult::NoArea;
    }
    const std::optional<std::string> path = prompts.AskSaveFile(SaveFileKind::Qsona);
    if (!path) {
        return OutputResult::Cancelled;
    }
    std::string bytes;
    WaitCursor wait(prompts);
    try {
        bytes = BuildAreaQsona(doc);
    } catch (const std::exception& e) {
        // A line number past the eight columns: nothing is written.
        Ui().MessageBox(std::string(viewer_text::kFileOpenError) + "\n" + *path + ": " + e.what(),
                        viewer_text::kCaptionQsona, MbButtons::Ok, MbIcon::Error);
        return OutputResult::WriteFailed;
    }
    return Save(*path, bytes, viewer_text::kCaptionQsona);
}

OutputResult OnOutput3dDxf(const CReliefscopeDoc& doc, OutputPrompts& prompts)
{
    if (!doc.Area().IsSet()) {
        Ui().MessageBox(viewer_text::kSetAreaFirst, viewer_text::kCaptionDxf, MbButtons::Ok, MbIcon::None);
        return OutputResult::NoArea;
    }
    // Checked before any question, so the user does not choose a file for nothing.
    const std::optional<int> ellipsoid = FileEllipsoid(doc);
    if (!ellipsoid) {
        Ui().MessageBox(viewer_text::kUnknownDatum, viewer_text::kCaptionDxf, MbButtons::Ok, MbIcon::Error);
        return OutputResult::UnknownDatum;
    }
    const std::optional<std::string> path = prompts.AskSaveFile(SaveFileKind::Dxf);
    if (!path) {
        return OutputResult::Cancelled;
    }
    CDxfOutputDlg dlg;
    dlg.m_nUnit = 0;
    dlg.m_nZoneIndex = 0;
    if (!prompts.AskDxfOptions(dlg) || !dlg.IsValid()) {
        return OutputResult::Cancelled;
    }
    WaitCursor wait(prompts);
    const std::string bytes = BuildDxf3d(doc, *ellipsoid, dlg.Zone(), dlg.Unit());
    return Save(*path, bytes, viewer_text::kCaptionDxfWrite);
}

}  // namespace wv
