#include "mail/MailDefaults.h"

#ifndef REELCRAFT_DOWNLOAD_URL
#define REELCRAFT_DOWNLOAD_URL "https://www.tarnwick.example/reelcraft/"
#endif

QString DefaultDownloadAddress()
{
    return QStringLiteral(REELCRAFT_DOWNLOAD_URL);
}
