#pragma once

class QWidget;

namespace parlomat {

/// Moves `window` (its frame included) to the centre of the primary screen's available area.
void CentreOnScreen(QWidget& window);

}  // namespace parlomat
