// The order in which list rows sort: an ICU collator, so that accented letters sort beside their
// base letters and Chinese names by their pinyin, with letter case ignored.
#pragma once

#include <unicode/uversion.h>

#include <memory>
#include <string_view>

U_NAMESPACE_BEGIN
class Collator;
U_NAMESPACE_END

namespace velmora::text {

class TextCollator {
  public:
    // Raises std::runtime_error when ICU has no collation data.
    TextCollator();
    ~TextCollator();
    TextCollator(TextCollator&&) noexcept;
    TextCollator& operator=(TextCollator&&) noexcept;

    // Negative, zero or positive as a sorts before, with or after b (UTF-8 texts). Texts that
    // differ only in letter case (or a vowel's tone mark) compare equal, so a stable sort keeps
    // them in their order.
    int compare(std::string_view a, std::string_view b) const;

  private:
    std::unique_ptr<icu::Collator> collator_;
};

} // namespace velmora::text
