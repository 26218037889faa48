#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tovrin::lookup {

// Every outside service the catalogue can open. Several catalogue entries share a host.
enum class Service : std::size_t {
    Contact,
    BaiduDictionary,
    GoogleHongKong,
    YoudaoDictionary,
    Iciba,
    DrEye,
    Haici,
    HujiangDictionary,
    JinqiaoDictionary,
    Cibo,
    Cambridge,
    Jukuu,
    CnkiDictionary,
    IcibaTranslation,
    YoudaoTranslation,
    YahooChinaTranslation,
    GoogleTranslate,
    MicrosoftTranslator,
    Jinqiao,
    Huajian,
    DaErDuoTranslation,
    Baidu,
    BingChina,
    YahooChinaSearch,
    Soso,
    Sogou,
    Ask,
    Youdao,
    SinaSearch,
    Zhongsou,
    Yiso,
    Qihoo,
    Gougou,
    Count
};

inline constexpr std::size_t kServiceCount = static_cast<std::size_t>(Service::Count);

struct ServiceHost
{
    Service service;
    std::string_view key; // the name a build override uses
    std::string_view host;
};

// The real host of each service. A build can override any of them (see HostTable).
inline constexpr std::array<ServiceHost, kServiceCount> kDefaultHosts{{
    {Service::Contact, "contact", "wpa.qq.com"},
    {Service::BaiduDictionary, "baidu-dict", "dict.baidu.com"},
    {Service::GoogleHongKong, "google-hk", "www.google.com.hk"},
    {Service::YoudaoDictionary, "youdao-dict", "dict.youdao.com"},
    {Service::Iciba, "iciba", "www.iciba.com"},
    {Service::DrEye, "dreye", "www.dreye.com.cn"},
    {Service::Haici, "haici", "dict.cn"},
    {Service::HujiangDictionary, "hujiang-dict", "dict.hjenglish.com"},
    {Service::JinqiaoDictionary, "jinqiao-dict", "dict.netat.net"},
    {Service::Cibo, "cibo", "www.cibo.cn"},
    {Service::Cambridge, "cambridge", "dictionary.cambridge.org"},
    {Service::Jukuu, "jukuu", "www.jukuu.com"},
    {Service::CnkiDictionary, "cnki-dict", "dict.cnki.net"},
    {Service::IcibaTranslation, "iciba-fy", "fy.iciba.com"},
    {Service::YoudaoTranslation, "youdao-fy", "fanyi.youdao.com"},
    {Service::YahooChinaTranslation, "yahoo-fy", "fanyi.cn.yahoo.com"},
    {Service::GoogleTranslate, "google-translate", "translate.google.com"},
    {Service::MicrosoftTranslator, "microsoft-translator", "www.microsofttranslator.com"},
    {Service::Jinqiao, "jinqiao", "www.netat.net"},
    {Service::Huajian, "huajian", "www.hjtrans.com"},
    {Service::DaErDuoTranslation, "daerduo-fy", "dict.bigear.cn"},
    {Service::Baidu, "baidu", "www.baidu.com"},
    {Service::BingChina, "bing-cn", "cn.bing.com"},
    {Service::YahooChinaSearch, "yahoo-search", "search.cn.yahoo.com"},
    {Service::Soso, "soso", "www.soso.com"},
    {Service::Sogou, "sogou", "www.sogou.com"},
    {Service::Ask, "ask", "www.ask.com"},
    {Service::Youdao, "youdao", "www.youdao.com"},
    {Service::SinaSearch, "sina-search", "search.sina.com.cn"},
    {Service::Zhongsou, "zhongsou", "p.zhongsou.com"},
    {Service::Yiso, "yiso", "www.yisou.com"},
    {Service::Qihoo, "qihoo", "www.qihoo.com"},
    {Service::Gougou, "gougou", "www.gougou.com"},
}};

// The hosts in force: the defaults with a build's overrides applied.
class HostTable
{
public:
    HostTable();

    // Applies "key=host;key=host". Returns false, and changes nothing, if a key is
    // unknown or a host is empty or not a plain host name (with an optional port).
    bool applyOverrides(std::string_view overrides);

    const std::string& host(Service service) const
    {
        return m_hosts[static_cast<std::size_t>(service)];
    }

private:
    std::array<std::string, kServiceCount> m_hosts;
};

// A plain host name or address with an optional port: what may follow "http://".
bool IsPlainHost(std::string_view host);

} // namespace tovrin::lookup
