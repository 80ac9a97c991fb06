// The journey map page drawn over the whole window: one texture tile per
// explored chunk, uploaded when its cells change, so a redraw is a quad a
// chunk whatever the zoom.
#pragma once

void draw_journey_map(int w, int h); // into the current GL frame, presenting nothing
