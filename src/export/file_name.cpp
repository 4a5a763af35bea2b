#include "export/file_name.h"

#include <algorithm>

namespace qb {

namespace {
bool ForbiddenEverywhere(char16_t c) { return c == u'/' || c == u'\\' || c == u'\0'; }

bool ForbiddenOnWindows(char16_t c) {
    return c < 0x20 || std::u16string_view(u":<>\"|?*").find(c) != std::u16string_view::npos;
}
}  // namespace

bool IsBadFileName(std::u16string_view name, NameRules rules) {
    if (name == u"." || name == u"..") {
        return true;
    }
    return std::any_of(name.begin(), name.end(), [rules](char16_t c) {
        return ForbiddenEverywhere(c) || (rules == NameRules::Windows && ForbiddenOnWindows(c));
    });
}

}  // namespace qb
