// The per-user profile in an INI file: QSettings with the organisation "KTR Applications"
// and the application's title, so the sections and keys read as the registry's did
// ("Settings"/"VerCheckFlag", "Recent File List"/"File1", ...). Its folder follows
// $XDG_CONFIG_HOME.
#pragma once

#include "platform/profile.h"

#include <memory>
#include <string>

class QSettings;

namespace wv {

class QtProfile : public CProfile {
public:
    QtProfile(const std::string& organisation, const std::string& application);
    ~QtProfile() override;

    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue = {}) const override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;
    void RemoveProfileEntry(const std::string& section, const std::string& key) override;
    void Flush() override;

    std::string FileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace wv
