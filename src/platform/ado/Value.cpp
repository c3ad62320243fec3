// Conversions of link store field values: text, numbers, yes/no and the stored date-time form.
// Numbers may arrive as text and yes/no as 0/1, so every conversion accepts every kind.
#include "platform/ado/Value.h"
#include "platform/clock/CalendarText.h"
#include "platform/text/AsciiText.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace velmora::ado {

namespace {

std::int64_t roundedToInt(double v) {
    // Doubles at or beyond 2^63 do not fit; the check is done before rounding converts.
    constexpr double limit = 9223372036854775808.0;
    const double r = std::nearbyint(v);
    if (!std::isfinite(r) || r >= limit || r < -limit)
        throw std::runtime_error("Overflow: " + std::to_string(v) + " does not fit an integer");
    return static_cast<std::int64_t>(r);
}

// Whole text as an integer or a real; anything else (including trailing garbage) is no number.
bool parseInt(std::string_view s, std::int64_t& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool parseReal(std::string_view s, double& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

// The yes/no literals the store's statements use; they read as 1 and 0.
bool parseYesNo(std::string_view s, bool& out) {
    if (text::iequals(s, "true")) {
        out = true;
        return true;
    }
    if (text::iequals(s, "false")) {
        out = false;
        return true;
    }
    return false;
}

double textToDouble(const std::string& text) {
    const std::string_view s = text::trim(text);
    double d = 0;
    if (parseReal(s, d)) return d;
    bool b = false;
    if (parseYesNo(s, b)) return b ? 1.0 : 0.0;
    return 0.0;
}

std::int64_t textToInt(const std::string& text) {
    const std::string_view s = text::trim(text);
    std::int64_t i = 0;
    if (parseInt(s, i)) return i;
    double d = 0;
    if (parseReal(s, d)) return roundedToInt(d);
    bool b = false;
    if (parseYesNo(s, b)) return b ? 1 : 0;
    return 0;
}

bool textToBool(const std::string& text) {
    const std::string_view s = text::trim(text);
    bool b = false;
    if (parseYesNo(s, b)) return b;
    double d = 0;
    return parseReal(s, d) && d != 0.0;
}

// Reads 1 to `maxDigits` digits at pos; false when there is none.
bool readNumber(std::string_view s, std::size_t& pos, int maxDigits, int& out) {
    int digits = 0;
    out = 0;
    while (pos < s.size() && digits < maxDigits &&
           std::isdigit(static_cast<unsigned char>(s[pos]))) {
        out = out * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

bool expect(std::string_view s, std::size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

void Value::assignText(const char* text, std::size_t size) {
    if (auto* held = std::get_if<std::string>(&data_))
        held->assign(text, size);
    else
        data_ = std::string(text, size);
}

std::string Value::text() const {
    // Text is what readers ask for most; skip the visit for it.
    if (const auto* held = std::get_if<std::string>(&data_)) return *held;
    struct Visitor {
        std::string operator()(std::monostate) const { return ""; }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const {
            std::array<char, 32> buffer{};
            const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
            return ec == std::errc() ? std::string(buffer.data(), end) : std::to_string(v);
        }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(DateTime v) const { return timekeeping::isoDateTimeText(v); }
        std::string operator()(const Blob& v) const { return v.bytes; }
    };
    return std::visit(Visitor{}, data_);
}

std::int64_t Value::toInt() const {
    if (const auto* held = std::get_if<std::int64_t>(&data_)) return *held;
    struct Visitor {
        std::int64_t operator()(std::monostate) const { return 0; }
        std::int64_t operator()(bool v) const { return v ? 1 : 0; }
        std::int64_t operator()(std::int64_t v) const { return v; }
        std::int64_t operator()(double v) const { return roundedToInt(v); }
        std::int64_t operator()(const std::string& v) const { return textToInt(v); }
        std::int64_t operator()(DateTime v) const { return v.time_since_epoch().count(); }
        std::int64_t operator()(const Blob& v) const { return textToInt(v.bytes); }
    };
    return std::visit(Visitor{}, data_);
}

double Value::toDouble() const {
    struct Visitor {
        double operator()(std::monostate) const { return 0.0; }
        double operator()(bool v) const { return v ? 1.0 : 0.0; }
        double operator()(std::int64_t v) const { return static_cast<double>(v); }
        double operator()(double v) const { return v; }
        double operator()(const std::string& v) const { return textToDouble(v); }
        double operator()(DateTime v) const {
            return static_cast<double>(v.time_since_epoch().count());
        }
        double operator()(const Blob& v) const { return textToDouble(v.bytes); }
    };
    return std::visit(Visitor{}, data_);
}

bool Value::toBool() const {
    // Yes/no columns come back as integers.
    if (const auto* held = std::get_if<std::int64_t>(&data_)) return *held != 0;
    struct Visitor {
        bool operator()(std::monostate) const { return false; }
        bool operator()(bool v) const { return v; }
        bool operator()(std::int64_t v) const { return v != 0; }
        bool operator()(double v) const { return v != 0.0; }
        bool operator()(const std::string& v) const { return textToBool(v); }
        bool operator()(DateTime v) const { return v.time_since_epoch().count() != 0; }
        bool operator()(const Blob& v) const { return textToBool(v.bytes); }
    };
    return std::visit(Visitor{}, data_);
}

DateTime Value::toDate() const {
    if (const auto* t = std::get_if<DateTime>(&data_)) return *t;
    if (isNull()) throw std::runtime_error("Invalid use of Null: the field holds no date");
    DateTime out;
    if (const auto* s = std::get_if<std::string>(&data_)) {
        if (parseDateTime(*s, out)) return out;
        throw std::runtime_error("Type mismatch: '" + *s + "' is not a date");
    }
    throw std::runtime_error("Type mismatch: " + text() + " is not a date");
}

bool parseDateTime(const std::string& text, DateTime& out) {
    const std::string_view s = text::trim(text);
    std::size_t pos = 0;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0;
    if (!readNumber(s, pos, 4, y) || pos != 4 || !expect(s, pos, '-') ||
        !readNumber(s, pos, 2, mo) || !expect(s, pos, '-') || !readNumber(s, pos, 2, d))
        return false;
    if (pos < s.size()) {
        if (s[pos] != ' ' && s[pos] != 'T') return false;
        ++pos;
        if (!readNumber(s, pos, 2, h) || !expect(s, pos, ':') || !readNumber(s, pos, 2, mi))
            return false;
        if (expect(s, pos, ':') && !readNumber(s, pos, 2, sec)) return false;
        // Fractions of a second are dropped: the store keeps whole seconds.
        if (expect(s, pos, '.'))
            while (pos < s.size() && std::isdigit(static_cast<unsigned char>(s[pos])))
                ++pos;
        if (pos != s.size() || h > 23 || mi > 59 || sec > 59) return false;
    }
    const std::chrono::year_month_day ymd{std::chrono::year{y},
                                          std::chrono::month{static_cast<unsigned>(mo)},
                                          std::chrono::day{static_cast<unsigned>(d)}};
    if (!ymd.ok()) return false;
    out = std::chrono::sys_days{ymd} + std::chrono::hours{h} + std::chrono::minutes{mi} +
          std::chrono::seconds{sec};
    return true;
}

} // namespace velmora::ado
