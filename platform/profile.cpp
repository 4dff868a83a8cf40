#include "platform/profile.h"

#include "platform/text.h"

namespace wv {

int MemoryProfile::GetProfileInt(const std::string& section, const std::string& key, int defaultValue) const {
    auto it = m_values.find({section, key});
    if (it == m_values.end()) return defaultValue;
    return WinAtoi(it->second, nullptr);
}

void MemoryProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    m_values[{section, key}] = std::to_string(value);
}

std::string MemoryProfile::GetProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue) const {
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

void MemoryProfile::WriteProfileString(const std::string& section, const std::string& key, const std::string& value) {
    m_values[{section, key}] = value;
}

void MemoryProfile::RemoveProfileEntry(const std::string& section, const std::string& key) {
    m_values.erase({section, key});
}

bool MemoryProfile::Has(const std::string& section, const std::string& key) const {
    return m_values.count({section, key}) != 0;
}

}  // namespace wv
