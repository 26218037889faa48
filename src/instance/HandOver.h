#pragma once

// What a later launch of the program hands the running one: the words to look up (or the
// selection), and what the desktop gave the launch to bring a window forward with. It
// travels as one frame: "TOVR", a version byte, the length of the rest (four bytes, most
// significant first), then fields of a tag byte, a length and the bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tovrin::instance {

struct Request
{
    std::string words;           // UTF-8, the arguments joined by single spaces
    int category = 0;            // 1 to 5 in the selector's order; 0 leaves it as it is
    bool selection = false;      // look up the text the user has selected
    std::string startupId;       // DESKTOP_STARTUP_ID of the launch (X11)
    std::string activationToken; // XDG_ACTIVATION_TOKEN of the launch (Wayland)
    friend bool operator==(const Request&, const Request&) = default;
};

inline constexpr std::size_t kMaxWordsBytes = 64 * 1024;
// Everything but the words is short; a frame longer than this is refused unread.
inline constexpr std::size_t kMaxFrameBytes = kMaxWordsBytes + 4096;
// The running program's answer: it has taken the request.
inline constexpr char kTaken = 'A';

std::string EncodeFrame(const Request& request);

// Takes a frame as its bytes arrive, and says when it is whole or can never be.
class FrameReader
{
public:
    enum class State { Incomplete, Complete, Invalid };

    State feed(std::string_view bytes);
    State state() const { return m_state; }
    const Request& request() const { return m_request; }
    // Why a frame was refused, for the log.
    const char* whyInvalid() const { return m_why; }

private:
    State invalid(const char* why);
    State parseFields();

    std::string m_bytes;
    State m_state = State::Incomplete;
    Request m_request;
    const char* m_why = "";
};

// Whether bytes are well-formed UTF-8: no stray continuation bytes, no overlong forms,
// no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

} // namespace tovrin::instance
