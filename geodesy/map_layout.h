#pragma once

// The window's layout as far as the map is concerned, in twips: the numbers the projection, the
// tick's defaults, the reference ring's start, the window and the session scripts of tools/ all
// work with. The scripts read this file, so each number stays a plain literal on a line of its
// own.
namespace orbida::geodesy {

// The main window's client area.
inline constexpr double kWindowWidth = 10140.0;
inline constexpr double kWindowHeight = 7605.0;

// The map control Carte, inside the window.
inline constexpr double kMapLeft = 240.0;
inline constexpr double kMapTop = 720.0;
inline constexpr double kMapWidth = 9630.0;
inline constexpr double kMapHeight = 4815.0;

// Where the measured point lies relative to the window and map origins: a fixed offset in twips,
// not derived from any border or caption size at run time.
inline constexpr double kPointerOffsetX = 90.0;
inline constexpr double kPointerOffsetY = 370.0;

// The reference ring Entoure before any home is chosen, in map twips.
inline constexpr double kEntoureStartLeft = 4760.0;
inline constexpr double kEntoureStartTop = 2360.0;

}  // namespace orbida::geodesy
