// The file-backed registry: whole-file reads, and writes through a temporary file in the same
// folder that is flushed and renamed over the old one, so a reader never sees half a file.
#include "platform/registry/FileRegistry.h"

#include "platform/files/BaseDirectories.h"
#include "platform/log/Log.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryReader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::registry {

namespace {

// errno's description, for a reason that the caller prefixes with the file.
std::string reason(const std::string& what, const std::filesystem::path& path, int err) {
    return what + " " + path.string() + ": " + std::strerror(err);
}

// A descriptor closed on every path out.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

} // namespace

FileRegistry::FileRegistry(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path FileRegistry::defaultPath() {
    if (const char* env = std::getenv("VELMORA_REGISTRY"); env && *env) return env;
    return files::configHome() / "velmora" / "registry";
}

std::string FileRegistry::readText() const {
    Fd fd(::open(file_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return {};
        throw RegistryError(std::strerror(errno), ERROR_ACCESS_DENIED);
    }
    std::string text;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw RegistryError(std::strerror(errno), ERROR_ACCESS_DENIED);
        if (n == 0) return text;
        text.append(buf, static_cast<std::size_t>(n));
    }
}

RegistryDocument FileRegistry::load() const {
    std::string text;
    try {
        text = readText();
    } catch (const RegistryError& e) {
        throw RegistryError("Cannot read registry file " + file_.string() + ": " + e.what(),
                            e.status());
    }
    ParsedRegistry read = parseRegistryText(text);
    if (!read.skipped.empty())
        log::warn(file_.string(),
                  describeSkipped(read.skipped) + "; " +
                      (read.skipped.size() == 1 ? "that line is" : "those lines are") +
                      " skipped and the other entries read");
    return std::move(read.document);
}

RegistryDocument FileRegistry::lookup() const {
    try {
        return load();
    } catch (const RegistryError& e) {
        // The add-in then goes on with its defaults; the log keeps why.
        log::warn("registry", std::string(e.what()) + "; it reads as a registry without keys");
        return {};
    }
}

void FileRegistry::update(const std::function<bool(RegistryDocument&)>& change) {
    try {
        const auto dir = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec)
            throw RegistryError("cannot create its folder " + dir.string() + ": " + ec.message(),
                                ERROR_WRITE_FAULT);
        // The folder's lock serialises writers, so two programs never lose each other's change.
        Fd lock(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (lock.get() < 0)
            throw RegistryError(reason("cannot open its folder", dir, errno), ERROR_WRITE_FAULT);
        while (::flock(lock.get(), LOCK_EX) != 0)
            if (errno != EINTR)
                throw RegistryError(reason("cannot lock its folder", dir, errno),
                                    ERROR_WRITE_FAULT);
        ParsedRegistry current = parseRegistryText(readText());
        // Rewriting would drop the lines that could not be read: the user fixes them first.
        if (!current.skipped.empty())
            throw RegistryError(describeSkipped(current.skipped) +
                                    " (the file is left as it is: correct or remove that line)",
                                ERROR_BADDB);
        if (!change(current.document)) return;
        // The old file stays whole until the rename, so the folder itself is not flushed.
        replace(current.document.serialize());
    } catch (const RegistryError& e) {
        throw RegistryError("Cannot change registry file " + file_.string() + ": " + e.what(),
                            e.status());
    }
}

void FileRegistry::replace(const std::string& text) const {
    const auto dir = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
    std::string pattern = (dir / ("." + file_.filename().string() + ".XXXXXX")).string();
    const int raw = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (raw < 0)
        throw RegistryError(reason("cannot create a temporary file in", dir, errno),
                            ERROR_WRITE_FAULT);
    Fd fd(raw);
    auto fail = [&](const std::string& what, int err) {
        ::unlink(pattern.c_str());
        throw RegistryError(what + ": " + std::strerror(err), ERROR_WRITE_FAULT);
    };
    struct stat old {};
    if (::stat(file_.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("cannot write it", errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) fail("cannot flush it", errno);
    if (::rename(pattern.c_str(), file_.c_str()) != 0) fail("cannot replace it", errno);
}

long FileRegistry::status(const std::function<void()>& write) {
    lastError_.clear();
    try {
        write();
        return ERROR_SUCCESS;
    } catch (const RegistryError& e) {
        lastError_ = e.what();
        return e.status();
    } catch (const std::exception& e) {
        lastError_ = e.what();
        return ERROR_WRITE_FAULT;
    }
}

bool FileRegistry::KeyExists(const std::string& key) {
    try {
        return lookup().hasKey(key);
    } catch (const RegistryError&) {
        return false; // a key path the file could not hold
    }
}

std::optional<RegValue> FileRegistry::QueryValue(const std::string& key, const std::string& name) {
    try {
        const RegistryDocument doc = lookup();
        if (const RegValue* v = doc.findValue(key, name)) return *v;
    } catch (const RegistryError&) {
    }
    return std::nullopt;
}

void FileRegistry::setValue(const std::string& key, const std::string& name,
                            const RegValue& value) {
    update([&](RegistryDocument& doc) {
        if (!doc.hasKey(key)) throw RegistryError("no key " + key, ERROR_FILE_NOT_FOUND);
        doc.setValue(key, name, value);
        return true;
    });
}

void FileRegistry::createKey(const std::string& key) {
    update([&](RegistryDocument& doc) {
        const bool added = doc.findKey(key) == nullptr;
        doc.createKey(key);
        return added;
    });
}

void FileRegistry::deleteValue(const std::string& key, const std::string& name) {
    update([&](RegistryDocument& doc) {
        if (!doc.removeValue(key, name))
            throw RegistryError("no value \"" + name + "\" under " + key, ERROR_FILE_NOT_FOUND);
        return true;
    });
}

void FileRegistry::deleteKey(const std::string& key) {
    update([&](RegistryDocument& doc) {
        if (!doc.removeKey(key)) throw RegistryError("no key " + key, ERROR_FILE_NOT_FOUND);
        return true;
    });
}

long FileRegistry::SetValue(const std::string& key, const std::string& name,
                            const RegValue& value) {
    return status([&] { setValue(key, name, value); });
}

long FileRegistry::CreateKey(const std::string& key) {
    return status([&] { createKey(key); });
}

long FileRegistry::DeleteValue(const std::string& key, const std::string& name) {
    return status([&] { deleteValue(key, name); });
}

long FileRegistry::DeleteKey(const std::string& key) {
    return status([&] { deleteKey(key); });
}

} // namespace velmora::registry
