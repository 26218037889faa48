#include "instance/HandOver.h"
#include "instance/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace tovrin::instance;

namespace {

CommandLine Parse(const std::vector<std::string>& given)
{
    std::vector<std::string> args(given.size() + 1, std::string("tovrin"));
    std::copy(given.begin(), given.end(), args.begin() + 1);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), "1.2.3");
}

Request Words(std::string words, int category = 0, bool selection = false)
{
    Request request;
    request.words = std::move(words);
    request.category = category;
    request.selection = selection;
    return request;
}

} // namespace

// Each command line gives a request, or a message and a status; every request crosses to
// the running program intact, whole or fed byte by byte.
TEST(HandOver, CommandLinesAndTheirFrames)
{
    const struct
    {
        std::vector<std::string> args;
        std::optional<Request> request;
        int status;
        const char* messagePart;
    } cases[] = {
        {{}, Words(""), 0, ""},
        {{"apple"}, Words("apple"), 0, ""},
        {{"two", "words"}, Words("two words"), 0, ""},
        {{"词典", "查询"}, Words("词典 查询"), 0, ""},
        {{"--category", "4", "--", "-v", "x"}, Words("-v x", 4), 0, ""},
        {{"--selection"}, Words("", 0, true), 0, ""},
        {{std::string(kMaxWordsBytes, 'w')}, Words(std::string(kMaxWordsBytes, 'w')), 0, ""},
        {{std::string(kMaxWordsBytes, 'w'), "x"}, std::nullopt, 2, "longer than 64 KiB"},
        {{"--category", "6", "x"}, std::nullopt, 2, "1 to 5"},
        {{"--category", "two"}, std::nullopt, 2, "1 to 5"},
        {{"--selection", "x"}, std::nullopt, 2, "takes no words"},
        {{"--bogus"}, std::nullopt, 2, "bogus"},
        {{"\xff"}, std::nullopt, 2, "not valid UTF-8"},
        {{"a\xed\xa0\x80"}, std::nullopt, 2, "not valid UTF-8"}, // a lone surrogate
        {{"\xc0\xaf"}, std::nullopt, 2, "not valid UTF-8"},      // an overlong slash
        {{"--version"}, std::nullopt, 0, "tovrin 1.2.3"},
        {{"--help"}, std::nullopt, 0, "Usage: tovrin"},
    };
    for (const auto& c : cases) {
        const std::string line = c.args.empty() ? "(none)" : c.args.front().substr(0, 20);
        const CommandLine parsed = Parse(c.args);
        EXPECT_EQ(parsed.request, c.request) << line;
        EXPECT_EQ(parsed.exitStatus, c.status) << line;
        EXPECT_NE(parsed.message.find(c.messagePart), std::string::npos) << line << parsed.message;
        if (!parsed.request)
            continue;
        Request sent = *parsed.request;
        sent.startupId = "launcher-1_TIME42";
        sent.activationToken = "token";
        const std::string frame = EncodeFrame(sent);
        FrameReader whole, piecewise;
        EXPECT_EQ(whole.feed(frame), FrameReader::State::Complete) << line;
        EXPECT_EQ(whole.request(), sent) << line;
        for (std::size_t i = 0; i + 1 < frame.size(); ++i)
            ASSERT_EQ(piecewise.feed(frame.substr(i, 1)), FrameReader::State::Incomplete) << line;
        EXPECT_EQ(piecewise.feed(frame.substr(frame.size() - 1)), FrameReader::State::Complete);
        EXPECT_EQ(piecewise.request(), sent) << line;
    }
}

// What a stranger on the endpoint sends is refused as soon as it cannot be a request.
TEST(HandOver, FramesThatAreNoRequest)
{
    const std::string good = EncodeFrame(Words("x"));
    const auto length = [](std::uint32_t n) {
        return std::string{char(n >> 24), char(n >> 16 & 0xFF), char(n >> 8 & 0xFF),
                           char(n & 0xFF)};
    };
    const struct
    {
        std::string bytes;
        FrameReader::State state;
    } cases[] = {
        {"GET / HTTP/1.0\r\n", FrameReader::State::Invalid},
        {"TOV", FrameReader::State::Incomplete},
        {"TOVR\x02", FrameReader::State::Invalid},                         // a later version
        {good.substr(0, good.size() - 1), FrameReader::State::Incomplete}, // cut off
        {good + "x", FrameReader::State::Invalid},
        {"TOVR\x01" + length(1 << 20), FrameReader::State::Invalid}, // 1 MiB: refused unread
        {"TOVR\x01" + length(5) + "w" + length(9), FrameReader::State::Invalid},
        {"TOVR\x01" + length(6) + "c" + length(1) + "\x09", FrameReader::State::Invalid},
        {"TOVR\x01" + length(7) + "w" + length(2) + "\xc3\x28", FrameReader::State::Invalid},
        {"TOVR\x01" + length(5) + "z" + length(0), FrameReader::State::Complete}, // a later field
    };
    for (const auto& c : cases) {
        FrameReader reader;
        EXPECT_EQ(reader.feed(c.bytes), c.state) << c.bytes.substr(0, 12);
    }
}
