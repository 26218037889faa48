#pragma once

#include <string>
#include <string_view>

namespace tovrin::maker {

// Where the maker's three pages come from: "http://HOST/gengxin/..." when a host is
// configured, otherwise the pages built into the program.
class MakerPages
{
public:
    explicit MakerPages(std::string host) : m_host(std::move(host)) {}

    std::string advertisementAddress() const;
    std::string instructionAddress() const;
    std::string updateAddress() const;

    bool builtIn() const { return m_host.empty(); }

private:
    std::string address(std::string_view path, std::string_view builtInPage) const;

    std::string m_host;
};

// The window caption: the program's name followed by the maker's number.
std::string WindowCaption(std::string_view makerNumber);

// The four lines of the notice box, joined by CR LF, with no break after the last.
std::string NoticeText(std::string_view makerNumber);

} // namespace tovrin::maker
