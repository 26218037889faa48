#include "maker/MakerPages.h"

namespace tovrin::maker {

std::string MakerPages::address(std::string_view path, std::string_view builtInPage) const
{
    if (builtIn())
        return std::string("qrc:/maker/") + std::string(builtInPage);
    return "http://" + m_host + std::string(path);
}

std::string MakerPages::advertisementAddress() const
{
    return address("/gengxin/ad.php", "ad.html");
}

std::string MakerPages::instructionAddress() const
{
    return address("/gengxin/instruction.html", "instruction.html");
}

std::string MakerPages::updateAddress() const
{
    return address("/gengxin/cidiangengxin.html", "update.html");
}

std::string WindowCaption(std::string_view makerNumber)
{
    return "Tovrin" + std::string(makerNumber);
}

std::string NoticeText(std::string_view makerNumber)
{
    return "欢迎大家提出宝贵意见和建议\r\n"
           "共同促进本软件的发展\r\n"
           "更好地为大家服务\r\n"
           "QQ:" +
           std::string(makerNumber);
}

} // namespace tovrin::maker
