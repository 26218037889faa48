#include "browser/PagePolicy.h"
#include "browser/RendererRecovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tovrin::browser;

namespace {

struct Case
{
    const char* address;
    Origin origin;
    bool gesture;
    bool contact;
    Verdict expected;
};

constexpr auto Load = Verdict::Load;
constexpr auto Refuse = Verdict::Refuse;
constexpr auto Desktop = Verdict::HandToDesktop;
constexpr auto Nav = Origin::Navigate;
constexpr auto Main = Origin::PageMainFrame;
constexpr auto Frame = Origin::PageSubframe;
constexpr auto Window = Origin::NewWindow;

// The scheme and host as QUrl gives them: scheme in lower case, host after "//".
std::string SchemeOf(const std::string& a)
{
    const auto colon = a.find(':');
    return colon == std::string::npos ? "" : a.substr(0, colon);
}

std::string HostOf(const std::string& a)
{
    const auto start = a.find("://");
    if (start == std::string::npos)
        return "";
    const auto from = start + 3;
    return a.substr(from, a.find_first_of("/?#", from) - from);
}

} // namespace

// Typed text and catalogue sites both reach the control through Navigate; "typed" rows
// are what only a user would type.
TEST(PagePolicy, EveryDoorAndEveryScheme)
{
    const std::vector<Case> cases{
        // Navigate: the web, a blank page and the program's own pages load.
        {"http://dict.youdao.com/search?q=a", Nav, false, false, Load}, // catalogue
        {"https://www.example.com/", Nav, false, false, Load},          // typed
        {"about:blank", Nav, false, false, Load},                       // empty text
        {"qrc:/maker/instruction.html", Nav, false, false, Load},       // maker page
        {"qrc:/app/tovrin.png", Nav, false, false, Refuse},             // typed
        {"http://", Nav, false, false, Refuse},
        {"chrome://inducebrowsercrashforrealz", Nav, false, false, Refuse},
        {"about:gpu", Nav, false, false, Refuse},
        {"view-source:http://x.test/", Nav, false, false, Refuse},
        {"javascript:alert(1)", Nav, false, false, Refuse},
        {"file:///etc/passwd", Nav, false, false, Refuse},
        {"data:text/html,x", Nav, false, false, Refuse},
        {"mailto:a@b.test", Nav, false, false, Refuse},
        {"tencent://message/?uin=1", Nav, false, true, Refuse},
        {"foo:bar", Nav, false, false, Refuse},
        // A page moving its own view: web pages only; mail and, in the contact control,
        // the messenger's scheme go to the desktop.
        {"https://dict.youdao.com/w/a", Main, false, false, Load},
        {"about:blank", Main, false, false, Load},
        {"mailto:a@b.test", Main, false, false, Desktop},
        {"tencent://message/?uin=1", Main, false, true, Desktop},
        {"tencent://message/?uin=1", Main, false, false, Refuse},
        {"foo:bar", Main, false, false, Refuse},
        {"file:///etc/passwd", Main, false, false, Refuse},
        {"data:text/html,x", Main, false, false, Refuse},
        {"qrc:/maker/instruction.html", Main, false, false, Refuse},
        {"chrome://settings", Main, false, false, Refuse},
        // Frames may hold what pages make themselves, but open nothing outside.
        {"data:text/html,x", Frame, false, false, Load},
        {"about:srcdoc", Frame, false, false, Load},
        {"http://ads.test/frame", Frame, false, false, Load},
        {"mailto:a@b.test", Frame, false, false, Refuse},
        {"tencent://message/?uin=1", Frame, false, true, Refuse},
        {"file:///etc/passwd", Frame, false, false, Refuse},
        // New windows: only on the user's gesture, only the web and mail.
        {"http://popup.test/", Window, false, false, Refuse},
        {"http://popup.test/", Window, true, false, Desktop},
        {"https://popup.test/", Window, true, true, Desktop},
        {"mailto:a@b.test", Window, true, false, Desktop},
        {"mailto:a@b.test", Window, false, false, Refuse},
        {"foo:bar", Window, true, false, Refuse},
        {"tencent://message/?uin=1", Window, true, true, Refuse},
        {"file:///etc/passwd", Window, true, false, Refuse},
        {"about:blank", Window, true, false, Refuse},
    };
    AddressRules rules;
    rules.launchScheme = "tencent";
    rules.builtInPages = {"qrc:/maker/instruction.html", "qrc:/maker/ad.html"};
    for (const Case& c : cases) {
        const std::string a = c.address;
        const AddressKind kind = KindOf(SchemeOf(a), HostOf(a), a, rules);
        EXPECT_EQ(Decide({kind, c.origin, c.gesture, {.launchesMessenger = c.contact}}), c.expected)
            << a << " origin " << static_cast<int>(c.origin) << " gesture " << c.gesture
            << " contact " << c.contact;
    }
}

TEST(RendererRecovery, ReloadsThreeTimesAMinuteWithGrowingPauses)
{
    using Action = RendererRecovery::Action;
    RendererRecovery recovery;
    std::vector<std::pair<Action, int>> steps;
    for (std::int64_t t : {0, 1000, 3000, 9000}) {
        const auto step = recovery.onRendererEnded(t, false, true);
        steps.emplace_back(step.action, step.pauseMs);
    }
    const std::vector<std::pair<Action, int>> expected{{Action::Reload, 250},
                                                       {Action::Reload, 1000},
                                                       {Action::Reload, 4000},
                                                       {Action::ShowStopped, 0}};
    EXPECT_EQ(steps, expected);
    // A minute after the first reload, one more is allowed, with the longest pause.
    EXPECT_EQ(recovery.onRendererEnded(60250, false, true).action, Action::Reload);
    EXPECT_EQ(recovery.onRendererEnded(60300, false, true).action, Action::ShowStopped);

    RendererRecovery fresh;
    EXPECT_EQ(fresh.onRendererEnded(0, true, true).action, Action::ShowStopped); // a form's page
    EXPECT_EQ(fresh.onRendererEnded(0, false, false).action, Action::Leave);     // never started
    EXPECT_EQ(fresh.onRendererEnded(0, false, true).pauseMs, 250); // neither used a reload
}
