// The installed programs started as a user starts them from a terminal: through their
// launchers, in a folder of the user's, the file named relative to that folder. Under a
// window manager, which gives each new window the keyboard.
#include "batch/batch_messages.h"
#include "platform/process.h"
#include "viewer/messages.h"

#include <QSettings>
#include <QWidget>

#include "gui/gui_driver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

QString U(const std::string& s) { return QString::fromStdString(s); }

// A launcher run with one file name, as a shell in `folder` runs it; stopped at the end.
class Launched {
public:
    Launched(const std::string& launcher, const std::string& folder, std::string name) {
        std::string arg0 = launcher;
        char* argv[] = {arg0.data(), name.data(), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        if (::posix_spawn(&m_pid, launcher.c_str(), &actions, nullptr, argv, environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Launched() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    // Whether, within 30 s and while the program runs, the window with this title holds
    // the keyboard.
    bool HasKeyboard(const QString& title) {
        for (int i = 0; i < 1500 && m_pid > 0; ++i) {
            if (XFocusTitle() == title) return true;
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) m_pid = -1;
            ::usleep(20000);
        }
        return false;
    }

private:
    pid_t m_pid = -1;
};

TEST(Launchers, ANameRelativeToTheUsersFolderOpensFromThere) {
    std::string why;
    ASSERT_TRUE(StartWindowManager(&why)) << why;
    PrepareScratchStart("");
    const std::string here = fs::current_path().string();
    const std::string bin = here + "/pre fix/bin/";
    ASSERT_EQ(RunProgramAndWait(WAVORA_CMAKE, {"cmake", "--install", WAVORA_BINARY_DIR, "--prefix", here + "/pre fix"},
                                "", &why),
              0)
        << why;
    ::setenv("XDG_DATA_HOME", (here + "/da ta").c_str(), 1);
    // The user's folder and files: blanks and Japanese, a name that begins with '-'.
    const std::string user = here + "/測量 データ";
    fs::create_directories(user);
    fs::copy_file(WAVORA_SOURCE_DIR "/examples/smallbay/SMALLBAY.DAT", user + "/-小湾 1.DAT");
    std::ofstream(user + "/湾 1.DEC", std::ios::binary) << "\"BAY1\"\r\n1\r\n1\r\n1 1\r\n1\r\n";
    QSettings viewerSettings(QSettings::IniFormat, QSettings::UserScope, U(viewer_text::kSettingsOrganisation),
                             U(viewer_text::kAppTitle));
    // An older start kept a bare name in the recent list.
    viewerSettings.setValue("Recent File List/File1", "OLD.DAT");
    viewerSettings.sync();

    {
        Launched viewer(bin + "reliefscope", user, "-小湾 1.DAT");
        EXPECT_TRUE(viewer.HasKeyboard(U(viewer_text::kAppTitle) + " - -小湾 1.DAT")) << XFocusTitle().toStdString();
    }
    viewerSettings.sync();
    EXPECT_EQ(viewerSettings.value("Recent File List/File1").toString(), U(user + "/-小湾 1.DAT"));
    EXPECT_EQ(viewerSettings.value("Recent File List/File2").toString(), U(user + "/OLD.DAT"));

    // The batch program queued the .DEC: clearing the queue asks first.
    Launched batch(bin + "tydchain", user, "湾 1.DEC");
    ASSERT_TRUE(batch.HasKeyboard(U(std::string(batchmsg::kDocTitle) + " - " + batchmsg::kAppTitle)))
        << XFocusTitle().toStdString();
    ASSERT_TRUE(XKeyToFocus(Qt::Key_F, Qt::AltModifier));
    ASSERT_TRUE(XKeyToFocus(Qt::Key_D));
    EXPECT_TRUE(batch.HasKeyboard(U(batchmsg::kConfirmCaption))) << XFocusTitle().toStdString();
}

}  // namespace
}  // namespace wv::gui
