#pragma once

// What a browser view may load, what may leave the program for another one, and what
// stays where it is. Plain rules over the address's scheme; the Qt side asks them at
// every door a page or the program can open.

#include "browser/BrowserRole.h"

#include <string>
#include <string_view>
#include <vector>

namespace tovrin::browser {

// What an address is, as far as the rules care.
enum class AddressKind {
    Web,     // http or https with a host
    Blank,   // about:blank
    BuiltIn, // one of the program's own pages
    Mail,    // mailto:
    Launch,  // the messenger's launch scheme, which the contact page hands over to
    Inline,  // content a page makes itself: data:, blob:, javascript:, about:srcdoc
    Other,   // engine pages, view-source:, file:, qrc: from outside, unknown schemes
};

// Who asks for the address.
enum class Origin {
    Navigate,      // the program: a typed address, a catalogue site, a maker page
    PageMainFrame, // a page moves its own view: a link, a script, a redirect, a form
    PageSubframe,  // a frame inside a page
    NewWindow,     // a page asks for a window of its own
};

enum class Verdict {
    Load,          // the view loads it
    Refuse,        // nothing is loaded and nothing leaves the program
    HandToDesktop, // the desktop's own program for the address opens it
};

struct PageRequest
{
    AddressKind kind;
    Origin origin;
    bool userGesture = false; // a click or key of the user's on the page asked for it
    BrowserRole role;         // the view's
};

Verdict Decide(const PageRequest& request);

struct AddressRules
{
    std::string launchScheme;              // the messenger's scheme, for the contact control
    std::vector<std::string> builtInPages; // the program's own pages, whole addresses
};

// Sorts an address by its scheme (lower case), its host and the whole address.
AddressKind KindOf(std::string_view scheme, std::string_view host, std::string_view address,
                   const AddressRules& rules);

} // namespace tovrin::browser
