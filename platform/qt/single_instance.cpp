#include "platform/qt/single_instance.h"

#include <QDir>
#include <QLockFile>
#include <QString>

#include <cstdlib>

namespace wv {

SingleInstanceLock::SingleInstanceLock() = default;
SingleInstanceLock::~SingleInstanceLock() = default;

std::string SingleInstanceLock::LockFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime && QDir(QString::fromLocal8Bit(runtime)).exists())
        return std::string(runtime);
    return QDir::tempPath().toStdString();
}

bool SingleInstanceLock::TryLock(const std::string& programName) {
    if (m_lock && m_lock->isLocked()) return true;
    std::string folder = LockFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    m_path = folder + programName + ".lock";
    m_lock = std::make_unique<QLockFile>(QString::fromStdString(m_path));
    // The lock lives as long as the program runs, so its age says nothing: only a
    // holder that is no longer running makes it stale.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

bool SingleInstanceLock::IsLocked() const { return m_lock && m_lock->isLocked(); }

}  // namespace wv
