#include "browser/PagePolicy.h"

#include <algorithm>

namespace tovrin::browser {

AddressKind KindOf(std::string_view scheme, std::string_view host, std::string_view address,
                   const AddressRules& rules)
{
    if (scheme == "http" || scheme == "https")
        return host.empty() ? AddressKind::Other : AddressKind::Web;
    if (address == "about:blank")
        return AddressKind::Blank;
    if (scheme == "qrc") {
        const auto& pages = rules.builtInPages;
        return std::find(pages.begin(), pages.end(), address) != pages.end() ? AddressKind::BuiltIn
                                                                             : AddressKind::Other;
    }
    if (scheme == "mailto")
        return AddressKind::Mail;
    if (!rules.launchScheme.empty() && scheme == rules.launchScheme)
        return AddressKind::Launch;
    if (scheme == "data" || scheme == "blob" || scheme == "javascript" || address == "about:srcdoc")
        return AddressKind::Inline;
    return AddressKind::Other;
}

Verdict Decide(const PageRequest& request)
{
    using enum AddressKind;
    const AddressKind kind = request.kind;
    switch (request.origin) {
    case Origin::Navigate:
        return kind == Web || kind == Blank || kind == BuiltIn ? Verdict::Load : Verdict::Refuse;
    case Origin::PageMainFrame:
        if (kind == Web || kind == Blank)
            return Verdict::Load;
        // The engine hands a scheme over only on the user's gesture, except in the
        // contact control, whose page starts the messenger by itself.
        if (kind == Mail || (kind == Launch && request.role.launchesMessenger))
            return Verdict::HandToDesktop;
        return Verdict::Refuse;
    case Origin::PageSubframe:
        return kind == Web || kind == Blank || kind == Inline ? Verdict::Load : Verdict::Refuse;
    case Origin::NewWindow:
        if (request.userGesture && (kind == Web || kind == Mail))
            return Verdict::HandToDesktop;
        return Verdict::Refuse;
    }
    return Verdict::Refuse;
}

} // namespace tovrin::browser
