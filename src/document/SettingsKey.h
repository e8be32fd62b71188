#pragma once

#include <QLatin1String>

// The program's registry key under HKEY_CURRENT_USER and the values directly in it.
inline constexpr QLatin1String SettingsKey{"Software\\Tarnwick\\Quillon\\Reelcraft"};

// Folder of the last opened or saved project, with a trailing separator.
inline constexpr QLatin1String OpenFileDirectoryValue{"Open File Directory"};
// Folder of the last added pictures.
inline constexpr QLatin1String OpenDirectoryValue{"Open Directory"};
// Written at every start; read by nothing in this program.
inline constexpr QLatin1String PictureExtensionValue{"Picture Extension"};
inline constexpr QLatin1String PictureExtension{"*.gif;*.jpg"};
// Subkey of the recent-file list.
inline constexpr QLatin1String RecentFilesSection{"Recent Files"};
