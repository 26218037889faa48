#include "browser/BrowserMessages.h"

namespace tovrin::browser {

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

QString SandboxMessage(bool runningAsRoot)
{
    const QString why =
        runningAsRoot
            ? QStringLiteral(
                  "Tovrin 正以 root（系统管理员）身份运行，浏览器引擎不允许这样启动它的安全沙箱。"
                  "请用普通用户帐户启动 Tovrin。")
            : QStringLiteral(
                  "这台电脑关闭了非特权用户命名空间（user namespaces），浏览器引擎的安全沙箱"
                  "需要它才能启动。请让管理员打开它（例如 sysctl "
                  "kernel.unprivileged_userns_clone=1），然后重新启动 Tovrin。");
    return QStringLiteral("<h3>网页无法显示：浏览器引擎的安全沙箱无法启动</h3><p>%1</p>"
                          "<p>为了您的安全，Tovrin 不会自行关闭沙箱，因此现在不显示任何网页。</p>")
        .arg(why);
}

QString SandboxLogLine(bool runningAsRoot)
{
    return QStringLiteral(
               "tovrin: the browser engine's sandbox cannot start (%1); no pages will be "
               "shown. Tovrin does not turn the sandbox off. 浏览器引擎的安全沙箱无法启动，"
               "不显示网页。")
        .arg(runningAsRoot ? QStringLiteral("running as root: start Tovrin as an ordinary user")
                           : QStringLiteral("unprivileged user namespaces are switched off"));
}

QString StoppedPage()
{
    return Page(QStringLiteral("网页停止了响应"),
                QStringLiteral("<p>这个网页多次意外停止，已不再重新载入。</p>"
                               "<p>请重新查询，或换一个网站。</p>"));
}

} // namespace tovrin::browser
