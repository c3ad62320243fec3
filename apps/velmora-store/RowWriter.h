// Rows printed in the form the reader asked for: aligned columns for people, tab- or
// comma-separated lines or JSON for programs, each keeping NULL, '' and bytes apart.
#pragma once

#include "platform/ado/Value.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

enum class RowFormat { table, tsv, csv, json };

// The format by its name on the command line; nothing for a name that is none.
std::optional<RowFormat> rowFormatNamed(std::string_view name);

class RowWriter {
  public:
    RowWriter(std::ostream& out, RowFormat format, std::vector<std::string> columns);
    // tsv, csv and json print each row as it comes; a table waits for its last row to align.
    void row(const std::vector<ado::Value>& values);
    // Prints what is still held back: the whole table, or json's closing bracket.
    void finish();

  private:
    std::string cell(const ado::Value& value) const;
    void line(const std::vector<std::string>& cells);
    void printTable();

    std::ostream& out_;
    RowFormat format_;
    std::vector<std::string> columns_;
    std::size_t rows_ = 0;
    // The table's cells, with whether each column holds numbers only (aligned right).
    std::vector<std::vector<std::string>> held_;
    std::vector<bool> numeric_;
};

} // namespace velmora::app
