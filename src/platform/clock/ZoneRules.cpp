// Reading TZif zone files (RFC 8536): the version 1 block, or the 64-bit block of version 2
// and later. Only the transition times and their offsets are kept.
#include "platform/clock/ZoneRules.h"

#include "platform/clock/Clock.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmora::timekeeping {

namespace {

class Reader {
  public:
    Reader(const std::string& bytes, std::string_view zone) : bytes_(bytes), zone_(zone) {}

    std::int64_t number(int width) {
        need(static_cast<std::size_t>(width));
        std::uint64_t v = 0;
        for (int i = 0; i < width; ++i)
            v = (v << 8) | static_cast<unsigned char>(bytes_[pos_++]);
        if (width == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        return static_cast<std::int64_t>(v);
    }
    std::uint8_t byte() {
        need(1);
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    void skip(std::size_t n) {
        need(n);
        pos_ += n;
    }
    std::string_view take(std::size_t n) {
        need(n);
        pos_ += n;
        return std::string_view(bytes_).substr(pos_ - n, n);
    }

  private:
    void need(std::size_t n) const {
        if (bytes_.size() - pos_ < n)
            throw ClockError("The time zone file of \"" + std::string(zone_) + "\" is cut short");
    }
    const std::string& bytes_;
    std::string_view zone_;
    std::size_t pos_ = 0;
};

struct Header {
    char version;
    std::size_t isut, isstd, leap, time, type, chars;
};

Header readHeader(Reader& in, std::string_view zone) {
    if (in.take(4) != "TZif") throw ClockError("\"" + std::string(zone) + "\" is no time zone");
    Header h{};
    h.version = static_cast<char>(in.byte());
    in.skip(15);
    h.isut = static_cast<std::size_t>(in.number(4));
    h.isstd = static_cast<std::size_t>(in.number(4));
    h.leap = static_cast<std::size_t>(in.number(4));
    h.time = static_cast<std::size_t>(in.number(4));
    h.type = static_cast<std::size_t>(in.number(4));
    h.chars = static_cast<std::size_t>(in.number(4));
    if (h.type == 0) throw ClockError("\"" + std::string(zone) + "\" has no offsets");
    return h;
}

std::size_t blockSize(const Header& h, std::size_t timeWidth) {
    return h.time * timeWidth + h.time + h.type * 6 + h.chars + h.leap * (timeWidth + 4) + h.isstd +
           h.isut;
}

bool validName(std::string_view name) {
    if (name.empty() || name.front() == '/') return false;
    for (const auto& part : std::filesystem::path(name))
        if (part == "..") return false;
    return true;
}

} // namespace

ZoneRules ZoneRules::load(std::string_view name) {
    if (!validName(name)) throw ClockError("Unknown time zone \"" + std::string(name) + "\"");
    const char* dir = std::getenv("TZDIR");
    const std::filesystem::path file =
        std::filesystem::path(dir && *dir ? dir : "/usr/share/zoneinfo") / name;
    std::ifstream in(file, std::ios::binary);
    if (!in || std::filesystem::is_directory(file))
        throw ClockError("Unknown time zone \"" + std::string(name) + "\"");
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return parse(bytes, name);
}

ZoneRules ZoneRules::parse(const std::string& bytes, std::string_view name) {
    Reader in(bytes, name);
    Header h = readHeader(in, name);
    std::size_t timeWidth = 4;
    if (h.version >= '2') {
        in.skip(blockSize(h, 4));
        h = readHeader(in, name);
        timeWidth = 8;
    }
    ZoneRules rules;
    rules.name_ = std::string(name);
    for (std::size_t i = 0; i < h.time; ++i)
        rules.transitions_.push_back(in.number(static_cast<int>(timeWidth)));
    for (std::size_t i = 0; i < h.time; ++i) {
        const std::uint8_t type = in.byte();
        if (type >= h.type) throw ClockError("\"" + rules.name_ + "\" names a missing offset");
        rules.typeOf_.push_back(type);
    }
    for (std::size_t i = 0; i < h.type; ++i) {
        rules.offsets_.push_back(static_cast<std::int32_t>(in.number(4)));
        in.skip(2);
    }
    return rules;
}

std::chrono::seconds ZoneRules::offsetAt(std::chrono::sys_seconds utc) const {
    const std::int64_t t = utc.time_since_epoch().count();
    const auto after = std::upper_bound(transitions_.begin(), transitions_.end(), t);
    // Before the first transition the first offset of the file applies.
    if (after == transitions_.begin()) return std::chrono::seconds{offsets_.front()};
    return std::chrono::seconds{offsets_[typeOf_[static_cast<std::size_t>(
        std::distance(transitions_.begin(), after) - 1)]]};
}

} // namespace velmora::timekeeping
