// The UI service in its scripted form for the GUI suite: the engine's questions and file
// dialogs answered by rules (a part of the text or title and the answer), everything else
// with the question's default, and every question logged. Thread-safe: the solver's
// thread asks through it too.
#pragma once

#include "platform/ui_service.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace wv::gui {

class SuiteUi : public UiService {
public:
    // A message whose text or caption contains `part` gets `answer` (times: -1 any).
    void Answer(const std::string& part, int answer, int times = -1);
    // The same, with `before` done first, while the program waits for the answer.
    void AnswerAfter(const std::string& part, std::function<void()> before, int answer, int times = -1);
    // A file or folder dialog whose title contains `part` answers with what `choose`
    // returns for it ("" cancels).
    void AnswerFile(const std::string& part, std::function<std::string(const FileDialogOptions&)> choose,
                    int times = -1);
    void ClearRules();

    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) override;
    bool FileDialog(const FileDialogOptions& fileDialog, std::string& path) override;
    bool FolderDialog(const std::string& title, const std::string& initialFolder, std::string& folder) override;

    std::vector<MessageRecord> Messages() const;
    std::vector<FileDialogRecord> FileDialogs() const;
    // Whether a message with this part in its text or caption was shown.
    bool Saw(const std::string& part) const;
    std::size_t MessageCount() const;

private:
    struct BoxRule {
        std::string part;
        int answer;
        int times;
        std::function<void()> before;
    };
    struct FileRule {
        std::string part;
        std::function<std::string(const FileDialogOptions&)> choose;
        int times;
    };
    bool Choose(const FileDialogOptions& options, bool folder, std::string& out);

    mutable std::mutex m_mutex;
    std::vector<BoxRule> m_boxRules;
    std::vector<FileRule> m_fileRules;
    std::vector<MessageRecord> m_messages;
    std::vector<FileDialogRecord> m_files;
};

}  // namespace wv::gui
