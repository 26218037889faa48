#include "instance/HandOver.h"

#include <algorithm>

namespace tovrin::instance {

namespace {

constexpr std::string_view kMagic = "TOVR";
constexpr char kVersion = 1;
constexpr std::size_t kHeaderBytes = kMagic.size() + 1 + 4;

enum Tag : char {
    kWords = 'w',
    kCategory = 'c',
    kSelection = 's',
    kStartupId = 'x',
    kActivationToken = 'a',
};

void PutLength(std::string& out, std::size_t length)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((length >> shift) & 0xFF);
}

std::size_t GetLength(std::string_view bytes)
{
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i)
        length = (length << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    return length;
}

void PutField(std::string& out, Tag tag, std::string_view value)
{
    out += static_cast<char>(tag);
    PutLength(out, value.size());
    out += value;
}

} // namespace

std::string EncodeFrame(const Request& request)
{
    std::string fields;
    if (!request.words.empty())
        PutField(fields, kWords, request.words);
    if (request.category != 0)
        PutField(fields, kCategory, std::string(1, static_cast<char>(request.category)));
    if (request.selection)
        PutField(fields, kSelection, {});
    if (!request.startupId.empty())
        PutField(fields, kStartupId, request.startupId);
    if (!request.activationToken.empty())
        PutField(fields, kActivationToken, request.activationToken);
    std::string frame(kMagic);
    frame += kVersion;
    PutLength(frame, fields.size());
    return frame + fields;
}

FrameReader::State FrameReader::invalid(const char* why)
{
    m_why = why;
    m_bytes.clear();
    return m_state = State::Invalid;
}

FrameReader::State FrameReader::feed(std::string_view bytes)
{
    if (m_state != State::Incomplete)
        return m_state;
    m_bytes += bytes;
    const std::size_t magic = std::min(m_bytes.size(), kMagic.size());
    if (std::string_view(m_bytes).substr(0, magic) != kMagic.substr(0, magic))
        return invalid("not a frame of this program's");
    if (m_bytes.size() > kMagic.size() && m_bytes[kMagic.size()] != kVersion)
        return invalid("a version this program does not read");
    if (m_bytes.size() < kHeaderBytes)
        return m_state;
    const std::size_t length = GetLength(std::string_view(m_bytes).substr(kMagic.size() + 1));
    if (length > kMaxFrameBytes)
        return invalid("a frame too long to be a request");
    if (m_bytes.size() < kHeaderBytes + length)
        return m_state;
    if (m_bytes.size() > kHeaderBytes + length)
        return invalid("bytes after the frame");
    return parseFields();
}

FrameReader::State FrameReader::parseFields()
{
    std::string_view rest = std::string_view(m_bytes).substr(kHeaderBytes);
    Request request;
    while (!rest.empty()) {
        if (rest.size() < 5)
            return invalid("a field cut off");
        const char tag = rest[0];
        const std::size_t length = GetLength(rest.substr(1));
        if (rest.size() < 5 + length)
            return invalid("a field longer than its frame");
        const std::string_view value = rest.substr(5, length);
        rest.remove_prefix(5 + length);
        switch (tag) {
        case kWords:
            if (length > kMaxWordsBytes || !IsValidUtf8(value))
                return invalid("words too long or not UTF-8");
            request.words = value;
            break;
        case kCategory:
            if (length != 1 || value[0] < 1 || value[0] > 5)
                return invalid("no such category");
            request.category = value[0];
            break;
        case kSelection:
            request.selection = true;
            break;
        case kStartupId:
            request.startupId = value;
            break;
        case kActivationToken:
            request.activationToken = value;
            break;
        default: // a field of a later version: left alone
            break;
        }
    }
    m_request = std::move(request);
    m_bytes.clear();
    return m_state = State::Complete;
}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        char32_t cp = length == 1 ? char32_t{lead} : char32_t{lead} & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < least[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace tovrin::instance
