// The one way the engine talks to the user: message boxes and the file and folder
// dialogs go through a service that the program installs. The Qt program installs a widget
// implementation; tests install a scripted one; with nothing installed the headless
// one prints to stderr and takes each question's default answer.
#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace wv {

enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MbIcon { None, Information, Warning, Error, Question };
// Numeric values of the answers are the Windows ones, so code that compares with
// IDOK/IDYES reads the same.
enum MbAnswer { IDOK = 1, IDCANCEL = 2, IDRETRY = 4, IDYES = 6, IDNO = 7 };

struct MessageRecord {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    MbButtons buttons;
    MbIcon icon;
    int answer;
};

// What a file dialog asks for. Texts are UTF-8. Each filter is a label and its patterns
// ("*.TIK"); patterns match names regardless of case, as the Windows dialogs did.
struct FileDialogOptions {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    std::string title;
    std::vector<std::pair<std::string, std::string>> filters;  // label, patterns
    std::string defaultExt;       // added to a name typed without one (no dot)
    std::string initialFolder;    // where the dialog starts; empty: the current folder
    std::string initialName;      // the name proposed
    bool overwritePrompt = false; // Save: ask before replacing a file
};

// One file or folder question as a test or a log sees it.
struct FileDialogRecord {
    FileDialogOptions fileDialog;
    bool folder = false;  // a folder browser (fileDialog.title and initialFolder only)
    std::string answer;   // empty: cancelled
};

class UiService {
public:
    virtual ~UiService() = default;
    // Text and caption are UTF-8. Returns one of MbAnswer.
    virtual int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                           MbIcon icon) = 0;
    // The chosen file's full path, or false when cancelled. Without a display there is
    // nobody to choose: cancelled.
    virtual bool FileDialog(const FileDialogOptions& fileDialog, std::string& path) { return false; }
    // The chosen folder, or false when cancelled.
    virtual bool FolderDialog(const std::string& title, const std::string& initialFolder,
                              std::string& folder) {
        return false;
    }
};

// Default answer of a question: OK, OK, Yes, Yes, Retry.
int DefaultAnswer(MbButtons buttons);

// Prints every message to stderr and answers with the default.
class HeadlessUi : public UiService {
public:
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                   MbIcon icon) override;
};

// For tests: answers from a queue (the default when the queue is empty) and records
// every message. Thread-safe, so a solver thread can use it. File and folder dialogs
// take their answers from a queue of their own (empty answer or none left: cancelled).
class ScriptedUi : public UiService {
public:
    void PushAnswer(int answer);
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                   MbIcon icon) override;
    std::vector<MessageRecord> Messages() const;
    void Clear();

    void PushFileAnswer(const std::string& path);
    bool FileDialog(const FileDialogOptions& fileDialog, std::string& path) override;
    bool FolderDialog(const std::string& title, const std::string& initialFolder,
                      std::string& folder) override;
    std::vector<FileDialogRecord> FileDialogs() const;

private:
    bool NextFileAnswer(FileDialogRecord record, std::string& out);

    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<MessageRecord> m_log;
    std::deque<std::string> m_fileAnswers;
    std::vector<FileDialogRecord> m_fileLog;
};

// Whether a file name matches a dialog pattern ("*.TIK", "*.*", "BAY?.TYD"), ignoring the
// case of ASCII letters. Several patterns may be given, separated by ';' or blanks.
bool MatchesFilePattern(const std::string& name, const std::string& patterns);

// The installed service (the headless one until something else is installed).
UiService& Ui();
// Installs a service for the whole process; nullptr goes back to the headless one.
// The caller keeps ownership.
void SetUi(UiService* service);

// Installs a service for the lifetime of a scope (tests).
class ScopedUi {
public:
    explicit ScopedUi(UiService* s);
    ~ScopedUi();
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;

private:
    UiService* m_prev;
};

}  // namespace wv
