// Paints the calibration's distribution chart: a Custom control whose content is a
// settings::SensingChart. One bar per bucket on a square-root scale (so a short gap population
// stays visible beside a long label population), the two populations in the page's navy and cyan,
// the offered levels shaded and the proposed level as a red line.
#pragma once

#include "ui/control.h"

class QPainter;
class QRect;

namespace velmora::gui {

// False (nothing painted) when the control's content is not a sensing chart.
bool paintSensingChart(QPainter& p, const QRect& area, const ui::Control& control);

}  // namespace velmora::gui
