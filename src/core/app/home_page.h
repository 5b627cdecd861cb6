#pragma once
// The maker's home page, opened by the web label of the main window and by
// the logo and address of the About box.

#include "core/app/app_context.h"

#include <QUrl>
#include <QUrlQuery>

namespace mirandel {

inline const QString Maker_Home_Host = QStringLiteral("www.tarvik.com");

// https://www.tarvik.com/HOME/default.asp?frompg=CF51830
inline QUrl makerHomePageUrl()
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(Maker_Home_Host);
    url.setPath(QStringLiteral("/HOME/default.asp"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("frompg"), SW_Code);
    url.setQuery(query);
    return url;
}

} // namespace mirandel
