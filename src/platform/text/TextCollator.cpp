// The list collator: ICU's Chinese tailoring at secondary strength, scripts in their common
// order. A failure to make it is raised; a failure to compare falls back to byte order.
#include "platform/text/TextCollator.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>

#include <stdexcept>
#include <string>

namespace velmora::text {

TextCollator::TextCollator() {
    // The add-in speaks English and Simplified Chinese: the Chinese tailoring orders Han names
    // by pinyin and leaves Latin letters, accented ones included, in the common order, so one
    // collator serves both languages.
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(icu::Collator::createInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status) || !collator_)
        throw std::runtime_error(std::string("No collator for list sorting: ") +
                                 u_errorName(status));
    // Secondary strength: letter case does not count, nor do the pinyin tone marks that the
    // Chinese tailoring puts on vowels ("É" ties with "E"); other accents do.
    collator_->setStrength(icu::Collator::SECONDARY);
    // Latin before Han, as in every other language's order; Han among itself by pinyin.
    const int32_t noReordering = UCOL_REORDER_CODE_NONE;
    collator_->setReorderCodes(&noReordering, 1, status);
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("No collator for list sorting: ") +
                                 u_errorName(status));
}

TextCollator::~TextCollator() = default;
TextCollator::TextCollator(TextCollator&&) noexcept = default;
TextCollator& TextCollator::operator=(TextCollator&&) noexcept = default;

int TextCollator::compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult order =
        collator_->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                               icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_FAILURE(status)) return a.compare(b);
    return order == UCOL_LESS ? -1 : (order == UCOL_GREATER ? 1 : 0);
}

} // namespace velmora::text
