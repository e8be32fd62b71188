#pragma once

#include <QString>

// The product's download page, as the program was built (the REELCRAFT_DOWNLOAD_URL cache
// value).
QString DefaultDownloadAddress();
