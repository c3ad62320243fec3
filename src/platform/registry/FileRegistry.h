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

    // Reads never fail: a file that cannot be read reads as a registry without keys, and a
    // malformed line is skipped; either way each read writes one warning to the log.
    bool KeyExists(const std::string& key) override;
    std::optional<RegValue> QueryValue(const std::string& key, const std::string& name) override;
    // The writes below as the registry answers them: a result code, and lastError() then says
    // why. SetValue needs an existing key; CreateKey also makes the missing parents.
    long SetValue(const std::string& key, const std::string& name, const RegValue& value) override;
    long CreateKey(const std::string& key) override;
    long DeleteValue(const std::string& key, const std::string& name) override;
    long DeleteKey(const std::string& key);
    // The description of the last failed write, "" after a successful one.
    const std::string& lastError() const { return lastError_; }

    // The same writes for tools and scripts: each raises RegistryError with the description
    // and the result code. A missing key or value is ERROR_FILE_NOT_FOUND.
    void setValue(const std::string& key, const std::string& name, const RegValue& value);
    void createKey(const std::string& key);
    void deleteValue(const std::string& key, const std::string& name);
    // Removes the key with all keys below it.
    void deleteKey(const std::string& key);

    // The contents; a missing file is an empty registry, a malformed line is skipped with one
    // warning in the log naming the file and the first such line. Raises RegistryError when the
    // file cannot be read.
    RegistryDocument load() const;
    // Locked read-change-write: change answers whether it changed anything; only then is the
    // file replaced. Raises RegistryError ("Cannot change registry file ...") and leaves the
    // file as it was on any failure, a file with a malformed line included.
    void update(const std::function<bool(RegistryDocument&)>& change);

  private:
    // Raises RegistryError with errno's description; a missing file is empty.
    std::string readText() const;
    // What the add-in's reads see: an unreadable file, with a warning, is no keys.
    RegistryDocument lookup() const;
    long status(const std::function<void()>& write);
    void replace(const std::string& text) const;

    std::filesystem::path file_;
    std::string lastError_;
};

} // namespace velmora::registry
