#pragma once

// Declared down here, defined up in the display: the layer rules refuse the call below it.
void Show();
