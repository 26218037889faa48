#pragma once

#include <cstdint>
#include <deque>

namespace tovrin::browser {

// How many times something happened within the last minute: the dialogs a view has shown,
// the reloads of a page whose renderer ended.
class LastMinute
{
public:
    static constexpr std::int64_t kWindowMs = 60000;

    int count(std::int64_t nowMs);
    void add(std::int64_t atMs) { m_times.push_back(atMs); }

private:
    std::deque<std::int64_t> m_times;
};

} // namespace tovrin::browser
