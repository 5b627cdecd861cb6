#pragma once
// UrlOpener: the one way the program opens a web page in the default browser.
// The program uses DesktopUrlOpener (QDesktopServices); tests use a fake that
// records the addresses, so no test starts a browser.

#include <QDesktopServices>
#include <QUrl>

namespace mirandel {

class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // Opens `url`; a failure is not reported.
    virtual void openUrl(const QUrl &url) = 0;
};

class DesktopUrlOpener : public UrlOpener {
public:
    void openUrl(const QUrl &url) override { QDesktopServices::openUrl(url); }
};

} // namespace mirandel
