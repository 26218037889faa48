#include "lookup/KeyTable.h"

#include <algorithm>

namespace tovrin::lookup {

std::optional<SiteLookup> FunctionKeyLookup(int listIndex, int keyCode)
{
    const int n = keyCode - (kVkF1 - 1);
    for (const auto& row : kFunctionKeyRows) {
        if (static_cast<int>(row.category) == listIndex && n >= 1 && n <= row.lastKey)
            return SiteLookup{row.table, static_cast<std::int16_t>(n)};
    }
    return std::nullopt;
}

EnterRule EnterKeyRule(int listIndex)
{
    const auto found =
        std::find_if(kEnterRules.begin(), kEnterRules.end(),
                     [&](const EnterRule& r) { return static_cast<int>(r.category) == listIndex; });
    if (found == kEnterRules.end())
        return {static_cast<Category>(listIndex), EnterAction::Nothing, {}};
    return *found;
}

} // namespace tovrin::lookup
