// The one way the engine talks to the user: message boxes (and later file dialogs) go
// through a service that the program installs. The Qt program installs a widget
// implementation; tests install a scripted one; with nothing installed the headless
// one prints to stderr and takes each question's default answer.
#pragma once

#include <deque>
#include <mutex>
#include <string>
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

class UiService {
public:
    virtual ~UiService() = default;
    // Text and caption are UTF-8. Returns one of MbAnswer.
    virtual int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                           MbIcon icon) = 0;
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
// every message. Thread-safe, so a solver thread can use it.
class ScriptedUi : public UiService {
public:
    void PushAnswer(int answer);
    int MessageBox(const std::string& text, const std::string& caption, MbButtons buttons,
                   MbIcon icon) override;
    std::vector<MessageRecord> Messages() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::deque<int> m_answers;
    std::vector<MessageRecord> m_log;
};

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
