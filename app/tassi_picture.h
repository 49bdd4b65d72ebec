// The picture on the left of the wizard (151 x 161): a strip of ECG paper with a trace and
// the recorder it comes from.
#pragma once

#include <QImage>

namespace pulvitra {

inline constexpr int kWizardPictureWidth = 151;
inline constexpr int kWizardPictureHeight = 161;

QImage wizard_picture();

}  // namespace pulvitra
