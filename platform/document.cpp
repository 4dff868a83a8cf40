#include "platform/document.h"

#include "platform/files.h"
#include "platform/ui_service.h"

#include <cstdint>
#include <exception>
#include <new>
#include <stdexcept>
#include <vector>

namespace wv {

namespace {

// Texts of the failure messages (UTF-8). The file name comes first, as the user needs
// to know which file is meant before why.
constexpr char kCannotOpen[] = "ファイルを開けません。";
constexpr char kCannotRead[] = "ファイルを読み込めません。ファイルが壊れているか、形式が違います。";
constexpr char kCannotSave[] = "ファイルに保存できません。";
constexpr char kNoMemory[] = "メモリーが足りないため、ファイルを読み込めません。";
constexpr char kDefaultCaption[] = "Wavora";

}  // namespace

std::string CDocument::GetTitle() const { return FileNameOf(m_strPathName); }

std::string CDocument::MessageCaption() const { return kDefaultCaption; }

void CDocument::ReportFailure(const std::string& text) {
    m_strLastError = text;
    Ui().MessageBox(text, MessageCaption(), MbButtons::Ok, MbIcon::Error);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    m_bModified = false;
    m_strLastError.clear();
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string err;
    if (!ReadWholeFile(path, bytes, &err)) {
        ReportFailure(path + "\n" + kCannotOpen + "\n(" + err + ")");
        return false;
    }
    if (bytes.empty()) {
        // A new document is created as an empty file and then opened.
        DeleteContents();
    } else {
        CArchive ar(std::move(bytes));
        try {
            Serialize(ar);
        } catch (const ArchiveError& e) {
            ReportFailure(path + "\n" + kCannotRead + "\n(" + e.what() + ")");
            return false;
        } catch (const std::bad_alloc&) {
            // Serialize loads into fresh objects and swaps them in last, so the document
            // is still whole: refuse the file instead of ending the program.
            ReportFailure(path + "\n" + kNoMemory);
            return false;
        } catch (const std::length_error&) {
            ReportFailure(path + "\n" + kNoMemory);
            return false;
        }
    }
    m_strPathName = path;
    m_bModified = false;
    m_strLastError.clear();
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path) {
    CArchive ar;
    try {
        Serialize(ar);
        ar.SaveToFile(path);
    } catch (const std::exception& e) {
        ReportFailure(path + "\n" + kCannotSave + "\n(" + e.what() + ")");
        return false;
    }
    m_strPathName = path;
    m_bModified = false;
    m_strLastError.clear();
    return true;
}

void CDocument::OnCloseDocument() {
    m_strPathName.clear();
    m_bModified = false;
}

}  // namespace wv
