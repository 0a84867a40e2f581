#include "catalogue/ModTable.h"

#include "common/Text.h"

namespace ballotine {

std::int32_t ModTable::FindModByTitle(std::string_view title) const {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (EqualsNoCase(records[i].title, title)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::int32_t ModTable::FindModByDir(std::string_view dir) const {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (EqualsNoCase(records[i].dir, dir)) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

} // namespace ballotine
