// A field value of the link store: null, yes/no, integer, real, text, bytes or date-time.
// Conversions follow the store's conventions: yes/no is 0 or non-zero, numbers may arrive as text.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <variant>

namespace velmora::ado {

// Local wall-clock time in seconds; stored as "YYYY-MM-DD HH:MM:SS" text.
using DateTime = std::chrono::sys_seconds;

// Bytes kept as they are (a blob), told apart from text so that a reader can show them as bytes.
struct Blob {
    std::string bytes;
    friend bool operator==(const Blob&, const Blob&) = default;
};

class Value {
  public:
    using Data =
        std::variant<std::monostate, bool, std::int64_t, double, std::string, DateTime, Blob>;

    Value() = default;
    Value(bool v) : data_(v) {}
    Value(int v) : data_(std::int64_t{v}) {}
    Value(long v) : data_(std::int64_t{v}) {}
    Value(long long v) : data_(std::int64_t{v}) {}
    Value(double v) : data_(v) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(const char* v) : data_(std::string(v)) {}
    Value(DateTime v) : data_(v) {}
    Value(Blob v) : data_(std::move(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool isBlob() const { return std::holds_alternative<Blob>(data_); }
    // Makes the value that text, reusing the text already held: row buffers refill cheaply.
    void assignText(const char* text, std::size_t size);
    void assignInt(std::int64_t v) { data_ = v; }
    const Data& data() const { return data_; }

    // Null reads as "" / 0 / false; text that is not a number reads as 0. A blob reads as its
    // bytes taken for text, as the engine itself converts one.
    std::string text() const;
    std::int64_t toInt() const;
    double toDouble() const;
    bool toBool() const;
    // Text in the stored date form is parsed; raises std::runtime_error when it is not a date.
    DateTime toDate() const;

    friend bool operator==(const Value& a, const Value& b) { return a.data_ == b.data_; }

  private:
    Data data_;
};

// Reads the stored form "YYYY-MM-DD HH:MM:SS", and a bare date.
bool parseDateTime(const std::string& s, DateTime& out);

} // namespace velmora::ado
