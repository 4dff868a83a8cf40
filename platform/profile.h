// The per-user settings (the Windows program's registry profile): integers and strings
// by section and key. The program keeps them in an INI file through QSettings
// (platform/qt/qt_profile.h); tests use the one in memory.
#pragma once

#include <map>
#include <string>
#include <utility>

namespace wv {

class CProfile {
public:
    virtual ~CProfile() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const = 0;
    virtual void WriteProfileInt(const std::string& section, const std::string& key, int value) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue = {}) const = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    virtual void RemoveProfileEntry(const std::string& section, const std::string& key) = 0;
    // Writes what is pending to its store.
    virtual void Flush() {}
};

class MemoryProfile : public CProfile {
public:
    int GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const override;
    void WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue = {}) const override;
    void WriteProfileString(const std::string& section, const std::string& key, const std::string& value) override;
    void RemoveProfileEntry(const std::string& section, const std::string& key) override;
    bool Has(const std::string& section, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

}  // namespace wv
