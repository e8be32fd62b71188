#pragma once

#include <QStringList>

#include <cstdio>

// The command-line tool's colour commands, on the colour picker's own code:
//   palette FILE [--sort luminance]      the 256 entries the grid shows, one R,G,B line each
//   spectrum SPECTRUM.png [GREYS.png]    the spectrum and grey strip pictures
//   nearest R,G,B PALETTE|--spectrum     the cell (column,row) or spectrum position (x,y)
//                                        the nearest-colour search selects, and its colour
// Each returns the exit status: 0 done, 1 a file could not be read or written, 2 usage.
namespace ReelcraftCli {

int RunPalette(const QStringList &arguments, std::FILE *out, std::FILE *err);
int RunSpectrum(const QStringList &arguments, std::FILE *out, std::FILE *err);
int RunNearest(const QStringList &arguments, std::FILE *out, std::FILE *err);

} // namespace ReelcraftCli
