// Conversions of late-bound host values: text, number, flag and date, as a caller coerces them.
// A value that cannot be converted raises HostError naming the value, never a silent default.
#include "platform/host/DateText.h"
#include "platform/host/ObjectModel.h"
#include "platform/text/AsciiText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace velmora::host {

namespace {

[[noreturn]] void mismatch(const Variant& v, const char* wanted) {
    throw HostError("Type mismatch: \"" + variantText(v) + "\" is not " + wanted);
}

} // namespace

std::string variantText(const Variant& v) {
    struct Visitor {
        std::string operator()(std::monostate) const { return ""; }
        std::string operator()(bool b) const { return b ? "True" : "False"; }
        std::string operator()(long n) const { return std::to_string(n); }
        std::string operator()(double d) const {
            std::ostringstream out;
            out.precision(15);
            out << d;
            return out.str();
        }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(DateTime t) const { return isoDateText(t); }
    };
    return std::visit(Visitor{}, v);
}

std::string variantText(Variant&& v) {
    if (std::string* s = std::get_if<std::string>(&v)) return std::move(*s);
    return variantText(std::as_const(v));
}

long variantNumber(const Variant& v) {
    if (std::holds_alternative<std::monostate>(v)) return 0;
    if (const bool* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    if (const long* n = std::get_if<long>(&v)) return *n;
    if (const double* d = std::get_if<double>(&v)) {
        if (!std::isfinite(*d)) mismatch(v, "a number");
        return std::lround(*d);
    }
    if (const std::string* s = std::get_if<std::string>(&v)) {
        const std::string t(text::trim(*s));
        if (t.empty()) return 0;
        errno = 0;
        char* end = nullptr;
        const long n = std::strtol(t.c_str(), &end, 10);
        if (errno == 0 && end && *end == '\0') return n;
        const double d = std::strtod(t.c_str(), &end);
        if (end && *end == '\0' && std::isfinite(d)) return std::lround(d);
    }
    mismatch(v, "a number");
}

bool variantFlag(const Variant& v) {
    if (std::holds_alternative<std::monostate>(v)) return false;
    if (const bool* b = std::get_if<bool>(&v)) return *b;
    if (const long* n = std::get_if<long>(&v)) return *n != 0;
    if (const double* d = std::get_if<double>(&v)) return *d != 0.0;
    if (const std::string* s = std::get_if<std::string>(&v)) {
        const std::string t = text::lower(text::trim(*s));
        if (t == "true" || t == "yes" || t == "1" || t == "-1") return true;
        if (t == "false" || t == "no" || t == "0" || t.empty()) return false;
    }
    mismatch(v, "True or False");
}

DateTime variantDate(const Variant& v) {
    if (std::holds_alternative<std::monostate>(v)) return DateTime{};
    if (const DateTime* t = std::get_if<DateTime>(&v)) return *t;
    if (const std::string* s = std::get_if<std::string>(&v)) {
        if (auto iso = parseIsoDate(*s)) return *iso;
        if (auto f = parseFilterDate(*s)) return f->when;
    }
    mismatch(v, "a date (YYYY-MM-DD HH:MM:SS or MM/DD/YYYY HH:MM)");
}

} // namespace velmora::host
