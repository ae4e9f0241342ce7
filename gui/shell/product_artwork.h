// What the splash screen and the about box share: the program's version, the artwork they draw
// and where the version texts go on it.
#pragma once

#include <QImage>
#include <QString>

class QPainter;
class QWidget;

namespace ProductArtwork {

inline constexpr int kMajor = 3;
inline constexpr int kMinor = 2;
inline constexpr int kBuild = 0;
inline constexpr int kRevision = 4749;

inline constexpr char kBackgroundImage[] =
    ":/kolv_lite/Resources/Images/General/KolvLiteSplashAboutScreen.png";
inline constexpr char kMaskImage[] =
    ":/kolv_lite/Resources/Images/General/KolvLiteSplashAboutScreenMask.png";

inline constexpr char kVersionColour[] = "#da2c36";
inline constexpr char kRevisionColour[] = "#ffffff";
inline constexpr int kVersionPixelSize = 32;
inline constexpr int kRevisionPixelSize = 10;
inline constexpr int kVersionX = 193;
inline constexpr int kVersionFromBottom = 207;
inline constexpr int kRevisionX = 6;
inline constexpr int kRevisionFromBottom = 38;

// "3.2.0"
QString VersionText();
// "Revision: 4749"
QString RevisionText();
// Draws the two texts with their baselines at their places on a window of the given height.
void DrawVersionTexts(QPainter& painter, int height, const QString& version,
                      const QString& revision);
// Gives the widget the shape of the artwork's mask picture; nothing when it cannot be read.
void ApplyMask(QWidget* widget);

}  // namespace ProductArtwork
