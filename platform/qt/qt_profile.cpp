#include "platform/qt/qt_profile.h"

#include <QSettings>
#include <QString>

namespace wv {

namespace {
QString Key(const std::string& section, const std::string& key) {
    return QString::fromUtf8(section.c_str()) + QLatin1Char('/') + QString::fromUtf8(key.c_str());
}
}  // namespace

QtProfile::QtProfile(const std::string& organisation, const std::string& application)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QString::fromUtf8(organisation.c_str()),
                                             QString::fromUtf8(application.c_str()))) {}

QtProfile::~QtProfile() { m_settings->sync(); }

int QtProfile::GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const {
    bool ok = false;
    const int v = m_settings->value(Key(section, key), defaultValue).toInt(&ok);
    // A value that is no number reads as the default, as a missing one does.
    return ok ? v : defaultValue;
}

void QtProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    m_settings->setValue(Key(section, key), value);
}

std::string QtProfile::GetProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) const {
    return m_settings->value(Key(section, key), QString::fromUtf8(defaultValue.c_str())).toString().toUtf8().toStdString();
}

void QtProfile::WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    m_settings->setValue(Key(section, key), QString::fromUtf8(value.c_str()));
}

void QtProfile::RemoveProfileEntry(const std::string& section, const std::string& key) {
    m_settings->remove(Key(section, key));
}

void QtProfile::Flush() { m_settings->sync(); }

std::string QtProfile::FileName() const { return m_settings->fileName().toStdString(); }

}  // namespace wv
