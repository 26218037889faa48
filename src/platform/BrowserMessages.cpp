#include "platform/BrowserMessages.h"

namespace tovrin::platform {

namespace {

// Long pastes are cut: the page only has to show what was meant.
constexpr qsizetype kShownChars = 300;

QString Page(const QString& title, const QString& body)
{
    return QStringLiteral("<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                          "<title>%1</title><style>body{font-family:\"Noto Sans CJK SC\","
                          "sans-serif;margin:24px;color:#222;line-height:1.6}"
                          "h1{font-size:18px;color:#000080}code{word-break:break-all;"
                          "background:#f4f4f4;padding:0 4px}</style></head><body>"
                          "<h1>%1</h1>%2</body></html>")
        .arg(title, body);
}

} // namespace

QString RefusedAddressPage(const QString& text)
{
    QString shown = text.left(kShownChars);
    if (text.size() > kShownChars)
        shown += QStringLiteral("…");
    return Page(QStringLiteral("这里只能打开网页地址"),
                QStringLiteral("<p>您输入的是：<code>%1</code></p>"
                               "<p>这里只能打开以 http:// 或 https:// 开头的网页地址，"
                               "例如 www.example.com。</p>")
                    .arg(shown.toHtmlEscaped()));
}

QString StoppedPage()
{
    return Page(QStringLiteral("网页停止了响应"),
                QStringLiteral("<p>这个网页多次意外停止，已不再重新载入。</p>"
                               "<p>请重新查询，或换一个网站。</p>"));
}

} // namespace tovrin::platform
