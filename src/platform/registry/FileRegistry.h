// The per-user registry kept in one text file, re-read at every call so that other processes'
// changes show at once; every change replaces the file atomically under a directory lock.
#pragma once

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryDocument.h"

#include <filesystem>
#include <functional>
#include <string>

namespace velmora::registry {

class FileRegistry : public Registry {
  public:
    explicit FileRegistry(std::filesystem::path file);

    // VELMORA_REGISTRY when set and not empty, else $XDG_CONFIG_HOME/velmora/registry.
    static std::filesystem::path defaultPath();
    const std::filesystem::path& path() const { return file_; }

    // Reads never fail: an unreadable or malformed file reads as a registry without keys.
    bool KeyExists(const std::string& key) override;
    std::optional<RegValue> QueryValue(const std::string& key, const std::string& name) override;
    // Writes answer a result code and never touch a file they cannot parse; lastError() then
    // says why. SetValue needs an existing key; CreateKey also makes the missing parents.
    long SetValue(const std::string& key, const std::string& name, const RegValue& value) override;
    long CreateKey(const std::string& key) override;
    long DeleteValue(const std::string& key, const std::string& name) override;
    // Removes the key with all keys below it.
    long DeleteKey(const std::string& key);
    // The description of the last failed write, "" after a successful one.
    const std::string& lastError() const { return lastError_; }

    // For tools: the contents, raising RegistryError when the file cannot be read or parsed
    // (a missing file is an empty registry).
    RegistryDocument load() const;
    // Locked read-change-write: change answers whether it changed anything; only then is the
    // file replaced. Raises RegistryError and leaves the file as it was on any failure.
    void update(const std::function<bool(RegistryDocument&)>& change);

  private:
    // change answers a result code and may clear its flag when it left the contents alone.
    long write(const std::function<long(RegistryDocument&, bool&)>& change);
    void replace(const std::string& text) const;

    std::filesystem::path file_;
    std::string lastError_;
};

} // namespace velmora::registry
