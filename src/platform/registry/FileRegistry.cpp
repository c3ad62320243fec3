// The file-backed registry: whole-file reads, and writes through a temporary file in the same
// folder that is flushed and renamed over the old one, so a reader never sees half a file.
#include "platform/registry/FileRegistry.h"

#include "platform/files/BaseDirectories.h"
#include "platform/registry/Registry.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::registry {

namespace {

std::string describe(const std::string& what, const std::filesystem::path& path, int err) {
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

RegistryDocument FileRegistry::load() const {
    Fd fd(::open(file_.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno == ENOENT) return {};
        throw RegistryError(describe("Cannot read registry file", file_, errno),
                            ERROR_ACCESS_DENIED);
    }
    std::string text;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0)
            throw RegistryError(describe("Cannot read registry file", file_, errno),
                                ERROR_ACCESS_DENIED);
        if (n == 0) break;
        text.append(buf, static_cast<std::size_t>(n));
    }
    try {
        return RegistryDocument::parse(text);
    } catch (const RegistryError& e) {
        throw RegistryError(file_.string() + ": " + e.what(), e.status());
    }
}

void FileRegistry::update(const std::function<bool(RegistryDocument&)>& change) {
    const auto dir = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw RegistryError("Cannot create folder " + dir.string() + ": " + ec.message(),
                            ERROR_WRITE_FAULT);
    // The folder's lock serialises writers, so two programs never lose each other's change.
    Fd lock(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (lock.get() < 0)
        throw RegistryError(describe("Cannot open folder", dir, errno), ERROR_WRITE_FAULT);
    while (::flock(lock.get(), LOCK_EX) != 0)
        if (errno != EINTR)
            throw RegistryError(describe("Cannot lock folder", dir, errno), ERROR_WRITE_FAULT);
    RegistryDocument doc = load();
    if (!change(doc)) return;
    // The old file stays whole until the rename, so the folder itself is not flushed.
    replace(doc.serialize());
}

void FileRegistry::replace(const std::string& text) const {
    const auto dir = file_.has_parent_path() ? file_.parent_path() : std::filesystem::path(".");
    std::string pattern = (dir / ("." + file_.filename().string() + ".XXXXXX")).string();
    const int raw = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (raw < 0)
        throw RegistryError(describe("Cannot create a temporary file in", dir, errno),
                            ERROR_WRITE_FAULT);
    Fd fd(raw);
    auto fail = [&](const std::string& what, int err) {
        ::unlink(pattern.c_str());
        throw RegistryError(describe(what, file_, err), ERROR_WRITE_FAULT);
    };
    struct stat old {};
    if (::stat(file_.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("Cannot write registry file", errno);
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) fail("Cannot flush registry file", errno);
    if (::rename(pattern.c_str(), file_.c_str()) != 0) fail("Cannot replace registry file", errno);
}

long FileRegistry::write(const std::function<long(RegistryDocument&, bool&)>& change) {
    long status = ERROR_SUCCESS;
    try {
        lastError_.clear();
        update([&](RegistryDocument& doc) {
            bool changed = true;
            status = change(doc, changed);
            return status == ERROR_SUCCESS && changed;
        });
        return status;
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
        return load().hasKey(key);
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<RegValue> FileRegistry::QueryValue(const std::string& key, const std::string& name) {
    try {
        const RegistryDocument doc = load();
        if (const RegValue* v = doc.findValue(key, name)) return *v;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

long FileRegistry::SetValue(const std::string& key, const std::string& name,
                            const RegValue& value) {
    return write([&](RegistryDocument& doc, bool&) {
        if (!doc.hasKey(key)) {
            lastError_ = "Registry key not found: " + key;
            return ERROR_FILE_NOT_FOUND;
        }
        doc.setValue(key, name, value);
        return ERROR_SUCCESS;
    });
}

long FileRegistry::CreateKey(const std::string& key) {
    return write([&](RegistryDocument& doc, bool& changed) {
        changed = doc.findKey(key) == nullptr;
        doc.createKey(key);
        return ERROR_SUCCESS;
    });
}

long FileRegistry::DeleteValue(const std::string& key, const std::string& name) {
    return write([&](RegistryDocument& doc, bool&) {
        if (!doc.removeValue(key, name)) {
            lastError_ = "Registry value not found: " + key + " \"" + name + "\"";
            return ERROR_FILE_NOT_FOUND;
        }
        return ERROR_SUCCESS;
    });
}

long FileRegistry::DeleteKey(const std::string& key) {
    return write([&](RegistryDocument& doc, bool&) {
        if (!doc.removeKey(key)) {
            lastError_ = "Registry key not found: " + key;
            return ERROR_FILE_NOT_FOUND;
        }
        return ERROR_SUCCESS;
    });
}

} // namespace velmora::registry
