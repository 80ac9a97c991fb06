// The 3D view at the player's render scale and brightness. At render scale
// below 100 % the view is drawn into a smaller framebuffer of its own and
// enlarged onto the window in sharp blocks; brightness lifts its tones on
// the way. At 100 % and brightness 0 the view is drawn on the window and
// left exactly as drawn.
#pragma once

// Chooses where this frame's view is drawn, for a w x h window; *vw x *vh
// is the size to draw at.
void view_begin(int w, int h, int *vw, int *vh);
// Puts the view drawn since view_begin on the window.
void view_end(int w, int h);
